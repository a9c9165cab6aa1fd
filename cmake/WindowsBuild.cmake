# The saver, its Windows unit tests and its end-to-end scenarios, for one
# Windows build: 32-bit (i686) or 64-bit (x86_64) MinGW, by the toolchain file.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(VELTRANO_ARCH x64)
  set(VELTRANO_ARCH_SUFFIX "-x64")
  set(VELTRANO_DIST_DIR ${CMAKE_SOURCE_DIR}/dist/x64)
else()
  set(VELTRANO_ARCH x86)
  set(VELTRANO_ARCH_SUFFIX "")
  set(VELTRANO_DIST_DIR ${CMAKE_SOURCE_DIR}/dist)
endif()
add_compile_definitions(UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0600 WINVER=0x0600)
# SSE2 arithmetic so that 32-bit float results match the native build.
add_compile_options(-msse2 -mfpmath=sse -Wall -Wextra)
add_link_options(-static)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

find_library(MINGW_ZLIB NAMES libz.a z REQUIRED)
add_library(minizip STATIC ${MINIZIP_DIR}/unzip.c ${MINIZIP_DIR}/ioapi.c ${MINIZIP_DIR}/iowin32.c)
target_include_directories(minizip PUBLIC ${CMAKE_SOURCE_DIR}/third_party)
target_compile_options(minizip PRIVATE -w)
target_link_libraries(minizip PUBLIC ${MINGW_ZLIB})
add_library(spng STATIC ${SPNG_DIR}/spng.c)
target_compile_definitions(spng PUBLIC SPNG_STATIC)
target_compile_options(spng PRIVATE -w)
target_link_libraries(spng PUBLIC ${MINGW_ZLIB})

# libjpeg-turbo's static library (libjpeg API, SIMD), built by scripts/install-deps.sh.
set(JPEG_DIR ${CMAKE_SOURCE_DIR}/third_party/libjpeg-turbo/${CMAKE_SYSTEM_PROCESSOR})
if(NOT EXISTS ${JPEG_DIR}/lib/libjpeg.a)
  message(FATAL_ERROR "libjpeg-turbo missing: run scripts/install-deps.sh")
endif()
add_library(libjpeg STATIC IMPORTED)
set_target_properties(libjpeg PROPERTIES IMPORTED_LOCATION ${JPEG_DIR}/lib/libjpeg.a
                      INTERFACE_INCLUDE_DIRECTORIES ${JPEG_DIR}/include)

set(VELTRANO_SYSTEM_LIBS opengl32 glu32 gdiplus comdlg32 comctl32 ole32 oleaut32 uuid
    shell32 advapi32 gdi32 user32 kernel32)

add_library(veltrano_win STATIC ${VELTRANO_CORE_SOURCES} ${VELTRANO_WIN_SOURCES})
target_include_directories(veltrano_win PUBLIC ${VELTRANO_INCLUDE_DIRS})
target_link_libraries(veltrano_win PUBLIC minizip spng libjpeg ${VELTRANO_SYSTEM_LIBS})

add_executable(Veltrano WIN32 ${VELTRANO_ENTRY} ${CMAKE_SOURCE_DIR}/src/host/Veltrano.rc)
set_target_properties(Veltrano PROPERTIES SUFFIX ".scr")
target_link_libraries(Veltrano PRIVATE veltrano_win)
target_link_options(Veltrano PRIVATE -municode -s)
# The saver must run from a bare folder: only Windows system DLLs may be imported.
add_custom_command(TARGET Veltrano POST_BUILD
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-imports.sh ${CMAKE_OBJDUMP} $<TARGET_FILE:Veltrano>
  VERBATIM)

include(${CMAKE_SOURCE_DIR}/assets/Package.cmake OPTIONAL)

# dist/ (dist/x64/ for the 64-bit build): what a user copies into a folder to
# install the saver by hand.
add_custom_target(dist ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VELTRANO_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Veltrano> ${VELTRANO_DIST_FILES}
          ${VELTRANO_DIST_DIR}
  DEPENDS Veltrano ${VELTRANO_DIST_FILES}
  VERBATIM)
include(${CMAKE_SOURCE_DIR}/installer/Installer.cmake)

# GoogleTest from Debian's source tree, built with the same toolchain.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

set(VELTRANO_WINE_TEST_PROPERTIES RESOURCE_LOCK wine TIMEOUT ${VELTRANO_TEST_TIMEOUT})

add_executable(veltrano_win_tests ${VELTRANO_CORE_TESTS} ${VELTRANO_WIN_TESTS})
target_include_directories(veltrano_win_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
# psapi: the memory figures some tests read (kernel32 has them only from Windows 7 on).
target_link_libraries(veltrano_win_tests PRIVATE veltrano_win psapi GTest::gtest_main)
gtest_discover_tests(veltrano_win_tests
  TEST_PREFIX "windows."
  DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin
  PROPERTIES LABELS windows ${VELTRANO_WINE_TEST_PROPERTIES})

add_library(e2e_driver STATIC ${VELTRANO_E2E_DRIVER})
target_include_directories(e2e_driver PUBLIC ${CMAKE_SOURCE_DIR}/tests ${VELTRANO_INCLUDE_DIRS})
target_link_libraries(e2e_driver PUBLIC GTest::gtest user32 gdi32 advapi32 shell32 kernel32)

add_executable(veltrano_e2e ${VELTRANO_E2E_SOURCES})
target_link_libraries(veltrano_e2e PRIVATE e2e_driver GTest::gtest_main ${MINGW_ZLIB})
add_dependencies(veltrano_e2e Veltrano dist)
gtest_discover_tests(veltrano_e2e
  TEST_PREFIX "e2e."
  DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin
  PROPERTIES LABELS e2e ${VELTRANO_WINE_TEST_PROPERTIES})
# The dialog's scenario once more at 144 DPI (a display at 150 %). Wine reads
# the DPI as the prefix's server starts: the script starts it again at 144 for
# this run alone and puts the prefix back at its DPI after it.
add_test(NAME e2e.DialogDpi.At144Dpi
  COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/at-dpi.sh 144 ${VELTRANO_ARCH}
          $<TARGET_FILE:veltrano_e2e> --gtest_filter=DialogDpi.*
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set_tests_properties(e2e.DialogDpi.At144Dpi PROPERTIES LABELS e2e ${VELTRANO_WINE_TEST_PROPERTIES})

# Scenarios on several monitors: each suite runs on the heads named here
# ("WxH+X+Y", left to right), on an Xvfb of their size where Wine takes them
# from a stand-in libXinerama.so.1 (scripts/monitors-exec.sh); the other
# scenarios keep their one screen.
add_executable(veltrano_e2e_monitors ${VELTRANO_E2E_MONITOR_SOURCES})
target_link_libraries(veltrano_e2e_monitors PRIVATE e2e_driver GTest::gtest_main)
add_dependencies(veltrano_e2e_monitors Veltrano dist)
set_target_properties(veltrano_e2e_monitors PROPERTIES
  CROSSCOMPILING_EMULATOR "${CMAKE_SOURCE_DIR}/scripts/monitors-exec.sh;${VELTRANO_ARCH}")
foreach(layout
    "TwoEqualMonitors=1280x1024+0+0,1280x1024+1280+0"
    "MixedMonitors=1920x1080+0+0,1280x1024+1920+0"
    "OneMonitor=1024x768+0+0")
  string(REPLACE "=" ";" layout "${layout}")
  list(GET layout 0 suite)
  list(GET layout 1 heads)
  gtest_discover_tests(veltrano_e2e_monitors
    TEST_PREFIX "e2e."
    TEST_FILTER "${suite}.*"
    DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin
    PROPERTIES LABELS e2e ENVIRONMENT "VELTRANO_HEADS=${heads}" ${VELTRANO_WINE_TEST_PROPERTIES})
endforeach()

file(GLOB VELTRANO_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_win.cpp)
foreach(src IN LISTS VELTRANO_BENCH_SOURCES)
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} EXCLUDE_FROM_ALL ${src})
  # psapi: the saver benchmark reads the saver's peak working set.
  target_link_libraries(${name} PRIVATE veltrano_win e2e_driver psapi)
endforeach()
include(${CMAKE_SOURCE_DIR}/tests/e2e/standins/StandIns.cmake)

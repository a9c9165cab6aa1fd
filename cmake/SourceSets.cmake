# Source sets found by name, so a new file joins its build without editing CMake:
#   src/<subsystem>/*.cpp          portable logic, built natively and for Windows
#   src/<subsystem>/*_win.cpp      Windows glue, built for Windows only
#   tests/<subsystem>/*_test.cpp   unit tests of portable logic (both builds)
#   tests/<subsystem>/*_test_win.cpp  unit tests of Windows glue, run under Wine
#   tests/e2e/*.cpp                end-to-end scenarios that drive Veltrano.scr
#   tests/e2e/monitors/*.cpp       the same on several monitors (WindowsBuild.cmake names their heads)
#   tests/fuzz/*_fuzz.cpp          fuzz targets over portable logic
set(VELTRANO_SUBSYSTEMS common host scene resources settings collection config check)
set(VELTRANO_ENTRY ${CMAKE_SOURCE_DIR}/src/host/ProcessEntry_win.cpp)

set(VELTRANO_CORE_SOURCES)
set(VELTRANO_WIN_SOURCES)
set(VELTRANO_CORE_TESTS)
set(VELTRANO_WIN_TESTS)
foreach(sub IN LISTS VELTRANO_SUBSYSTEMS)
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${sub}/*.cpp)
  foreach(f IN LISTS srcs)
    if(f MATCHES "_win\\.cpp$")
      list(APPEND VELTRANO_WIN_SOURCES ${f})
    else()
      list(APPEND VELTRANO_CORE_SOURCES ${f})
    endif()
  endforeach()
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${sub}/*.cpp)
  foreach(f IN LISTS tests)
    if(f MATCHES "_test_win\\.cpp$")
      list(APPEND VELTRANO_WIN_TESTS ${f})
    elseif(f MATCHES "_test\\.cpp$")
      list(APPEND VELTRANO_CORE_TESTS ${f})
    endif()
  endforeach()
endforeach()
list(REMOVE_ITEM VELTRANO_WIN_SOURCES ${VELTRANO_ENTRY})
file(GLOB VELTRANO_E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
file(GLOB VELTRANO_E2E_DRIVER CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/driver/*.cpp)
file(GLOB VELTRANO_E2E_MONITOR_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/monitors/*.cpp)
file(GLOB VELTRANO_FUZZ_TARGETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)

set(VELTRANO_INCLUDE_DIRS ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/third_party)
set(VELTRANO_TEST_TIMEOUT 120)

# minizip's unzip part, with decryption (scripts/install-deps.sh fetches it).
set(MINIZIP_DIR ${CMAKE_SOURCE_DIR}/third_party/minizip)
if(NOT EXISTS ${MINIZIP_DIR}/unzip.c)
  message(FATAL_ERROR "minizip sources missing: run scripts/install-deps.sh")
endif()

# libspng, one C file that inflates with the build's zlib (scripts/install-deps.sh
# fetches it). The PNG row decoder is portable, so both builds compile it.
set(SPNG_DIR ${CMAKE_SOURCE_DIR}/third_party/libspng)
if(NOT EXISTS ${SPNG_DIR}/spng.c)
  message(FATAL_ERROR "libspng sources missing: run scripts/install-deps.sh")
endif()

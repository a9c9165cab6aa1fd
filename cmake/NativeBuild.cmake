# Portable logic with the host compiler: unit tests, fuzz targets, build tools.
add_compile_options(-Wall -Wextra)
if(VELTRANO_SANITIZE OR VELTRANO_FUZZ)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
if(VELTRANO_FUZZ)
  # Coverage feedback from everything a target reaches (the parsers, minizip),
  # not just the harness; the harnesses add libFuzzer's driver below.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

find_package(ZLIB REQUIRED)
add_library(minizip STATIC ${MINIZIP_DIR}/unzip.c ${MINIZIP_DIR}/ioapi.c)
target_include_directories(minizip PUBLIC ${CMAKE_SOURCE_DIR}/third_party)
target_compile_options(minizip PRIVATE -w)
target_link_libraries(minizip PUBLIC ZLIB::ZLIB)
add_library(spng STATIC ${SPNG_DIR}/spng.c)
target_compile_options(spng PRIVATE -w)
target_link_libraries(spng PUBLIC ZLIB::ZLIB)

add_library(veltrano_core STATIC ${VELTRANO_CORE_SOURCES})
target_include_directories(veltrano_core PUBLIC ${VELTRANO_INCLUDE_DIRS})
target_link_libraries(veltrano_core PUBLIC minizip spng)

if(VELTRANO_FUZZ)
  # Coverage-guided fuzzing: one libFuzzer executable per target.
  foreach(src IN LISTS VELTRANO_FUZZ_TARGETS)
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name} PRIVATE veltrano_core)
  endforeach()
  return()
endif()

find_package(GTest REQUIRED)
include(GoogleTest)
add_executable(veltrano_tests ${VELTRANO_CORE_TESTS})
target_include_directories(veltrano_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(veltrano_tests PRIVATE veltrano_core GTest::gtest_main)
gtest_discover_tests(veltrano_tests
  TEST_PREFIX "native."
  DISCOVERY_TIMEOUT 60
  PROPERTIES LABELS native TIMEOUT ${VELTRANO_TEST_TIMEOUT})

# The layer check itself, on small planted trees.
add_test(NAME native.LayerCheck.PlantedTrees COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-layers-test.sh)
set_tests_properties(native.LayerCheck.PlantedTrees PROPERTIES LABELS native TIMEOUT ${VELTRANO_TEST_TIMEOUT})

# Without libFuzzer each target replays its seeds and a fixed run of mutations
# under the sanitizers, so make test catches what the fuzzers found before.
foreach(src IN LISTS VELTRANO_FUZZ_TARGETS)
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src} ${CMAKE_SOURCE_DIR}/tests/fuzz/ReplayMain.cpp)
  target_link_libraries(${name} PRIVATE veltrano_core)
  add_test(NAME fuzz.${name}
    COMMAND ${name} ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${name})
  set_tests_properties(fuzz.${name} PROPERTIES LABELS native TIMEOUT ${VELTRANO_TEST_TIMEOUT})
endforeach()

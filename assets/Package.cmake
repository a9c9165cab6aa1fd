# The resource package VeltResource.dat and the three default pictures, beside
# the saver in the build's bin/ (where the end-to-end scenarios run it) and in
# dist/. The package is packed from the committed members by a script that
# fixes every byte, so two builds give the same file.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(VELTRANO_ASSETS_DIR ${CMAKE_CURRENT_LIST_DIR})
# Member order of the package: languages, error pictures, list-box pictures, logo.
set(VELTRANO_PACKAGE_MEMBERS)
foreach(lang en ru de fr es it jp)
  list(APPEND VELTRANO_PACKAGE_MEMBERS Resource/Language_${lang}.csv)
endforeach()
set(VELTRANO_PICTURE_LANGUAGES English Russian German France Spannish Italian Japan)
foreach(lang IN LISTS VELTRANO_PICTURE_LANGUAGES)
  list(APPEND VELTRANO_PACKAGE_MEMBERS Resource/${lang}ErrorFone.png)
endforeach()
foreach(lang IN LISTS VELTRANO_PICTURE_LANGUAGES)
  list(APPEND VELTRANO_PACKAGE_MEMBERS Resource/ListBox${lang}Fone.png)
endforeach()
list(APPEND VELTRANO_PACKAGE_MEMBERS Resource/logo.png)
list(TRANSFORM VELTRANO_PACKAGE_MEMBERS PREPEND ${VELTRANO_ASSETS_DIR}/
     OUTPUT_VARIABLE VELTRANO_PACKAGE_SOURCES)

set(VELTRANO_PACKER ${VELTRANO_ASSETS_DIR}/tools/make_package.py)
set(VELTRANO_PACKAGE ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/VeltResource.dat)
add_custom_command(OUTPUT ${VELTRANO_PACKAGE}
  COMMAND Python3::Interpreter ${VELTRANO_PACKER} ${VELTRANO_PACKAGE} ${VELTRANO_ASSETS_DIR}
          ${VELTRANO_PACKAGE_MEMBERS}
  DEPENDS ${VELTRANO_PACKER} ${VELTRANO_PACKAGE_SOURCES}
  COMMENT "Packing VeltResource.dat"
  VERBATIM)

set(VELTRANO_DEFAULT_PICTURES)
foreach(n 1 2 3)
  set(picture ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/default_${n}.jpg)
  add_custom_command(OUTPUT ${picture}
    COMMAND ${CMAKE_COMMAND} -E copy ${VELTRANO_ASSETS_DIR}/pictures/default_${n}.jpg ${picture}
    DEPENDS ${VELTRANO_ASSETS_DIR}/pictures/default_${n}.jpg
    VERBATIM)
  list(APPEND VELTRANO_DEFAULT_PICTURES ${picture})
endforeach()

list(APPEND VELTRANO_DIST_FILES ${VELTRANO_PACKAGE} ${VELTRANO_DEFAULT_PICTURES})

# Packing again gives the same bytes: the package never differs between builds.
add_test(NAME windows.package.Reproducible
  COMMAND ${CMAKE_COMMAND} -DPYTHON=${Python3_EXECUTABLE} -DPACKER=${VELTRANO_PACKER}
          -DPACKAGE=${VELTRANO_PACKAGE} -DASSETS=${VELTRANO_ASSETS_DIR}
          "-DMEMBERS=${VELTRANO_PACKAGE_MEMBERS}"
          -P ${VELTRANO_ASSETS_DIR}/tools/CheckReproducible.cmake)
set_tests_properties(windows.package.Reproducible PROPERTIES
  LABELS windows TIMEOUT ${VELTRANO_TEST_TIMEOUT})

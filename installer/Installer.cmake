# dist/VeltranoSetup.exe (dist/VeltranoSetup-x64.exe for the 64-bit build): the
# Windows installer, made with NSIS from installer/Veltrano.nsi out of the saver
# and the files beside it. Part of `make` (the dist target waits for it) and of
# `make test`.
find_program(MAKENSIS makensis REQUIRED)
set(VELTRANO_INSTALLER ${CMAKE_SOURCE_DIR}/dist/VeltranoSetup${VELTRANO_ARCH_SUFFIX}.exe)
set(installer_payload ${CMAKE_BINARY_DIR}/installer/payload)
set(installer_sources ${CMAKE_CURRENT_LIST_DIR}/Veltrano.nsi ${CMAKE_CURRENT_LIST_DIR}/Strings.nsh)
set(installer_width)
if(VELTRANO_ARCH STREQUAL "x64")
  set(installer_width -DX64)
endif()

add_custom_command(OUTPUT ${VELTRANO_INSTALLER}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${installer_payload}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${installer_payload} ${VELTRANO_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Veltrano> ${VELTRANO_DIST_FILES} ${installer_payload}
  COMMAND ${MAKENSIS} -V2 -WX -INPUTCHARSET UTF8 ${installer_width} -DPAYLOAD=${installer_payload}
          -DOUTFILE=${VELTRANO_INSTALLER} ${CMAKE_CURRENT_LIST_DIR}/Veltrano.nsi
  DEPENDS Veltrano ${VELTRANO_DIST_FILES} ${installer_sources}
  VERBATIM)
add_custom_target(installer DEPENDS ${VELTRANO_INSTALLER})
add_dependencies(dist installer)

# Silent install, uninstall and the installed saver, in a Wine prefix of their
# own so that the other tests never see an installed saver.
add_executable(installed_saver_tests ${CMAKE_CURRENT_LIST_DIR}/InstalledSaver_win.cpp)
target_link_libraries(installed_saver_tests PRIVATE e2e_driver GTest::gtest_main)
set(installer_test ${CMAKE_CURRENT_LIST_DIR}/installer-test.sh)
set(installer_scenarios SilentInstallAndUninstall LanguageChoice ReinstallKeepsSettings InstalledSaver
                        OlderWindowsRefused)
if(VELTRANO_ARCH STREQUAL "x64")
  list(APPEND installer_scenarios ReplacesA32BitInstall OtherWidthInUse PictureListMoves)
endif()
foreach(scenario IN LISTS installer_scenarios)
  add_test(NAME e2e.installer.${scenario}
    COMMAND ${installer_test} ${VELTRANO_ARCH} ${scenario} ${VELTRANO_INSTALLER} ${installer_payload}
            ${CMAKE_BINARY_DIR}/installer-wineprefix $<TARGET_FILE:installed_saver_tests>)
  set_tests_properties(e2e.installer.${scenario} PROPERTIES
    LABELS e2e RESOURCE_LOCK wine TIMEOUT ${VELTRANO_TEST_TIMEOUT})
endforeach()

# Stand-ins for the Windows 9x family's password libraries, which Wine does not
# have: the end-to-end scenarios copy them beside a private copy of the saver.
# They go to their own folder so that nothing else in bin/ loads them.
set(VELTRANO_STANDIN_DIR ${CMAKE_BINARY_DIR}/bin/standins)
foreach(standin PasswordCpl MprDll)
  add_library(${standin} SHARED ${CMAKE_CURRENT_LIST_DIR}/${standin}.c)
  set_target_properties(${standin} PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${VELTRANO_STANDIN_DIR})
  # Plain export names, as GetProcAddress looks them up.
  target_link_options(${standin} PRIVATE -Wl,--kill-at)
  target_link_libraries(${standin} PRIVATE kernel32)
  add_dependencies(veltrano_e2e ${standin})
endforeach()
set_target_properties(PasswordCpl PROPERTIES OUTPUT_NAME "PASSWORD" SUFFIX ".CPL")
set_target_properties(MprDll PROPERTIES OUTPUT_NAME "MPR" SUFFIX ".DLL")

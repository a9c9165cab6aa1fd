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

# A stand-in libXinerama.so.1 for the scenarios on several monitors: a Linux
# library, built with the host's compiler, that Wine's X11 driver loads from
# LD_LIBRARY_PATH (scripts/monitors-exec.sh). It is loaded into the build's
# own Wine, so the 32-bit build's copy is a 32-bit library; it needs no
# header and leaves its C library calls to the process that loads it.
find_program(VELTRANO_HOST_CC NAMES gcc cc REQUIRED)
set(VELTRANO_XINERAMA ${CMAKE_BINARY_DIR}/bin/xinerama/libXinerama.so.1)
set(xinerama_width)
if(VELTRANO_ARCH STREQUAL "x86")
  set(xinerama_width -m32)
endif()
add_custom_command(OUTPUT ${VELTRANO_XINERAMA}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin/xinerama
  COMMAND ${VELTRANO_HOST_CC} ${xinerama_width} -shared -fPIC -nostdlib -O2 -Wall -Wextra
          -o ${VELTRANO_XINERAMA} ${CMAKE_CURRENT_LIST_DIR}/Xinerama.c
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/Xinerama.c
  VERBATIM)
add_custom_target(xinerama_standin DEPENDS ${VELTRANO_XINERAMA})
add_dependencies(veltrano_e2e_monitors xinerama_standin)

# Cross build for 64-bit Windows (cmake/mingw.cmake has the rest).
set(VELTRANO_MINGW_TRIPLE x86_64-w64-mingw32)
set(VELTRANO_ARCH x64)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

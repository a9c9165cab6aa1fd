# Cross build for 32-bit Windows (cmake/mingw.cmake has the rest).
set(VELTRANO_MINGW_TRIPLE i686-w64-mingw32)
set(VELTRANO_ARCH x86)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

# Cross toolchain: 32-bit Windows through Debian's mingw-w64 (the shipped program).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(_prefix i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

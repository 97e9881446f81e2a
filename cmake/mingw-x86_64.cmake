# Cross toolchain: 64-bit Windows through Debian's mingw-w64, for testing under wine64 on
# hosts that cannot run 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(_prefix x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

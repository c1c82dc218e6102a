# Cross-build for 64-bit Windows with MinGW-w64 (tested under the installed 64-bit Wine).
set(WHIRLBOX_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

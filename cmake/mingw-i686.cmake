# Cross-build for 32-bit Windows with MinGW-w64: the release configuration.
set(WHIRLBOX_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

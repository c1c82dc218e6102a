# Cross-build for 32-bit Windows with MinGW-w64: the release configuration. Its tests run under the
# emulated 32-bit Wine of scripts/wine32-setup.sh, whose `wine` scripts/test.sh puts first on PATH.
set(WHIRLBOX_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

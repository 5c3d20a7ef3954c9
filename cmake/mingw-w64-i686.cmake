# Cross toolchain for i686 Windows builds with Debian's MinGW-w64.
# Compiled only: Wine on this machine is 64-bit only, so nothing of this build runs here.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(LODESTAY_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

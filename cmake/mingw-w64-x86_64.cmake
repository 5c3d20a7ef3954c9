# Cross toolchain for x86_64 Windows builds with Debian's MinGW-w64.
# Test programs of this build run under Wine through tools/wine-run.sh.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(LODESTAY_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

# ctest runs each test program under Wine; the script sets up the prefix, display and desktop.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh)

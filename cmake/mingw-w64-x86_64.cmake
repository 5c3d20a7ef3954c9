# Cross toolchain for x86_64 Windows builds with Debian's MinGW-w64.
# Test programs of this build run under Wine through tools/wine-run.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LODESTAY_MINGW_TRIPLE x86_64-w64-mingw32)
# The posix thread model: GCC 12's win32 model has no std::mutex, which GoogleTest needs.
# Linked statically, it adds no DLL to the program.
set(CMAKE_C_COMPILER   ${LODESTAY_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LODESTAY_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${LODESTAY_MINGW_TRIPLE}-windres)
# Resource scripts are UTF-8 with Japanese text.
set(CMAKE_RC_FLAGS_INIT "-c 65001")

set(CMAKE_FIND_ROOT_PATH /usr/${LODESTAY_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest runs each test program under Wine; the script sets up the prefix, display and desktop.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh)

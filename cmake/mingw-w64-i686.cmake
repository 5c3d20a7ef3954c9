# Cross toolchain for i686 Windows builds with Debian's MinGW-w64.
# Compiled only: Wine on this machine is 64-bit only, so nothing of this build runs here.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(LODESTAY_MINGW_TRIPLE i686-w64-mingw32)
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

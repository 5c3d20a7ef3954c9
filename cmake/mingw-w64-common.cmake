# What both MinGW-w64 toolchains share; the including file sets CMAKE_SYSTEM_PROCESSOR and
# LODESTAY_MINGW_TRIPLE first.
set(CMAKE_SYSTEM_NAME Windows)

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

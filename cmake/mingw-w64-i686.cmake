# Cross toolchain for i686 Windows builds with Debian's MinGW-w64 (win32 thread model).
# Test programs of this build run under Wine through tools/wine-run.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(LODESTAY_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER   ${LODESTAY_MINGW_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${LODESTAY_MINGW_TRIPLE}-g++)
set(CMAKE_RC_COMPILER  ${LODESTAY_MINGW_TRIPLE}-windres)
# Resource scripts are UTF-8 with Japanese text.
set(CMAKE_RC_FLAGS_INIT "-c 65001")

set(CMAKE_FIND_ROOT_PATH /usr/${LODESTAY_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No emulator: this machine's Wine is 64-bit only, so the 32-bit build is compiled but never run.

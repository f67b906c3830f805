# Cross toolchain: 32-bit Windows programs from Debian's mingw-w64 (posix threads,
# which GoogleTest needs for std::mutex).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(KIV_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${KIV_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KIV_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KIV_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KIV_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Shared by both toolchain files: Debian's mingw-w64 compilers with the posix
# thread model (GoogleTest needs std::mutex), for the prefix the caller set.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${KIV_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KIV_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KIV_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KIV_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

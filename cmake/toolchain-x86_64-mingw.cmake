# Cross toolchain: 64-bit Windows programs from Debian's mingw-w64 (posix threads).
# This is the test flavour: the same sources as the shipped 32-bit programs, run
# by wine64 on machines whose kernel refuses to execute 32-bit code.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(KIV_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KIV_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KIV_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KIV_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KIV_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The test flavour: the same sources as 64-bit Windows programs, which Wine's
# 64-bit loader runs on machines whose kernel refuses to execute 32-bit code.
set(KIV_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain-common.cmake)

# Cross build for 64-bit Windows with MinGW-w64 (Debian: g++-mingw-w64-x86-64-posix).
# The programs are linked statically, so they need nothing beyond KERNEL32 and
# msvcrt. Tests run under Wine:
#   cmake -S . -B build-windows -G Ninja \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DGTest_DIR=<prefix>/lib/cmake/GTest
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TALLYHAWK_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TALLYHAWK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TALLYHAWK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TALLYHAWK_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TALLYHAWK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# ctest and gtest_discover_tests run the Windows binaries through Wine.
find_program(TALLYHAWK_WINE wine)
if(TALLYHAWK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TALLYHAWK_WINE})
endif()

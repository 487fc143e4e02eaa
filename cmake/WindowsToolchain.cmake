# Cross-building the engine and the intro for 64-bit Windows with Debian's
# mingw-w64 (the POSIX thread model, whose C++ threads the mixer's tests and
# the audio feeder use). scripts/windows passes this file; the build then
# runs its build-time generators and tests under wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VESK_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VESK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VESK_MINGW_PREFIX}-g++-posix)
set(CMAKE_ASM_COMPILER ${VESK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_RC_COMPILER ${VESK_MINGW_PREFIX}-windres)

# Libraries and headers come from the mingw sysroot only; programs that run
# during the build (CMake's own probes aside) are the host's.
set(CMAKE_FIND_ROOT_PATH /usr/${VESK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Generators and test programs are Windows programs: wine runs them.
find_program(VESK_WINE NAMES wine64 wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VESK_WINE})

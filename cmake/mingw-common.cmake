# The part of the two Windows toolchain files that does not depend on the processor.
# The win32-thread variant of the compilers: the posix variant links winpthreads, whose Debian
# build imports functions of newer Windows (GetTickCount64, AddVectoredExceptionHandler, ...), so
# a program linked with it does not start on the systems it is built for. Nothing shipped uses
# threads; GoogleTest gets what it misses from tests/support/gtest_win32_threads.h.
set(CMAKE_SYSTEM_NAME Windows)
set(TAMUX_MINGW_TRIPLET ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${TAMUX_MINGW_TRIPLET}-gcc-win32)
set(CMAKE_CXX_COMPILER ${TAMUX_MINGW_TRIPLET}-g++-win32)
set(CMAKE_RC_COMPILER ${TAMUX_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TAMUX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

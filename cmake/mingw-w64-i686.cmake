# Cross build for 32-bit Windows with Debian's MinGW-w64 (packages g++-mingw-w64-i686 and
# binutils-mingw-w64-i686). The compilers of the POSIX thread model are used: their C++ library
# has std::thread and std::mutex (the tests run processes from several threads); with the
# runtime linked statically the executables still need only DLLs every Windows has. Built
# programs run under Debian's 32-bit Wine through scripts/wine32.sh, which is also how CTest
# starts the tests.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_DLLTOOL i686-w64-mingw32-dlltool)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine32.sh)

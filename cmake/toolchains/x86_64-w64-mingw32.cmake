# 64-bit Windows, with Debian's mingw-w64 cross compiler (the POSIX threads flavour, which has
# std::thread's sleeps). SDL2, libpng and zlib come from build/windows-deps, built for Windows
# from Debian's source packages by scripts/windows-deps.sh. Programs the build runs for the
# target (the tests, the golden replays) run under wine, headless, through scripts/wine.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
get_filename_component(BOLTFEVER_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/../.. ABSOLUTE)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${BOLTFEVER_SOURCE_ROOT}/build/windows-deps/prefix)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${BOLTFEVER_SOURCE_ROOT}/scripts/wine.sh)
set(CMAKE_STRIP x86_64-w64-mingw32-strip CACHE FILEPATH "")

# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix threads, the
# model std::thread and Qt's threads need), against the toolkit scripts/windows
# builds: pass -DSETROVIA_WIN_PREFIX=<its prefix>. Tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# try_compile projects see the prefix too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES SETROVIA_WIN_PREFIX)
set(CMAKE_FIND_ROOT_PATH ${SETROVIA_WIN_PREFIX} /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
if(SETROVIA_WIN_PREFIX)
    set(Qt5_DIR ${SETROVIA_WIN_PREFIX}/lib/cmake/Qt5 CACHE PATH "")
endif()

find_program(WINE_EXECUTABLE wine)
if(WINE_EXECUTABLE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_EXECUTABLE})
endif()

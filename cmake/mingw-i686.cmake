# Cross-compiles the 32-bit Windows build on Debian with MinGW-w64 (i686).
#
# The win32 thread model: its libstdc++ and libgcc take their threads, locks and
# once-flags straight from kernel32 (all on Windows 7), where the posix model's
# would bring winpthreads in, about 28 KB and 33 imports more. Nothing in the
# program needs std::thread or std::mutex, which GCC 12's win32 model lacks. The
# end-to-end driver, a test tool that does use them, asks for the posix model with
# -DTALLYRA_MINGW_THREADS=posix. Everything (libgcc, libstdc++) is linked
# statically, so the executables need no DLL beyond Windows' own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

if(NOT TALLYRA_MINGW_THREADS)
    set(TALLYRA_MINGW_THREADS win32)
endif()
set(TALLYRA_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER ${TALLYRA_MINGW_TRIPLE}-gcc-${TALLYRA_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${TALLYRA_MINGW_TRIPLE}-g++-${TALLYRA_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${TALLYRA_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${TALLYRA_MINGW_TRIPLE}-gcc-ar-${TALLYRA_MINGW_THREADS} CACHE FILEPATH "")
set(CMAKE_RANLIB ${TALLYRA_MINGW_TRIPLE}-gcc-ranlib-${TALLYRA_MINGW_THREADS} CACHE FILEPATH "")

# GoogleTest, built for this target, lives in a prefix of its own, made by
# scripts/build-windows.
if(NOT TALLYRA_WIN32_DEPS)
    if(DEFINED ENV{TALLYRA_WIN32_DEPS})
        set(TALLYRA_WIN32_DEPS $ENV{TALLYRA_WIN32_DEPS})
    else()
        get_filename_component(TALLYRA_WIN32_DEPS ${CMAKE_CURRENT_LIST_DIR}/../build/win32-deps/install ABSOLUTE)
    endif()
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TALLYRA_WIN32_DEPS TALLYRA_MINGW_THREADS)

set(CMAKE_FIND_ROOT_PATH /usr/${TALLYRA_MINGW_TRIPLE} ${TALLYRA_WIN32_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Windows 7 is the oldest system the program runs on; the headers then hide what
# it lacks (MinGW-w64 would otherwise declare everything up to Windows 10).
# Every function and datum goes in a section of its own, so that the linker drops
# whatever nothing uses: a smaller download, the same program.
set(CMAKE_C_FLAGS_INIT "-D_WIN32_WINNT=0x0601 -DWINVER=0x0601 -ffunction-sections -fdata-sections")
set(CMAKE_CXX_FLAGS_INIT "-D_WIN32_WINNT=0x0601 -DWINVER=0x0601 -ffunction-sections -fdata-sections")

# Executables and DLLs alike carry their runtime: no DLL beyond Windows' own.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--gc-sections")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--gc-sections")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
# The "windows" preset builds its Release with -Os rather than CMake's -O3: the
# smallest executable (about 55 KB less than -O2) for a program that waits on the
# user. It is set there because the compiler's own defaults are appended after
# anything a tool-chain file sets.

# Cross-built test programs run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)

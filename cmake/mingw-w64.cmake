# Cross-compiling for Windows with mingw-w64. QV_MINGW_ARCH picks the
# target: i686 (the instrument) or x86_64 (the tests under the 64-bit Wine).
# QV_MINGW_THREADS picks the compilers' thread model: posix (the default,
# which gives std::thread through winpthreads, a library that needs Windows
# Vista) or win32 (no std::thread; the run time then imports only what
# Windows 98 has), for programs of one thread.
set(CMAKE_SYSTEM_NAME Windows)
if(NOT QV_MINGW_ARCH)
  set(QV_MINGW_ARCH x86_64)
endif()
if(NOT QV_MINGW_THREADS)
  set(QV_MINGW_THREADS posix)
endif()
# The win32 model has no std::thread: what needs threads is not built.
if(QV_MINGW_THREADS STREQUAL "win32")
  set(QV_WITHOUT_THREADS ON)
endif()
# try_compile runs read this file again and need the same choice.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QV_MINGW_ARCH QV_MINGW_THREADS)

set(CMAKE_SYSTEM_PROCESSOR ${QV_MINGW_ARCH})
set(QV_MINGW_TRIPLE ${QV_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${QV_MINGW_TRIPLE}-gcc-${QV_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${QV_MINGW_TRIPLE}-g++-${QV_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${QV_MINGW_TRIPLE}-windres)
set(QV_OBJDUMP ${QV_MINGW_TRIPLE}-objdump)

# Libraries and headers come from the cross root only: the host's /usr/include
# holds the host's C library.
set(CMAKE_FIND_ROOT_PATH /usr/${QV_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Our executables carry the compiler's run-time libraries inside: no DLL of
# ours goes to the instrument.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Cross-compiling with mingw-w64 for the triple the including toolchain file names
# (OMB_MINGW_TRIPLE). The -posix compilers are used because GoogleTest needs std::mutex, which
# the win32 thread model lacks.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${OMB_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${OMB_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${OMB_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${OMB_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

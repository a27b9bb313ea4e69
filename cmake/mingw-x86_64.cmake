# Cross-compiles for 64-bit Windows with mingw-w64: the same program and tests as the 32-bit
# build, run under wine64 on machines that cannot start 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(OMB_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# The 64-bit loader itself: the `wine` wrapper picks wine32, which some machines cannot start.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)

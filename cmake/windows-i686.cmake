# The same for 32-bit Windows (needs g++-mingw-w64-i686-posix).
set(QB_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

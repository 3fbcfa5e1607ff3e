# What both Windows toolchains share; QB_MINGW_TRIPLE names the target.
set(CMAKE_SYSTEM_NAME Windows)
string(REGEX REPLACE "-.*" "" CMAKE_SYSTEM_PROCESSOR ${QB_MINGW_TRIPLE})

# The POSIX threads flavour: std::thread and std::mutex need it.
set(CMAKE_C_COMPILER ${QB_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QB_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QB_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QB_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Windows 7's API (LCMapStringEx and the rest), nothing newer.
set(CMAKE_C_FLAGS_INIT "-D_WIN32_WINNT=0x0601 -DWINVER=0x0601")
set(CMAKE_CXX_FLAGS_INIT "-D_WIN32_WINNT=0x0601 -DWINVER=0x0601")
# Each .exe stands alone: the C++ runtime, GCC's and the threads library linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Shared part of the two mingw-w64 toolchains; ZAV_MINGW_TRIPLE names the target.
#
# The posix-threads variant of the compiler gives the complete C++ thread support of libstdc++;
# with -static its winpthread part is linked in like libgcc and libstdc++, so the executable is a
# single file that imports system DLLs only.
find_program(CMAKE_C_COMPILER NAMES ${ZAV_MINGW_TRIPLE}-gcc-posix ${ZAV_MINGW_TRIPLE}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${ZAV_MINGW_TRIPLE}-g++-posix ${ZAV_MINGW_TRIPLE}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${ZAV_MINGW_TRIPLE}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${ZAV_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# g++ 12 reports overlapping copies inside std::string's operator+ at -O2 that cannot happen
# (GCC bug 105329); the 32-bit compiler hits it in ordinary string code.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")

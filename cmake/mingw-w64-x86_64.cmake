# Cross build for 64-bit Windows with Debian's mingw-w64 (the POSIX-threads
# variant, whose libstdc++ has std::thread and std::filesystem). The programs
# and tests built with it run here under wine: see cmake/wine_run.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program is linked whole: no libstdc++, libgcc or winpthread DLL to ship
# beside it, only the system's own DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test programs, and the test discovery after each build, run under wine with
# a prefix of their own in the build folder.
if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR
    "${CMAKE_CURRENT_LIST_DIR}/wine_run.sh;${CMAKE_BINARY_DIR}/wine-session")
endif()

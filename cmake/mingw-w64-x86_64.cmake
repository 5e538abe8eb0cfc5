# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 compiler, the
# posix-thread variant (its libstdc++ has std::thread and std::mutex).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LINKSCOUT_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${LINKSCOUT_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LINKSCOUT_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${LINKSCOUT_MINGW_PREFIX}-windres)
set(CMAKE_AR ${LINKSCOUT_MINGW_PREFIX}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${LINKSCOUT_MINGW_PREFIX}-ranlib CACHE FILEPATH "")

# Headers and libraries come from the MinGW sysroot only; programs (python,
# wine, xvfb-run) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${LINKSCOUT_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

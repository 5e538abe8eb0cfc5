# The Windows build, included by the top CMakeLists (after the core library
# and linkscout-scan are declared) when cross-compiling with MinGW-w64.

# Resource scripts (.rc) are compiled by windres; a failing windres fails the
# build like any compiler error.
enable_language(RC)

# Static runtime: every .exe must start on a bare Windows and under Wine with
# no libstdc++-6.dll, libgcc_s_seh-1.dll or libwinpthread-1.dll beside it.
# CMake reads CMAKE_EXE_LINKER_FLAGS at the end of the directory, so this also
# reaches the executables declared before this file was included.
string(APPEND CMAKE_EXE_LINKER_FLAGS " -static -static-libgcc -static-libstdc++")

# For targets whose sources include <windows.h> (the program and tests/win):
# the wide API by default, Windows 10 declarations, no min/max macros.
function(linkscout_win32_target target)
  target_compile_definitions(${target} PRIVATE
    UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0A00)
  target_link_libraries(${target} PRIVATE comctl32)
endfunction()

# --- The program ------------------------------------------------------------
# LINKSCOUT.exe (the shell sources in LINKSCOUT_SHELL_SOURCES, src/app/main*,
# the resource script) is declared here, with linkscout_win32_target() and
# WIN32 (GUI subsystem).

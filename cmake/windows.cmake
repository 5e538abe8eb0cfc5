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
  target_link_libraries(${target} PRIVATE comctl32 ws2_32)
endfunction()

# --- The program ------------------------------------------------------------
# The shell (src/win and src/shell) is one library, so the Windows tests drive the
# same windows and fetcher as LINKSCOUT.exe.
include(${CMAKE_CURRENT_LIST_DIR}/delay_load.cmake)
add_library(linkscout_shell STATIC ${LINKSCOUT_SHELL_SOURCES})
target_link_libraries(linkscout_shell PUBLIC linkscout_core
  comctl32 ws2_32 ole32 gdi32 uuid ${LINKSCOUT_DELAY_LIBRARIES})
target_compile_definitions(linkscout_shell PUBLIC
  UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0A00)

# The menus, icons and pictures, shared with the Windows tests; the
# program's script adds its manifest and version information.
set(LINKSCOUT_RESOURCES ${PROJECT_SOURCE_DIR}/src/shell/resources/linkscout_resources.rc)
set_source_files_properties(${PROJECT_SOURCE_DIR}/src/shell/resources/linkscout.rc PROPERTIES
  OBJECT_DEPENDS "${PROJECT_SOURCE_DIR}/src/shell/resources/linkscout_resources.rc;${PROJECT_SOURCE_DIR}/src/shell/resources/linkscout.manifest")

add_executable(LINKSCOUT WIN32 src/shell/main_win.cpp src/shell/resources/linkscout.rc)
target_link_libraries(LINKSCOUT PRIVATE linkscout_shell)
target_link_options(LINKSCOUT PRIVATE -municode)
linkscout_win32_target(LINKSCOUT)
# windres finds the icons and the manifest beside the scripts.
target_include_directories(LINKSCOUT PRIVATE ${PROJECT_SOURCE_DIR}/src/shell/resources)

# linkscout-remote.exe: sends the running program a command from outside.
add_executable(linkscout-remote src/shell/tools/linkscout_remote_win.cpp)
target_include_directories(linkscout-remote PRIVATE ${PROJECT_SOURCE_DIR}/src)
linkscout_win32_target(linkscout-remote)

# The program benchmark's helpers (bench/program_bench.py): the probe that
# drives and times LINKSCOUT.exe, and the bare window it is measured against.
add_executable(bench-probe bench/program/bench_probe_win.cpp)
target_include_directories(bench-probe PRIVATE ${PROJECT_SOURCE_DIR}/src)
linkscout_win32_target(bench-probe)
add_executable(bench-bare-window WIN32 bench/program/bench_bare_window_win.cpp)
target_link_options(bench-bare-window PRIVATE -municode)
linkscout_win32_target(bench-bare-window)

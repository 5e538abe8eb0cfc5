# Windows tests, included by cmake/tests.cmake: GoogleTest built for Windows
# and the Win32 tests in tests/win; these and the core tests (defined in
# tests.cmake, the same sources as natively) run by CTest under Wine in a
# virtual X display.

find_program(LINKSCOUT_WINE wine)
find_program(LINKSCOUT_WINESERVER wineserver)
find_program(LINKSCOUT_XVFB_RUN xvfb-run)
if(NOT LINKSCOUT_WINE OR NOT LINKSCOUT_WINESERVER OR NOT LINKSCOUT_XVFB_RUN)
  message(FATAL_ERROR "The Windows tests need wine, wineserver and xvfb-run "
                      "(run scripts/setup), or configure with -DLINKSCOUT_TESTS=OFF.")
endif()

set(INSTALL_GTEST OFF)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Wine shows the Linux root as drive Z:, so a Linux path becomes a Windows
# path by putting Z: in front (forward slashes work in Windows paths).
set(LINKSCOUT_WINE_ROOT "Z:")
set(LINKSCOUT_RESULTS_DIR ${CMAKE_BINARY_DIR}/results)

file(GLOB LINKSCOUT_WIN_TEST_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/tests/win/*.cpp ${PROJECT_SOURCE_DIR}/tests/win/*.rc)
# The TLS servers and proxies that the fetch tests talk to run as one Linux
# process beside the suite; it writes its ports into this folder.
set(LINKSCOUT_PEERS_DIR ${CMAKE_BINARY_DIR}/peers)
add_test(NAME net_peers_start COMMAND /bin/sh ${PROJECT_SOURCE_DIR}/tests/peers/peers_fixture.sh start ${LINKSCOUT_PEERS_DIR})
add_test(NAME net_peers_stop COMMAND /bin/sh ${PROJECT_SOURCE_DIR}/tests/peers/peers_fixture.sh stop ${LINKSCOUT_PEERS_DIR})
set_tests_properties(net_peers_start PROPERTIES FIXTURES_SETUP peers TIMEOUT 60)
set_tests_properties(net_peers_stop PROPERTIES FIXTURES_CLEANUP peers TIMEOUT 60)

# The prefix trusts the test certificate authority that signed the peers'
# certificates (tests/peers/certs); the build machine's own store is never
# touched. scripts/demo uses the same tool for its own prefix.
add_executable(trust_test_ca tests/tools/trust_test_ca_win.cpp)
linkscout_win32_target(trust_test_ca)
target_link_libraries(trust_test_ca PRIVATE crypt32)
target_link_options(trust_test_ca PRIVATE -municode)

add_executable(win_tests ${LINKSCOUT_WIN_TEST_SOURCES} ${LINKSCOUT_RESOURCES})
target_link_libraries(win_tests PRIVATE linkscout_shell GTest::gtest GTest::gtest_main)
linkscout_win32_target(win_tests)
target_compile_definitions(win_tests PRIVATE
  LINKSCOUT_TEST_DATA_DIR="${LINKSCOUT_WINE_ROOT}${PROJECT_SOURCE_DIR}/tests/data"
  LINKSCOUT_PEERS_DIR="${LINKSCOUT_WINE_ROOT}${LINKSCOUT_PEERS_DIR}"
  LINKSCOUT_EXE="${LINKSCOUT_WINE_ROOT}$<TARGET_FILE:LINKSCOUT>")
add_dependencies(win_tests LINKSCOUT trust_test_ca)

# The build's own prefix: no test touches ~/.wine, and a clean build starts
# from a fresh prefix.
set(LINKSCOUT_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(LINKSCOUT_WINE_ENV
  WINEPREFIX=${LINKSCOUT_WINEPREFIX}
  WINEARCH=win64
  WINEDEBUG=-all
  "WINEDLLOVERRIDES=mscoree,mshtml=")

add_test(NAME wine_prefix COMMAND ${CMAKE_COMMAND}
  -DWINE=${LINKSCOUT_WINE} -DWINESERVER=${LINKSCOUT_WINESERVER}
  -DPREFIX=${LINKSCOUT_WINEPREFIX} -P ${PROJECT_SOURCE_DIR}/cmake/wine_prefix.cmake)
set_tests_properties(wine_prefix PROPERTIES
  FIXTURES_SETUP wine ENVIRONMENT "${LINKSCOUT_WINE_ENV};LC_ALL=C" TIMEOUT 300)

# Runs a test program under Wine in its own virtual X display. The suites
# share the prefix and so its Wine server, whose desktop lives on one
# display: they run one after the other (RESOURCE_LOCK), and wine_run.sh waits
# for the server to end before the display goes away. Both locales below give
# the system code page 1252, so the suites prove that Japanese text does not
# lean on code page 932.
function(linkscout_add_wine_test target locale)
  add_test(NAME ${target} COMMAND ${LINKSCOUT_XVFB_RUN} -a -s "-screen 0 1280x1024x24"
    /bin/sh ${PROJECT_SOURCE_DIR}/cmake/wine_run.sh ${LINKSCOUT_WINE} ${LINKSCOUT_WINESERVER}
    $<TARGET_FILE:${target}>
    --gtest_output=xml:${LINKSCOUT_WINE_ROOT}${LINKSCOUT_RESULTS_DIR}/${target}.xml)
  set_tests_properties(${target} PROPERTIES
    FIXTURES_REQUIRED wine RESOURCE_LOCK wineprefix
    ENVIRONMENT "${LINKSCOUT_WINE_ENV};LC_ALL=${locale}" TIMEOUT 900)
endfunction()

# Both suites create files with Japanese names (site logs, the new-list).
# Under plain C, Wine's Unix file names are ASCII and such a file cannot be
# created at all (which never happens on Windows); C.UTF-8 keeps code page
# 1252 with UTF-8 names.
linkscout_add_wine_test(core_tests C.UTF-8)
linkscout_add_wine_test(win_tests C.UTF-8)

add_test(NAME trust_test_ca COMMAND /bin/sh ${PROJECT_SOURCE_DIR}/cmake/wine_run.sh ${LINKSCOUT_WINE}
  ${LINKSCOUT_WINESERVER} $<TARGET_FILE:trust_test_ca>
  ${LINKSCOUT_WINE_ROOT}${PROJECT_SOURCE_DIR}/tests/peers/certs/ca.der)
set_tests_properties(trust_test_ca PROPERTIES
  FIXTURES_REQUIRED wine FIXTURES_SETUP trusted RESOURCE_LOCK wineprefix
  ENVIRONMENT "${LINKSCOUT_WINE_ENV};LC_ALL=C.UTF-8" TIMEOUT 120)
set_property(TEST win_tests APPEND PROPERTY FIXTURES_REQUIRED peers trusted)

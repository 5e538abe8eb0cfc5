# Core tests: the same sources build natively and for Windows (run under Wine).
file(GLOB LINKSCOUT_CORE_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/core/*.cpp)

if(WIN32)
  # Sets LINKSCOUT_WINE_ROOT, the prefix that turns a Linux path into one the
  # Windows programs can open under Wine.
  include(cmake/windows_tests.cmake)
else()
  find_package(GTest REQUIRED)
  set(LINKSCOUT_WINE_ROOT "")
endif()

add_executable(core_tests ${LINKSCOUT_CORE_TEST_SOURCES})
target_link_libraries(core_tests PRIVATE linkscout_core GTest::gtest GTest::gtest_main)
target_compile_definitions(core_tests PRIVATE
  LINKSCOUT_TEST_DATA_DIR="${LINKSCOUT_WINE_ROOT}${PROJECT_SOURCE_DIR}/tests/data"
  LINKSCOUT_SCAN_EXE="${LINKSCOUT_WINE_ROOT}$<TARGET_FILE:linkscout-scan>")
add_dependencies(core_tests linkscout-scan)

if(NOT WIN32)
  add_test(NAME core_tests COMMAND core_tests --gtest_output=xml:${CMAKE_BINARY_DIR}/results/core_tests.xml)
endif()

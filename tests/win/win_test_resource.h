// Resource ids shared by win_tests.rc and the tests that load them.
#pragma once

#define IDS_WIN_TEST_NEW_LIST 101

// An exception that reaches a window procedure is told by its kind and the
// program goes on.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "win/window_object_win.h"

namespace {

struct ToldUi : ls::UserInterface {
  std::vector<std::string> errors;
  void setStatus(int, const std::string&) override {}
  void message(const std::string& text) override { errors.push_back("message: " + text); }
  void error(const std::string& text) override { errors.push_back(text); }
};

TEST(Guarded, ExceptionsAreToldByKindAndTheHandlerAnswersTheDefault) {
  ToldUi ui;
  EXPECT_EQ(ls::guarded(ui, []() -> LRESULT { throw std::bad_alloc(); }), 0);
  EXPECT_EQ(ls::guarded(ui, []() -> LRESULT { throw std::runtime_error("broken list"); }), 0);
  EXPECT_EQ(ls::guarded(ui, []() -> LRESULT { throw 7; }), 0);
  EXPECT_EQ(ls::guarded(ui, []() -> LRESULT { return 5; }), 5);
  ls::guarded(ui, [] {});
  EXPECT_EQ(ui.errors, (std::vector<std::string>{ls::kMsgOutOfMemory, ls::internalErrorText("broken list"),
                                                 ls::internalErrorText("")}));
}

}  // namespace

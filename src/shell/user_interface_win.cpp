#include "shell/user_interface_win.h"

#include <commctrl.h>

#include "common/program.h"
#include "win/wide_win.h"

namespace ls {

void WindowUserInterface::setStatus(int part, const std::string& text) {
  if (!statusBar_) return;
  std::wstring wide = toWide(text);
  // The control paints a new text at once, unless the pacer holds it.
  if (pacer_) pacer_->beforeChange(statusBar_);
  SendMessageW(statusBar_, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(wide.c_str()));
}

std::string WindowUserInterface::status(int part) const {
  if (!statusBar_) return std::string();
  LRESULT length = LOWORD(SendMessageW(statusBar_, SB_GETTEXTLENGTHW, part, 0));
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(statusBar_, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return fromWide(text);
}

int WindowUserInterface::show(HWND owner, const std::string& text, const std::string& caption, UINT flags,
                              bool question) {
  if (question && askHook) return askHook(text);
  if (messageHook) {
    messageHook(text);
    return IDOK;
  }
  return MessageBoxW(owner, toWide(text).c_str(), toWide(caption).c_str(), flags);
}

void WindowUserInterface::message(const std::string& text) { show(owner_, text, kProgramTitle, MB_OK, false); }

void WindowUserInterface::error(const std::string& text) {
  show(owner_, text, kProgramTitle, MB_OK | MB_ICONERROR, false);
}


int WindowUserInterface::ask(HWND owner, const std::string& text, const std::string& caption, UINT buttons) {
  return show(owner, text, caption, buttons, true);
}

}  // namespace ls

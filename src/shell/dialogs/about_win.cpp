#include "shell/dialogs/about_win.h"

#include <windows.h>

#include "shell/app_win.h"
#include "win/handles_win.h"
#include "shell/main_window_win.h"
#include "win/window_object_win.h"
#include "common/program.h"
#include "shell/resources/resource_ids.h"

namespace ls {

namespace {

class AboutDialog : public Dialog {
 public:
  explicit AboutDialog(App& app) : Dialog(app.ui), app_(app) {}

 private:
  INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void paintPicture();

  App& app_;
};

// The picture is loaded anew for each paint and released after it.
void AboutDialog::paintPicture() {
  Paint paint(dialog_);
  Bitmap picture(static_cast<HBITMAP>(LoadImageW(app_.instance, L"LINKSCOUT", IMAGE_BITMAP, 0, 0, 0)));
  if (!picture) return;
  BITMAP info{};
  GetObjectW(picture.get(), sizeof info, &info);
  MemoryDc memory(CreateCompatibleDC(paint.dc()));
  if (!memory) return;
  SelectedObject selected(memory.get(), picture.get());
  BitBlt(paint.dc(), 20, 20, info.bmWidth, info.bmHeight, memory.get(), 0, 0, SRCCOPY);
}

INT_PTR AboutDialog::onMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      app_.aboutDialog = dialog_;
      return TRUE;
    case WM_PAINT:
      paintPicture();
      return TRUE;
    case WM_COMMAND:
      // Only OK closes the box: Escape and the close command are not taken.
      if (LOWORD(wParam) == IDC_ABOUT_OK) EndDialog(dialog_, 0);
      if (LOWORD(wParam) == IDC_ABOUT_HOME) openWebAddress(app_, kHomePageAddress);
      return TRUE;
    case WM_DESTROY:
      app_.aboutDialog = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

void runAboutDialog(App& a) {
  AboutDialog dialog(a);
  dialog.runModal(a.instance, L"INFOMATION", a.main);
}

}  // namespace ls

#include "shell/dialogs/about_win.h"

#include "common/program.h"
#include "shell/resources/resource_ids.h"
#include "win/dialog_win.h"
#include "win/handles_win.h"

namespace ls {

namespace {

class AboutDialog : public Dialog {
 public:
  AboutDialog(HINSTANCE instance, UserInterface& ui, const std::function<void(const std::string&)>& openUrl)
      : Dialog(ui), instance_(instance), openUrl_(openUrl) {}

 private:
  bool onCommand(int id, int) override;
  // Only OK closes the box: Escape and the close command are not taken.
  void onCancel() override {}
  INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void paintPicture();

  HINSTANCE instance_;
  const std::function<void(const std::string&)>& openUrl_;
};

// The picture is loaded anew for each paint and released after it.
void AboutDialog::paintPicture() {
  Paint paint(dialog_);
  Bitmap picture(static_cast<HBITMAP>(LoadImageW(instance_, L"LINKSCOUT", IMAGE_BITMAP, 0, 0, 0)));
  if (!picture) return;
  BITMAP info{};
  GetObjectW(picture.get(), sizeof info, &info);
  MemoryDc memory(CreateCompatibleDC(paint.dc()));
  if (!memory) return;
  SelectedObject selected(memory.get(), picture.get());
  BitBlt(paint.dc(), 20, 20, info.bmWidth, info.bmHeight, memory.get(), 0, 0, SRCCOPY);
}

bool AboutDialog::onCommand(int id, int) {
  if (id == IDC_ABOUT_OK) end(0);
  if (id == IDC_ABOUT_HOME) openUrl_(kHomePageAddress);
  return true;
}

INT_PTR AboutDialog::onMessage(UINT message, WPARAM, LPARAM) {
  if (message != WM_PAINT) return FALSE;
  paintPicture();
  return TRUE;
}

}  // namespace

void runAboutDialog(HINSTANCE instance, HWND owner, UserInterface& ui,
                    const std::function<void(const std::string&)>& openUrl) {
  AboutDialog dialog(instance, ui, openUrl);
  dialog.runModal(instance, L"INFOMATION", owner);
}

}  // namespace ls

// Japanese text through a real report list view: Shift_JIS bytes go in through
// the wide API after the project's own CP932 conversion and come back
// unchanged, while the system code page is not 932 (the tests run with
// LC_ALL=C), so nothing leans on the system's ANSI conversion.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <string_view>

#include "common/cp932.h"
#include "win_test_resource.h"

namespace {

// Shift_JIS bytes written out, independent of the compiler's execution charset.
constexpr std::string_view kNewListSjis = "\x90\x56\x92\x85\x83\x8A\x83\x58\x83\x67";

std::wstring toWide(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }
std::u16string fromWide(std::wstring_view s) { return std::u16string(s.begin(), s.end()); }

class ListViewSmoke : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&icc));
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kParentClass;
    // Already registered when the suite runs again (--gtest_repeat).
    ASSERT_TRUE(RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS);
  }

  void SetUp() override {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    parent_ = CreateWindowExW(0, kParentClass, L"list view smoke test", WS_OVERLAPPEDWINDOW,
                              CW_USEDEFAULT, CW_USEDEFAULT, 480, 320, nullptr, nullptr, inst, nullptr);
    ASSERT_NE(parent_, nullptr);
    list_ = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT,
                            0, 0, 460, 280, parent_, nullptr, inst, nullptr);
    ASSERT_NE(list_, nullptr);
    ShowWindow(parent_, SW_SHOWNORMAL);

    std::wstring title = toWide(ls::cp932ToUtf16("見出し"));
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = 400;
    col.pszText = title.data();
    ASSERT_EQ(SendMessageW(list_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&col)), 0);
  }

  void TearDown() override {
    if (parent_) DestroyWindow(parent_);  // destroys the list view with it
  }

  // Inserts a row at the top, as the news list does; returns its index.
  LRESULT insertTop(std::string_view sjis) {
    std::wstring text = toWide(ls::cp932ToUtf16(sjis));
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = 0;
    item.pszText = text.data();
    return SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }

  std::wstring rowText(int row) {
    wchar_t buf[512] = {};
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = buf;
    item.cchTextMax = static_cast<int>(std::size(buf));
    LRESULT n = SendMessageW(list_, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return std::wstring(buf, static_cast<std::size_t>(n));
  }

  static constexpr const wchar_t* kParentClass = L"LinkscoutSmokeParent";
  HWND parent_ = nullptr;
  HWND list_ = nullptr;
};

TEST_F(ListViewSmoke, SystemCodePageIsNot932) {
  // Under code page 932 the ANSI functions would convert Japanese correctly
  // by accident, and these tests would prove nothing.
  EXPECT_NE(GetACP(), 932u);
}

TEST_F(ListViewSmoke, NarrowLiteralsAreShiftJis) {
  EXPECT_EQ(std::string_view("新着リスト"), kNewListSjis);
}

TEST_F(ListViewSmoke, JapaneseRowsRoundTripThroughTheWideApi) {
  // Trail byte 0x5C (表, ソ), the wave dash position 0x8160, an NEC special
  // character, an IBM extension, half-width katakana and a plain backslash.
  const std::string headline = std::string(kNewListSjis) +
      "\x95\x5C\x83\x5C\x81\x60\x87\x40\xFB\xFC\xB1 a\\b";
  const std::wstring expectedWide =
      L"\u65B0\u7740\u30EA\u30B9\u30C8\u8868\u30BD\uFF5E\u2460\u9AD9\uFF71 a\\b";

  ASSERT_EQ(insertTop("older"), 0);
  ASSERT_EQ(insertTop(headline), 0);
  ASSERT_EQ(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0), 2);

  const std::wstring shown = rowText(0);
  EXPECT_EQ(shown, expectedWide);
  EXPECT_EQ(ls::utf16ToCp932(fromWide(shown)), headline);
  EXPECT_EQ(rowText(1), L"older");
}

TEST_F(ListViewSmoke, ResourceStringsAreUtf16) {
  // The resource script is UTF-8 with #pragma code_page(65001); windres must
  // store the Japanese text as the same characters.
  const wchar_t* text = nullptr;
  int n = LoadStringW(GetModuleHandleW(nullptr), IDS_WIN_TEST_NEW_LIST,
                      reinterpret_cast<LPWSTR>(&text), 0);
  ASSERT_GT(n, 0);
  std::wstring loaded(text, static_cast<std::size_t>(n));
  EXPECT_EQ(ls::utf16ToCp932(fromWide(loaded)), kNewListSjis);
}

}  // namespace

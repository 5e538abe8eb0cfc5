// What the main window keeps in the settings file: its rectangle, the
// widths of the news list's columns and the list font, and how the status
// bar divides its width.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace ls {

struct WindowRect {
  int left = 0, top = 0, right = 300, bottom = 200;
};

// "Window" left/top/right/bottom, with the defaults 0, 0, 300, 200.
WindowRect readWindowRect(std::string_view settingsFile);
void writeWindowRect(std::string_view settingsFile, const WindowRect& rect);

// The file keeps the rectangle in 96-DPI units; the window has it at its
// monitor's DPI. Every coordinate scales, so a position keeps its place on a
// scaled desktop.
WindowRect rectToDpi(const WindowRect& stored, int dpi);
WindowRect rectFromDpi(const WindowRect& shown, int dpi);

// LISTVIEW TITLE, SITE, URL (defaults 200, 100, 200), each cut to its low
// 16 bits as the list view takes them.
std::array<int, 3> readColumnWidths(std::string_view settingsFile);
void writeColumnWidths(std::string_view settingsFile, const std::array<int, 3>& widths);

// The widths the columns are created with, before any restore.
inline constexpr std::array<int, 3> kCreatedColumnWidths{250, 100, 200};

// The list font as LIST_FONT describes it; the single-byte fields keep the
// low 8 bits of their values.
struct ListFont {
  int height = -12, width = 0, escapement = 0, orientation = 0, weight = 400;
  unsigned char italic = 0, underline = 0, strikeout = 0, charset = 128;
  unsigned char outPrecision = 3, clipPrecision = 2, quality = 1, pitchAndFamily = 50;
  std::string faceName = "MS UI Gothic";  // at most 31 bytes
};
ListFont readListFont(std::string_view settingsFile);
void writeListFont(std::string_view settingsFile, const ListFont& font);

// Right edges of the status bar's two parts for a client width.
std::array<int, 2> statusPartEdges(int clientWidth);

}  // namespace ls

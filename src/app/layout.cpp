#include "app/layout.h"

#include "settings/ini_file.h"
#include "settings/settings_file.h"

namespace ls {

namespace {

constexpr std::size_t kFaceNameBytes = 31;

int low16(int v) { return static_cast<short>(static_cast<unsigned short>(v & 0xFFFF)); }

void writeInt(std::string_view path, const char* section, const char* key, int value) {
  writeProfileString(path, section, key, std::to_string(value));
}

}  // namespace

WindowRect readWindowRect(std::string_view path) {
  WindowRect r;
  r.left = readProfileInt(path, kWindow, kLeft, 0);
  r.right = readProfileInt(path, kWindow, kRight, 300);
  r.top = readProfileInt(path, kWindow, kTop, 0);
  r.bottom = readProfileInt(path, kWindow, kBottom, 200);
  return r;
}

void writeWindowRect(std::string_view path, const WindowRect& r) {
  writeInt(path, kWindow, kLeft, r.left);
  writeInt(path, kWindow, kTop, r.top);
  writeInt(path, kWindow, kRight, r.right);
  writeInt(path, kWindow, kBottom, r.bottom);
}

std::array<int, 3> readColumnWidths(std::string_view path) {
  return {low16(readProfileInt(path, kLISTVIEW, kTITLE, 200)), low16(readProfileInt(path, kLISTVIEW, kSITE, 100)),
          low16(readProfileInt(path, kLISTVIEW, kURL, 200))};
}

void writeColumnWidths(std::string_view path, const std::array<int, 3>& w) {
  writeInt(path, kLISTVIEW, kTITLE, w[0]);
  writeInt(path, kLISTVIEW, kSITE, w[1]);
  writeInt(path, kLISTVIEW, kURL, w[2]);
}

ListFont readListFont(std::string_view path) {
  auto byte = [&](const char* key, int def) {
    return static_cast<unsigned char>(readProfileInt(path, kLIST_FONT, key, def) & 0xFF);
  };
  ListFont f;
  f.height = readProfileInt(path, kLIST_FONT, kHeight, -12);
  f.width = readProfileInt(path, kLIST_FONT, kWidth, 0);
  f.escapement = readProfileInt(path, kLIST_FONT, kEscapement, 0);
  f.orientation = readProfileInt(path, kLIST_FONT, kOrientation, 0);
  f.weight = readProfileInt(path, kLIST_FONT, kWeight, 400);
  f.italic = byte(kItalic, 0);
  f.underline = byte(kUnderline, 0);
  f.strikeout = byte(kStrikeout, 0);
  f.charset = byte(kCharset, 128);
  f.outPrecision = byte(kOutPrecision, 3);
  f.clipPrecision = byte(kClipPrecision, 2);
  f.quality = byte(kQuality, 1);
  f.pitchAndFamily = byte(kPitchAndFamily, 50);
  f.faceName = readProfileString(path, kLIST_FONT, kFaceName, "MS UI Gothic", kFaceNameBytes);
  return f;
}

void writeListFont(std::string_view path, const ListFont& f) {
  writeInt(path, kLIST_FONT, kHeight, f.height);
  writeInt(path, kLIST_FONT, kWidth, f.width);
  writeInt(path, kLIST_FONT, kEscapement, f.escapement);
  writeInt(path, kLIST_FONT, kOrientation, f.orientation);
  writeInt(path, kLIST_FONT, kWeight, f.weight);
  writeInt(path, kLIST_FONT, kItalic, f.italic);
  writeInt(path, kLIST_FONT, kUnderline, f.underline);
  writeInt(path, kLIST_FONT, kStrikeout, f.strikeout);
  writeInt(path, kLIST_FONT, kCharset, f.charset);
  writeInt(path, kLIST_FONT, kOutPrecision, f.outPrecision);
  writeInt(path, kLIST_FONT, kClipPrecision, f.clipPrecision);
  writeInt(path, kLIST_FONT, kQuality, f.quality);
  writeInt(path, kLIST_FONT, kPitchAndFamily, f.pitchAndFamily);
  writeProfileString(path, kLIST_FONT, kFaceName, f.faceName);
}

std::array<int, 2> statusPartEdges(int clientWidth) { return {clientWidth / 10 * 3, clientWidth}; }

}  // namespace ls

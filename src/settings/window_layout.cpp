#include "settings/window_layout.h"

#include "common/dpi_scale.h"
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

namespace {

// The fields of the font description in their keys' order: the signed ones,
// then the single bytes, which keep the low 8 bits of their values.
struct IntField {
  const char* key;
  int ListFont::*field;
  int def;
};
constexpr IntField kIntFields[] = {{kHeight, &ListFont::height, -12},
                                   {kWidth, &ListFont::width, 0},
                                   {kEscapement, &ListFont::escapement, 0},
                                   {kOrientation, &ListFont::orientation, 0},
                                   {kWeight, &ListFont::weight, 400}};
struct ByteField {
  const char* key;
  unsigned char ListFont::*field;
  int def;
};
constexpr ByteField kByteFields[] = {{kItalic, &ListFont::italic, 0},
                                     {kUnderline, &ListFont::underline, 0},
                                     {kStrikeout, &ListFont::strikeout, 0},
                                     {kCharset, &ListFont::charset, 128},
                                     {kOutPrecision, &ListFont::outPrecision, 3},
                                     {kClipPrecision, &ListFont::clipPrecision, 2},
                                     {kQuality, &ListFont::quality, 1},
                                     {kPitchAndFamily, &ListFont::pitchAndFamily, 50}};

}  // namespace

ListFont readListFont(std::string_view path) {
  ListFont f;
  for (const IntField& i : kIntFields) f.*i.field = readProfileInt(path, kLIST_FONT, i.key, i.def);
  for (const ByteField& b : kByteFields) {
    f.*b.field = static_cast<unsigned char>(readProfileInt(path, kLIST_FONT, b.key, b.def) & 0xFF);
  }
  f.faceName = readProfileString(path, kLIST_FONT, kFaceName, "MS UI Gothic", kFaceNameBytes);
  return f;
}

void writeListFont(std::string_view path, const ListFont& f) {
  for (const IntField& i : kIntFields) writeInt(path, kLIST_FONT, i.key, f.*i.field);
  for (const ByteField& b : kByteFields) writeInt(path, kLIST_FONT, b.key, f.*b.field);
  writeProfileString(path, kLIST_FONT, kFaceName, f.faceName);
}

WindowRect rectToDpi(const WindowRect& r, int dpi) {
  return {scaleToDpi(r.left, dpi), scaleToDpi(r.top, dpi), scaleToDpi(r.right, dpi), scaleToDpi(r.bottom, dpi)};
}

WindowRect rectFromDpi(const WindowRect& r, int dpi) {
  return {scaleFromDpi(r.left, dpi), scaleFromDpi(r.top, dpi), scaleFromDpi(r.right, dpi),
          scaleFromDpi(r.bottom, dpi)};
}

std::array<int, 2> statusPartEdges(int clientWidth) { return {clientWidth / 10 * 3, clientWidth}; }

}  // namespace ls

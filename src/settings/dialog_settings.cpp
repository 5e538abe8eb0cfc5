#include "settings/dialog_settings.h"

#include <cstdlib>

#include "common/text.h"
#include "settings/ini_file.h"
#include "settings/settings_file.h"

namespace ls {

namespace {

constexpr std::size_t kValueBytes = 499;
constexpr std::size_t kProxyNameBytes = 254;
constexpr std::size_t kPathBytes = 259;

// A flag shows as set when its stored text holds a 1 anywhere ("10" too).
bool flagOf(std::string_view path, const char* section, const char* key) {
  return contains(readProfileString(path, section, key, "0", kValueBytes), "1");
}

std::string value(std::string_view path, const char* section, const char* key, const char* def,
                  std::size_t bytes = kValueBytes) {
  return readProfileString(path, section, key, def, bytes);
}

bool put(std::string_view path, const char* section, const char* key, std::string_view text) {
  return writeProfileString(path, section, key, text);
}

const char* flagText(bool on) { return on ? "1" : "0"; }

}  // namespace

const std::array<const char*, kColourCount> kColourNames = {
    "黒", "白", "青", "赤", "緑", "黄", "茶", "灰", "紫", "水色", "オレンジ", "ピンク"};
const std::array<Rgb, kColourCount> kColours = {{{0, 0, 0},
                                                 {255, 255, 255},
                                                 {0, 0, 255},
                                                 {255, 0, 0},
                                                 {0, 255, 0},
                                                 {255, 255, 0},
                                                 {128, 0, 0},
                                                 {128, 128, 128},
                                                 {255, 0, 255},
                                                 {0, 255, 255},
                                                 {255, 128, 0},
                                                 {255, 0, 128}}};

DialogSettings loadDialogSettings(std::string_view path, const std::string& intervalText,
                                  const std::string& listText) {
  DialogSettings s;
  s.interval = intervalText;
  s.list = listText;
  s.sound = flagOf(path, kSETTING, kSOUND);
  s.notify = readNoticeSetting(path);
  s.showStyle = flagOf(path, kSETTING, kSHOWSTYLE);
  s.taskTray = flagOf(path, kSETTING, kTASKTRAY);
  int proxy = parseInt(value(path, kSETTING, kPROXY, "0"));
  s.proxy = proxy == 1 || proxy == 2 ? proxy : 0;
  s.proxyName = value(path, kSETTING, kPROXYNAME, "none");
  s.keyword = value(path, kSETTING, kKEYWORD, "");
  s.deleteList = value(path, kSETTING, kDELETE, "");
  s.disregard = value(path, kSETTING, kDISREGARD, "");
  s.disregardUrl = value(path, kSETTING, kDISREGARDURL, "");
  s.fontColor = readProfileInt(path, kLIST_FONT, kFontColor, 0);
  s.fontBkColor = readProfileInt(path, kLIST_FONT, kFontBkColor, 1);
  s.background = flagOf(path, kLIST_FONT, kBACKGROUND);
  s.bgPath = value(path, kLIST_FONT, kBG_PATH, "", kPathBytes);
  return s;
}

std::string correctInterval(const std::string& text) {
  std::int64_t v = parseLeadingInt(text);
  if (v < 1) return "1";
  if (v >= 120) return "120";
  return text;
}

std::string correctListSize(const std::string& text) {
  std::int64_t v = parseLeadingInt(text);
  if (v <= 50) return "50";
  if (v >= 5000) return "5000";
  return text;
}

bool saveDialogSettings(std::string_view path, const DialogSettings& s) {
  bool saved = true;
  saved &= put(path, kSETTING, kINTERVAL, s.interval);
  saved &= put(path, kSETTING, kLIST, s.list);
  saved &= put(path, kSETTING, kSOUND, flagText(s.sound));
  saved &= put(path, kSETTING, kNOTIFY, flagText(s.notify));
  saved &= put(path, kSETTING, kSHOWSTYLE, flagText(s.showStyle));
  saved &= put(path, kSETTING, kPROXY, s.proxy == 0 ? "0" : s.proxy == 1 ? "1" : "2");
  saved &= put(path, kSETTING, kPROXYNAME, cutToBytes(s.proxyName, kProxyNameBytes));
  saved &= put(path, kLIST_FONT, kFontColor, std::to_string(s.fontColor));
  saved &= put(path, kLIST_FONT, kFontBkColor, std::to_string(s.fontBkColor));
  saved &= put(path, kSETTING, kKEYWORD, cutToBytes(s.keyword, kValueBytes));
  saved &= put(path, kSETTING, kDELETE, cutToBytes(s.deleteList, kValueBytes));
  saved &= put(path, kSETTING, kDISREGARD, cutToBytes(s.disregard, kValueBytes));
  saved &= put(path, kSETTING, kDISREGARDURL, cutToBytes(s.disregardUrl, kValueBytes));
  saved &= put(path, kLIST_FONT, kBACKGROUND, flagText(s.background));
  saved &= put(path, kLIST_FONT, kBG_PATH, cutToBytes(s.bgPath, kPathBytes));
  return saved;
}

bool trayChoiceChanged(std::string_view path, bool checked) {
  int stored = std::abs(readProfileInt(path, kSETTING, kTASKTRAY, 0));
  return stored != (checked ? 1 : 0);
}

ListColours readListColours(std::string_view path) {
  auto pick = [](int index, Rgb fallback) { return index >= 0 && index < kColourCount ? kColours[index] : fallback; };
  int text = readProfileInt(path, kLIST_FONT, kFontColor, 0);
  int back = readProfileInt(path, kLIST_FONT, kFontBkColor, 1);
  // A colour outside the table: the default black text on white, both.
  if (text < 0 || text >= kColourCount || back < 0 || back >= kColourCount) return {kColours[0], kColours[1]};
  return {pick(text, kColours[0]), pick(back, kColours[1])};
}

std::string backgroundPicture(std::string_view path) {
  std::string bg = value(path, kLIST_FONT, kBG_PATH, "", kPathBytes);
  if (readProfileInt(path, kLIST_FONT, kBACKGROUND, 0) != 1 || bg.size() < 4) return std::string();
  return bg;
}

}  // namespace ls

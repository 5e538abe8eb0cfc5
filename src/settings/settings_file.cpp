#include "settings/settings_file.h"

#include "common/file_text.h"
#include "common/file_io.h"
#include "common/paths.h"
#include "settings/ini_file.h"
#include "settings/profile_cache.h"

namespace ls {

namespace {

struct Entry {
  const char* section;
  const char* key;
  const char* value;
};

// In the order they are written; DELETE and DISREGARDURL come last and so
// join the end of the SETTING section written before LIST_FONT.
constexpr Entry kFirstRun[] = {
    {kWindow, kLeft, "0"},
    {kWindow, kTop, "0"},
    {kWindow, kRight, "400"},
    {kWindow, kBottom, "200"},
    {kLISTVIEW, kTITLE, "200"},
    {kLISTVIEW, kSITE, "100"},
    {kLISTVIEW, kURL, "200"},
    {kSETTING, kINTERVAL, "10"},
    {kSETTING, kLIST, "700"},
    {kSETTING, kSOUND, "0"},
    {kSETTING, kPROXY, "0"},
    {kSETTING, kPROXYNAME, ""},
    {kSETTING, kTASKTRAY, "0"},
    {kLIST_FONT, kHeight, "-12"},
    {kLIST_FONT, kWidth, "0"},
    {kLIST_FONT, kEscapement, "0"},
    {kLIST_FONT, kOrientation, "0"},
    {kLIST_FONT, kWeight, "400"},
    {kLIST_FONT, kItalic, "0"},
    {kLIST_FONT, kUnderline, "0"},
    {kLIST_FONT, kStrikeout, "0"},
    {kLIST_FONT, kCharset, "128"},
    {kLIST_FONT, kOutPrecision, "3"},
    {kLIST_FONT, kClipPrecision, "2"},
    {kLIST_FONT, kQuality, "1"},
    {kLIST_FONT, kPitchAndFamily, "50"},
    {kLIST_FONT, kFaceName, "MS UI Gothic"},
    {kSETTING, kDELETE, "&nbsp;,&gt;"},
    {kSETTING, kDISREGARDURL, "target=main style=text-decoration:none"},
};

}  // namespace

std::optional<AppPaths> computeAppPaths(std::string_view executablePath) {
  std::string directory = applicationDirectory(executablePath);
  if (directory.empty()) return std::nullopt;
  AppPaths paths;
  paths.settingsFile = joinPath(directory, kSettingsFileName);
  paths.directory = std::move(directory);
  return paths;
}

IntervalAndList readIntervalAndList(std::string_view settingsFile) {
  return {readProfileString(settingsFile, kSETTING, kINTERVAL, "10", kHolderBytes),
          readProfileString(settingsFile, kSETTING, kLIST, "500", kHolderBytes)};
}

bool writeFirstRunSettings(std::string_view settingsFile) {
  // One rewrite instead of one per key: the same content, and a crash
  // cannot leave a file with only some of the keys.
  std::string text;
  if (isPlainFile(settingsFile)) {
    std::optional<std::string> old = readWholeFile(settingsFile);
    if (!old) return false;
    text = fileTextToSjis(std::move(*old));
  }
  for (const Entry& e : kFirstRun) updateProfileText(text, e.section, e.key, e.value);
  bool written = rewriteFile(settingsFile, text);
  forgetProfile(settingsFile);
  return written;
}

int readListLength(std::string_view settingsFile) {
  return readProfileInt(settingsFile, kSETTING, kLIST, 500);
}

int readSettingFlag(std::string_view settingsFile, std::string_view key) {
  return readProfileInt(settingsFile, kSETTING, key, 0);
}

bool readNoticeSetting(std::string_view settingsFile) {
  return readProfileInt(settingsFile, kSETTING, kNOTIFY, 1) != 0;
}

std::string readWordList(std::string_view settingsFile, std::string_view key) {
  return readProfileString(settingsFile, kSETTING, key, "", kWordListBytes);
}

}  // namespace ls

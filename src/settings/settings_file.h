// The settings file "LINKSCOUT.ini" in the application directory: its
// location, its section and key names, the first-run content and the readers
// that several parts of the program share. Every other key is read where it
// is used, through settings/ini_file.h, with that reader's own default.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ls {

inline constexpr const char* kSettingsFileName = "LINKSCOUT.ini";

// Sections.
inline constexpr const char* kSETTING = "SETTING";
inline constexpr const char* kWindow = "Window";
inline constexpr const char* kLISTVIEW = "LISTVIEW";
inline constexpr const char* kLIST_FONT = "LIST_FONT";
inline constexpr const char* kLOGWINDOW = "LOGWINDOW";

// Keys of "SETTING".
inline constexpr const char* kINTERVAL = "INTERVAL";
inline constexpr const char* kPARALLEL = "PARALLEL";
inline constexpr const char* kLIST = "LIST";
inline constexpr const char* kSOUND = "SOUND";
inline constexpr const char* kSHOWSTYLE = "SHOWSTYLE";
inline constexpr const char* kTASKTRAY = "TASKTRAY";
inline constexpr const char* kNOTIFY = "NOTIFY";
inline constexpr const char* kPROXY = "PROXY";
inline constexpr const char* kPROXYNAME = "PROXYNAME";
inline constexpr const char* kKEYWORD = "KEYWORD";
inline constexpr const char* kDELETE = "DELETE";
inline constexpr const char* kDISREGARD = "DISREGARD";
inline constexpr const char* kDISREGARDURL = "DISREGARDURL";

// Rectangle keys of "Window" and "LOGWINDOW"; "LOGWINDOW" also has SHOW.
inline constexpr const char* kLeft = "left";
inline constexpr const char* kTop = "top";
inline constexpr const char* kRight = "right";
inline constexpr const char* kBottom = "bottom";
inline constexpr const char* kSHOW = "SHOW";

// Column widths of "LISTVIEW".
inline constexpr const char* kTITLE = "TITLE";
inline constexpr const char* kSITE = "SITE";
inline constexpr const char* kURL = "URL";

// "LIST_FONT": the fields of a logical font in their declared order, then
// the colours and the background picture.
inline constexpr const char* kHeight = "height";
inline constexpr const char* kWidth = "width";
inline constexpr const char* kEscapement = "escapement";
inline constexpr const char* kOrientation = "orientation";
inline constexpr const char* kWeight = "weight";
inline constexpr const char* kItalic = "italic";
inline constexpr const char* kUnderline = "underline";
inline constexpr const char* kStrikeout = "strikeout";
inline constexpr const char* kCharset = "charset";
inline constexpr const char* kOutPrecision = "outprecision";
inline constexpr const char* kClipPrecision = "clipprecision";
inline constexpr const char* kQuality = "quality";
inline constexpr const char* kPitchAndFamily = "pitchandfamily";
inline constexpr const char* kFaceName = "facename";
inline constexpr const char* kFontColor = "fontcolor";
inline constexpr const char* kFontBkColor = "fontbkcolor";
inline constexpr const char* kBACKGROUND = "BACKGROUND";
inline constexpr const char* kBG_PATH = "BG_PATH";

// The interval and list-length texts hold at most 9 bytes.
inline constexpr std::size_t kHolderBytes = 9;
// KEYWORD, DELETE, DISREGARD and DISREGARDURL are read as at most 499 bytes.
inline constexpr std::size_t kWordListBytes = 499;

struct AppPaths {
  std::string directory;     // ends in the path separator
  std::string settingsFile;  // directory + "LINKSCOUT.ini"
};

// From the full path of the running executable; nothing when the path has no
// separator, so no directory can be taken from it.
std::optional<AppPaths> computeAppPaths(std::string_view executablePath);

// The two settings kept as text while the program runs.
struct IntervalAndList {
  std::string interval;  // SETTING/INTERVAL, default "10"
  std::string list;      // SETTING/LIST, default "500"
};
IntervalAndList readIntervalAndList(std::string_view settingsFile);

// Writes the settings of a first run: Window, LISTVIEW, SETTING, LIST_FONT,
// then DELETE and DISREGARDURL at the end of SETTING. Keys already in the
// file are replaced in place. Returns false when the file cannot be written.
bool writeFirstRunSettings(std::string_view settingsFile);

// SETTING/LIST as a number, default 500: the most rows the news list keeps.
int readListLength(std::string_view settingsFile);

// A flag key of SETTING (kSOUND, kSHOWSTYLE, kTASKTRAY) as a number, default
// 0. Where a flag is acted on it is on only when this equals 1.
int readSettingFlag(std::string_view settingsFile, std::string_view key);

// SETTING/NOTIFY: whether a check that brought news shows a notice. On
// unless the key holds 0, so files without it get notices.
bool readNoticeSetting(std::string_view settingsFile);

// A comma list of SETTING (kKEYWORD, kDELETE, kDISREGARD, kDISREGARDURL),
// default empty, at most 499 bytes.
std::string readWordList(std::string_view settingsFile, std::string_view key);

}  // namespace ls

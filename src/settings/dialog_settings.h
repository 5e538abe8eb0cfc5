// What the settings dialog shows and writes back: every key with its rule
// for showing, the corrections of OK, the order of the writes, the colour
// table and the tray question.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace ls {

struct DialogSettings {
  std::string interval, list;  // the texts as shown and typed
  bool sound = false, showStyle = false, taskTray = false;
  bool notify = true;
  int proxy = 0;  // 0 none, 1 the system's, 2 named
  std::string proxyName;
  std::string keyword, deleteList, disregard, disregardUrl;
  int fontColor = 0, fontBkColor = 1;  // positions in the colour table
  bool background = false;
  std::string bgPath;
};

// The dialog's values when it opens, with the interval and list-size texts
// the program holds.
DialogSettings loadDialogSettings(std::string_view settingsFile, const std::string& intervalText,
                                  const std::string& listText);

// OK's corrections: an interval below 1 becomes "1", 120 or more "120"; a
// list size of 50 or less "50", 5000 or more "5000"; a value in range keeps
// the text as typed.
std::string correctInterval(const std::string& text);
std::string correctListSize(const std::string& text);

// Writes the keys in OK's order (INTERVAL, LIST, SOUND, NOTIFY, SHOWSTYLE, PROXY,
// PROXYNAME, fontcolor, fontbkcolor, KEYWORD, DELETE, DISREGARD,
// DISREGARDURL, BACKGROUND, BG_PATH), texts cut to their limits. TASKTRAY
// is not written here: it waits for the user's answer. False when a key
// could not be written (the file held open by another program, a read-only
// folder); the others are still tried.
bool saveDialogSettings(std::string_view settingsFile, const DialogSettings& s);

// Whether the tray box differs from the stored TASKTRAY (sign ignored).
bool trayChoiceChanged(std::string_view settingsFile, bool checked);

inline constexpr const char* kMsgTrayRestart =
    "タスクトレイの設定はLINKSCOUT再起動後に有効になります。\nキャンセルするとタスクトレイの設定は変更されません。\n終了してよろしいですか？";

struct Rgb {
  unsigned char r, g, b;
};
inline constexpr int kColourCount = 12;
extern const std::array<const char*, kColourCount> kColourNames;
extern const std::array<Rgb, kColourCount> kColours;

// The list's colours from LIST_FONT; an index outside the table gives black
// text on white.
struct ListColours {
  Rgb text, background;
};
ListColours readListColours(std::string_view settingsFile);

// The background picture to set, or empty: BACKGROUND 1 and a path of at
// least 4 bytes.
std::string backgroundPicture(std::string_view settingsFile);

}  // namespace ls

// The narrow interfaces through which the core reaches the platform. The
// shell implements them over real controls; the tests implement them in memory.
#pragma once

#include <string>

namespace ls {

// Icon indexes of the news list's image list.
enum NewsIcon : int {
  kIconNew = 0,             // ICON_LV
  kIconOpened = 1,          // ICON_LVNON
  kIconKeyword = 2,         // ICON_LVCK
  kIconKeywordOpened = 3,   // ICON_LVCK2
  kIconOld = 4,             // ICON_OLD
  kIconNone = 5,            // rows shown from a site log
};

// The news list: a report list with the columns headline, site name, URL.
class NewsList {
 public:
  virtual ~NewsList() = default;
  virtual int count() const = 0;
  // Inserts a row at `row` (0 is the top, count() the bottom) with the
  // headline in column 0 and empty other columns.
  virtual void insertRow(int row, const std::string& headline, int icon) = 0;
  void insertTop(const std::string& headline, int icon) { insertRow(0, headline, icon); }
  virtual void setText(int row, int column, const std::string& text) = 0;
  virtual std::string text(int row, int column) const = 0;
  virtual int icon(int row) const = 0;
  virtual void setIcon(int row, int icon) = 0;
  virtual void deleteRow(int row) = 0;
  virtual void clear() = 0;
  // Paints at once, without waiting for the message loop to be idle.
  virtual void repaint() = 0;
  // The changes made from now until repaint() may reach the screen together
  // at repaint(), which the caller promises to call.
  virtual void holdPaint() {}
};

// What the core asks of the user interface.
class UserInterface {
 public:
  virtual ~UserInterface() = default;
  virtual void setStatus(int part, const std::string& text) = 0;
  // A modal message box with an OK button and the program's title.
  virtual void message(const std::string& text) = 0;
  // The same for a failure of the system itself (no socket), marked as an error.
  virtual void error(const std::string& text) { message(text); }
  // A check has ended: what the window put off painting while rows and
  // texts kept coming is painted now, so nothing is left to do once idle.
  virtual void paintPending() {}
};

}  // namespace ls

#include "engine/new_list.h"

#include <new>

#include "common/file_io.h"
#include "common/text.h"

namespace ls {

namespace {

// Saved texts are cut so that every line reads back whole: a text line is
// read as at most 999 bytes, and a headline of 999 would leave no room for
// the reader's line break in the original buffer.
constexpr std::size_t kHeadlineSaveBytes = 998;
constexpr std::size_t kColumnSaveBytes = 499;
constexpr std::size_t kTextReadBytes = 999;
constexpr std::size_t kIconReadBytes = 4;

}  // namespace

std::string newListPath(const EngineContext& ctx) {
  return ctx.logDir() + kNewListName + ".all.log";
}

bool saveNewList(const EngineContext& ctx) {
  NewsList& list = *ctx.news;
  std::string out;
  try {
    for (int row = 0; row < list.count(); ++row) {
      appendLine(out, cutToBytes(list.text(row, 0), kHeadlineSaveBytes));
      appendLine(out, std::to_string(list.icon(row)));
      appendLine(out, cutToBytes(list.text(row, 1), kColumnSaveBytes));
      appendLine(out, cutToBytes(list.text(row, 2), kColumnSaveBytes));
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  return rewriteFile(newListPath(ctx), out);
}

void loadNewList(const EngineContext& ctx) {
  NewsList& list = *ctx.news;
  list.clear();
  const std::string path = newListPath(ctx);
  if (!isPlainFile(path)) return;
  FilePtr f = openFile(path, "rb");
  if (!f) return;
  // The rows are painted together once they are all in.
  list.holdPaint();
  struct Paint {
    NewsList& list;
    ~Paint() { list.repaint(); }
  } paint{list};
  std::string line, iconLine;
  for (long n = 0; readLine(f.get(), line, kTextReadBytes); ++n) {
    const int row = static_cast<int>(n / 3);
    const int column = static_cast<int>(n % 3);
    if (column == 0) {
      // A file that ends after a headline gives that row icon 0.
      int icon = readLine(f.get(), iconLine, kIconReadBytes) ? parseInt(iconLine) : 0;
      list.insertRow(row, line, icon);
    } else {
      list.setText(row, column, line);
    }
  }
}

}  // namespace ls

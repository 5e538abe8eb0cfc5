#include "common/file_io.h"

#include <system_error>

#include "common/cp932.h"
#include "common/paths.h"
#include "common/text.h"

namespace ls {

namespace fs = std::filesystem;

fs::path toFsPath(std::string_view sjisPath) {
#ifdef _WIN32
  // Escapes of the system's own path come back as the characters they were.
  std::u16string wide = pathTextToUtf16(sjisPath);
  return fs::path(std::wstring(wide.begin(), wide.end()));
#else
  return fs::path(cp932ToUtf8(sjisPath));
#endif
}

FilePtr openFile(std::string_view sjisPath, const char* mode) {
  fs::path p = toFsPath(sjisPath);
#ifdef _WIN32
  std::wstring wmode(mode, mode + std::char_traits<char>::length(mode));
  return FilePtr(_wfopen(p.c_str(), wmode.c_str()));
#else
  return FilePtr(std::fopen(p.c_str(), mode));
#endif
}

bool entryExists(std::string_view sjisPath) { return isDirectory(sjisPath) || isPlainFile(sjisPath); }

bool isPlainFile(std::string_view sjisPath) {
  std::error_code ec;
  return fs::is_regular_file(toFsPath(sjisPath), ec);
}

bool isDirectory(std::string_view sjisPath) {
  std::error_code ec;
  return fs::is_directory(toFsPath(sjisPath), ec);
}

std::optional<std::uint64_t> fileSize(std::string_view sjisPath) {
  std::error_code ec;
  auto size = fs::file_size(toFsPath(sjisPath), ec);
  if (ec) return std::nullopt;
  return static_cast<std::uint64_t>(size);
}

bool removeFile(std::string_view sjisPath) {
  std::error_code ec;
  return fs::remove(toFsPath(sjisPath), ec);
}

bool renameFile(std::string_view from, std::string_view to) {
  std::error_code ec;
  fs::rename(toFsPath(from), toFsPath(to), ec);
  return !ec;
}

bool makeDirectory(std::string_view sjisPath) {
  std::error_code ec;
  fs::create_directory(toFsPath(sjisPath), ec);
  return !ec && isDirectory(sjisPath);
}

std::optional<std::string> readWholeFile(std::string_view sjisPath) {
  FilePtr f = openFile(sjisPath, "rb");
  if (!f) return std::nullopt;
  std::string data;
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0) data.append(buf, n);
  if (std::ferror(f.get())) return std::nullopt;
  return data;
}

bool rewriteFile(std::string_view sjisPath, std::string_view content) {
  std::string temp(sjisPath);
  temp += ".tmp";
  {
    FilePtr f = openFile(temp, "wb");
    if (!f) return false;
    bool ok = std::fwrite(content.data(), 1, content.size(), f.get()) == content.size();
    ok = std::fflush(f.get()) == 0 && ok;
    if (std::fclose(f.release()) != 0) ok = false;
    if (!ok) {
      removeFile(temp);
      return false;
    }
  }
  if (!renameFile(temp, sjisPath)) {
    removeFile(temp);
    return false;
  }
  return true;
}

bool appendToFile(std::string_view sjisPath, std::string_view bytes) {
  FilePtr f = openFile(sjisPath, "ab");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
  return std::fclose(f.release()) == 0 && ok;
}

bool readLine(std::FILE* f, std::string& line, std::size_t limit) {
  line.clear();
  bool any = false;
  int c;
  while ((c = std::getc(f)) != EOF) {
    any = true;
    if (c == '\n') break;
    line.push_back(static_cast<char>(c));
  }
  if (!any) return false;
  if (c == '\n' && !line.empty() && line.back() == '\r') line.pop_back();
  cutInPlace(line, limit);
  return true;
}

bool readLine(std::string_view& rest, std::string& line, std::size_t limit) {
  if (rest.empty()) return false;
  std::size_t lf = rest.find('\n');
  std::size_t end = lf == std::string_view::npos ? rest.size() : lf;
  line.assign(rest.substr(0, end));
  rest.remove_prefix(lf == std::string_view::npos ? end : end + 1);
  if (lf != std::string_view::npos && !line.empty() && line.back() == '\r') line.pop_back();
  cutInPlace(line, limit);
  return true;
}

void appendLine(std::string& out, std::string_view text) {
  out += text;
  out += "\r\n";
}

}  // namespace ls

// Files named by Shift_JIS paths, opened in binary mode on every platform so
// the bytes on disk are the same everywhere (line ends are written as CR LF
// explicitly).
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ls {

// The platform path for a Shift_JIS path (UTF-16 on Windows, UTF-8 elsewhere).
std::filesystem::path toFsPath(std::string_view sjisPath);

struct FileCloser {
  void operator()(std::FILE* f) const { if (f) std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// mode is one of "rb", "wb", "ab".
FilePtr openFile(std::string_view sjisPath, const char* mode);

// A directory, or a plain file (a directory does not count as a file).
bool entryExists(std::string_view sjisPath);
bool isPlainFile(std::string_view sjisPath);
bool isDirectory(std::string_view sjisPath);

std::optional<std::uint64_t> fileSize(std::string_view sjisPath);

// Missing files are no error for these two: they report false and change nothing.
bool removeFile(std::string_view sjisPath);
// Renames, replacing an existing target.
bool renameFile(std::string_view from, std::string_view to);

bool makeDirectory(std::string_view sjisPath);

// The whole file, or nothing when it cannot be read.
std::optional<std::string> readWholeFile(std::string_view sjisPath);

// Writes `content` to a temporary file beside `sjisPath` and renames it over
// the old file, so a crash or a full disk never leaves half a file. On
// failure the old file is kept and the temporary file removed.
bool rewriteFile(std::string_view sjisPath, std::string_view content);

// Appends `bytes`, creating the file if missing.
bool appendToFile(std::string_view sjisPath, std::string_view bytes);

// Reads one line: bytes up to the next LF or the end of the file; one
// trailing LF or CR LF is removed, nothing else. The whole line is always
// consumed; only its first `limit` bytes are kept (cut at a character
// boundary), so a long line is never split into two. Returns false at the end
// of the file when no byte could be read.
bool readLine(std::FILE* f, std::string& line, std::size_t limit = SIZE_MAX);
// The same over bytes already read: `rest` loses the line read.
bool readLine(std::string_view& rest, std::string& line, std::size_t limit = SIZE_MAX);

// Appends text and CR LF.
void appendLine(std::string& out, std::string_view text);

}  // namespace ls

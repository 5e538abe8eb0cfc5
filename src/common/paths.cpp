#include "common/paths.h"

#include "common/cp932.h"

namespace ls {

std::string applicationDirectory(std::string_view executablePath) {
  std::size_t at = executablePath.rfind(kPathSep);
  if (at == std::string_view::npos) return std::string();
  return std::string(executablePath.substr(0, at + 1));
}

std::string joinPath(std::string_view dir, std::string_view name) {
  std::string out(dir);
  out += name;
  return out;
}

std::string joinPath(std::string_view dir, std::string_view sub, std::string_view name) {
  std::string out(dir);
  out += sub;
  out += kPathSep;
  out += name;
  return out;
}

namespace {

constexpr unsigned char kEscape = 0xFF;
constexpr char kHex[] = "0123456789ABCDEF";

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The unit of an escape at `at`, or -1 when the bytes there are none.
long escapedUnit(std::string_view text, std::size_t at) {
  if (static_cast<unsigned char>(text[at]) != kEscape || at + 5 > text.size()) return -1;
  long unit = 0;
  for (std::size_t i = at + 1; i < at + 5; ++i) {
    int v = hexValue(text[i]);
    if (v < 0) return -1;
    unit = unit * 16 + v;
  }
  return unit;
}

}  // namespace

std::string pathTextFromUtf16(std::u16string_view path) {
  std::string out;
  for (char16_t unit : path) {
    std::uint16_t code = unit >= 0xD800 && unit <= 0xDFFF ? 0 : encodeCp932Char(unit);
    if (unit != 0 && code != 0 && decodeCp932Char(code) == unit) {
      if (code > 0xFF) out.push_back(static_cast<char>(code >> 8));
      out.push_back(static_cast<char>(code & 0xFF));
      continue;
    }
    out.push_back(static_cast<char>(kEscape));
    for (int shift = 12; shift >= 0; shift -= 4) out.push_back(kHex[(unit >> shift) & 0xF]);
  }
  return out;
}

std::u16string pathTextToUtf16(std::string_view pathText) {
  std::u16string out;
  std::size_t plain = 0;  // start of the Shift_JIS run not yet converted
  for (std::size_t i = 0; i < pathText.size();) {
    long unit = escapedUnit(pathText, i);
    if (unit < 0) {
      ++i;
      continue;
    }
    out += cp932ToUtf16(pathText.substr(plain, i - plain));
    out.push_back(static_cast<char16_t>(unit));
    i += 5;
    plain = i;
  }
  out += cp932ToUtf16(pathText.substr(plain));
  return out;
}

}  // namespace ls

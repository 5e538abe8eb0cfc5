#include "common/paths.h"

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

}  // namespace ls

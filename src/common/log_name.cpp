#include "common/log_name.h"

#include "common/text.h"

namespace ls {

namespace {

bool isDeviceName(std::string_view base) {
  static constexpr std::string_view kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (std::string_view device : kDevices)
    if (equalsIgnoreAsciiCase(base, device)) return true;
  // COM1 to COM9 and LPT1 to LPT9.
  return base.size() == 4 && (equalsIgnoreAsciiCase(base.substr(0, 3), "COM") ||
                              equalsIgnoreAsciiCase(base.substr(0, 3), "LPT")) &&
         base[3] >= '1' && base[3] <= '9';
}

}  // namespace

std::string logNameForm(std::string_view siteName) {
  std::string form = fileNameForm(siteName);
  const std::string newList(kNewListName);
  // "新着リスト.log" or "新着リスト.all.log" is the news list's file.
  if (equalsIgnoreAsciiCase(form, newList) || equalsIgnoreAsciiCase(form, newList + ".all"))
    return form.insert(newList.size(), "_");
  // No Shift_JIS trail byte is a '.' or a blank, so the base ends where it seems to.
  std::size_t baseEnd = form.find('.');
  if (baseEnd == std::string::npos) baseEnd = form.size();
  while (baseEnd > 0 && form[baseEnd - 1] == ' ') --baseEnd;
  if (isDeviceName(std::string_view(form).substr(0, baseEnd))) form.insert(baseEnd, "_");
  return form;
}

}  // namespace ls

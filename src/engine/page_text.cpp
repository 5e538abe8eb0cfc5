#include "engine/page_text.h"

#include <cstring>
#include <optional>

#include "common/text.h"
#include "engine/page_convert.h"

namespace ls {

std::string joinPageLines(std::string_view fileBytes) {
  std::string out;
  out.reserve(fileBytes.size());
  // Runs without a line feed or a NUL byte are copied whole.
  const char* p = fileBytes.data();
  const char* end = p + fileBytes.size();
  while (p < end) {
    const char* lf = static_cast<const char*>(std::memchr(p, '\n', end - p));
    const char* stop = lf ? lf : end;
    while (const char* nul = static_cast<const char*>(std::memchr(p, '\0', stop - p))) {
      out.append(p, nul);
      p = nul + 1;
    }
    out.append(p, stop);
    if (!lf) break;
    for (int i = 0; i < 2 && !out.empty() && out.back() == '\r'; ++i) out.pop_back();
    p = lf + 1;
  }
  return out;
}

std::string joinPageWords(std::string_view fileBytes) {
  std::string out;
  out.reserve(fileBytes.size());
  for (char c : fileBytes) {
    switch (c) {
      case '\0': case ' ': case '\t': case '\n': case '\r': case '\v': case '\f':
        continue;
      default:
        out.push_back(c);
    }
  }
  return out;
}

namespace {

constexpr std::string_view kOpen = "<!--";
constexpr std::string_view kClose = "-->";

bool endsWith(const std::string& s, std::string_view tail) {
  return s.size() >= tail.size() && std::memcmp(s.data() + s.size() - tail.size(), tail.data(), tail.size()) == 0;
}

}  // namespace

void removeComments(std::string& text) {
  const std::string_view in(text);
  if (in.find(kOpen) == std::string_view::npos) return;
  std::string out;
  out.reserve(in.size());
  std::size_t i = 0;  // next unread byte of the input
  for (;;) {
    // `out` holds no "<!--"; the first one of out + in[i..] either straddles
    // the join (starting in the last three bytes of out) or lies in in[i..].
    std::string_view rest = in.substr(i);
    std::size_t k = 0;  // bytes of the "<!--" that stand at the end of out
    for (std::size_t t = 3; t >= 1; --t) {
      if (endsWith(out, kOpen.substr(0, t)) && rest.substr(0, 4 - t) == kOpen.substr(t)) {
        k = t;
        break;
      }
    }
    std::size_t closeAt;  // index in `in` of the "-->" that ends the comment
    if (k > 0) {
      out.resize(out.size() - k);
      std::size_t openEnd = i + (4 - k);  // first input byte after the "<!--"
      if (k == 3 && openEnd < in.size() && in[openEnd] == '>') {
        // "<!-" + "->": the comment's own "--" followed by '>'.
        i = openEnd + 1;
        continue;
      }
      // The "-->" may begin on the "<!--"'s own "--" (combined index 2).
      std::size_t from = (k == 1) ? i + 1 : i;
      closeAt = in.find(kClose, from);
    } else {
      std::size_t openAt = in.find(kOpen, i);
      if (openAt == std::string_view::npos) {
        out.append(rest);
        break;
      }
      out.append(in.substr(i, openAt - i));
      closeAt = in.find(kClose, openAt + 2);
    }
    if (closeAt == std::string_view::npos) break;  // the comment runs to the end
    i = closeAt + kClose.size();
  }
  text.swap(out);
}

namespace {

// The received bytes of a page file: the page file stores each received
// line feed as CR LF.
std::string receivedBytes(std::string_view fileBytes) {
  std::string out;
  out.reserve(fileBytes.size());
  for (std::size_t i = 0; i < fileBytes.size(); ++i) {
    if (fileBytes[i] == '\r' && i + 1 < fileBytes.size() && fileBytes[i + 1] == '\n') continue;
    out.push_back(fileBytes[i]);
  }
  return out;
}

template <typename Join>
std::string convertedText(std::string_view fileBytes, Join join) {
  std::optional<ByteOrderMark> mark = findByteOrderMark(fileBytes);
  if (mark && (mark->encoding == PageEncoding::Utf16Le || mark->encoding == PageEncoding::Utf16Be)) {
    std::string received = receivedBytes(fileBytes);
    std::string text = join(convertPageAs(received, mark->encoding));
    cutInPlace(text, fileBytes.size() * 13 / 10);
    return text;
  }
  return convertPageToSjis(join(fileBytes));
}

}  // namespace

std::string scanTextOf(std::string_view fileBytes) { return convertedText(fileBytes, joinPageLines); }

std::string listingTextOf(std::string_view fileBytes) { return convertedText(fileBytes, joinPageWords); }

}  // namespace ls

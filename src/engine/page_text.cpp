#include "engine/page_text.h"

#include <cstring>
#include <optional>

#include "common/text.h"
#include "engine/byte_blocks.h"
#include "engine/page_convert.h"

namespace ls {

void joinPageLinesInPlace(std::string& text) {
  // The text only shrinks, so it is written over itself behind the reading.
  char* const base = text.empty() ? nullptr : &text[0];
  const char* p = base;
  const char* const end = base + text.size();
  char* w = base;
  auto keep = [&w](const char* from, const char* to) {
    if (w != from) std::memmove(w, from, static_cast<std::size_t>(to - from));
    w += to - from;
  };
  // Runs without a line feed or a NUL byte are kept whole.
  while (p < end) {
    const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    const char* stop = lf ? lf : end;
    const char* const lineStart = w;
    while (const char* nul = static_cast<const char*>(std::memchr(p, '\0', static_cast<std::size_t>(stop - p)))) {
      keep(p, nul);
      p = nul + 1;
    }
    keep(p, stop);
    if (!lf) break;
    // Only this line's own returns go: one left over from the line before
    // belongs to that line's text.
    for (int i = 0; i < 2 && w > lineStart && w[-1] == '\r'; ++i) --w;
    p = lf + 1;
  }
  text.resize(static_cast<std::size_t>(w - base));
}

std::string joinPageLines(std::string_view fileBytes) {
  std::string out(fileBytes);
  joinPageLinesInPlace(out);
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

// The first "<!--" at or after `from`: blocks are sifted for '!', which
// markup seldom has outside comments, two at a time.
std::size_t findOpen(std::string_view text, std::size_t from) {
  const char* const s = text.data();
  const std::size_t n = text.size();
  std::size_t at = from;
  auto opensAt = [&](std::size_t bang) {
    return bang > from && bang + 3 <= n && s[bang - 1] == '<' && s[bang + 1] == '-' && s[bang + 2] == '-';
  };
  for (; at + 2 * blocks::kBlock <= n; at += 2 * blocks::kBlock) {
    unsigned m = blocks::blockMask(s + at, '!') | blocks::blockMask(s + at + blocks::kBlock, '!') << blocks::kBlock;
    for (; m != 0; m &= m - 1) {
      const std::size_t bang = at + blocks::lowestBit(m);
      if (opensAt(bang)) return bang - 1;
    }
  }
  for (; at < n; ++at)
    if (s[at] == '!' && opensAt(at)) return at - 1;
  return std::string_view::npos;
}

// The first "-->" at or after `from`.
std::size_t findClose(std::string_view text, std::size_t from) {
  const char* const s = text.data();
  const std::size_t n = text.size();
  std::size_t at = from;
  for (; at + blocks::kBlock + 2 <= n; at += blocks::kBlock) {
    const unsigned m = blocks::pairMask(s + at, '-', '-') & blocks::blockMask(s + at + 2, '>');
    if (m != 0) return at + blocks::lowestBit(m);
  }
  for (; at + kClose.size() <= n; ++at)
    if (std::memcmp(s + at, kClose.data(), kClose.size()) == 0) return at;
  return std::string_view::npos;
}

}  // namespace

void removeComments(std::string& text) {
  const std::string_view in(text);
  std::size_t i = findOpen(in, 0);  // next unread byte of the input
  if (i == std::string_view::npos) return;
  // The text only shrinks: what is kept (out, the first w bytes) is written
  // over the text behind the reading, which never looks back past i.
  char* const out = &text[0];
  std::size_t w = i;
  auto endsWith = [&](std::string_view tail) {
    return w >= tail.size() && std::memcmp(out + w - tail.size(), tail.data(), tail.size()) == 0;
  };
  auto keep = [&](std::size_t from, std::size_t to) {
    if (w != from) std::memmove(out + w, in.data() + from, to - from);
    w += to - from;
  };
  for (;;) {
    // `out` holds no "<!--"; the first one of out + in[i..] either straddles
    // the join (starting in the last three bytes of out) or lies in in[i..].
    std::string_view rest = in.substr(i);
    std::size_t k = 0;  // bytes of the "<!--" that stand at the end of out
    const char tail = w > 0 ? out[w - 1] : '\0';
    for (std::size_t t = 3; t >= 1 && (tail == '<' || tail == '!' || tail == '-'); --t) {
      if (endsWith(kOpen.substr(0, t)) && rest.substr(0, 4 - t) == kOpen.substr(t)) {
        k = t;
        break;
      }
    }
    std::size_t closeAt;  // index in `in` of the "-->" that ends the comment
    if (k > 0) {
      w -= k;
      std::size_t openEnd = i + (4 - k);  // first input byte after the "<!--"
      if (k == 3 && openEnd < in.size() && in[openEnd] == '>') {
        // "<!-" + "->": the comment's own "--" followed by '>'.
        i = openEnd + 1;
        continue;
      }
      // The "-->" may begin on the "<!--"'s own "--" (combined index 2).
      std::size_t from = (k == 1) ? i + 1 : i;
      closeAt = findClose(in, from);
    } else {
      std::size_t openAt = findOpen(in, i);
      if (openAt == std::string_view::npos) {
        keep(i, in.size());
        break;
      }
      keep(i, openAt);
      // The "-->" may begin on the "<!--"'s own "--" ("<!-->").
      closeAt = in.substr(openAt + 2, 3) == kClose ? openAt + 2 : findClose(in, openAt + 3);
    }
    if (closeAt == std::string_view::npos) break;  // the comment runs to the end
    i = closeAt + kClose.size();
  }
  text.resize(w);
}

std::string receivedBytes(std::string_view fileBytes) {
  std::string out;
  out.reserve(fileBytes.size());
  for (std::size_t i = 0; i < fileBytes.size(); ++i) {
    if (fileBytes[i] == '\r' && i + 1 < fileBytes.size() && fileBytes[i + 1] == '\n') continue;
    out.push_back(fileBytes[i]);
  }
  return out;
}

namespace {

bool isUtf16(const std::optional<ByteOrderMark>& mark) {
  return mark && (mark->encoding == PageEncoding::Utf16Le || mark->encoding == PageEncoding::Utf16Be);
}

template <typename Join>
std::string utf16Text(std::string_view fileBytes, PageEncoding encoding, Join join) {
  std::string received = receivedBytes(fileBytes);
  std::string text = join(convertPageAs(received, encoding));
  cutInPlace(text, fileBytes.size() * 13 / 10);
  return text;
}

}  // namespace

void scanTextInPlace(std::string& fileBytes) {
  std::optional<ByteOrderMark> mark = findByteOrderMark(fileBytes);
  if (isUtf16(mark)) {
    fileBytes = utf16Text(fileBytes, mark->encoding, joinPageLines);
    return;
  }
  joinPageLinesInPlace(fileBytes);
  convertPageToSjisInPlace(fileBytes);
}

std::string scanTextOf(std::string_view fileBytes) {
  std::string text(fileBytes);
  scanTextInPlace(text);
  return text;
}

std::string listingTextOf(std::string_view fileBytes) {
  std::optional<ByteOrderMark> mark = findByteOrderMark(fileBytes);
  if (isUtf16(mark)) return utf16Text(fileBytes, mark->encoding, joinPageWords);
  return convertPageToSjis(joinPageWords(fileBytes));
}

}  // namespace ls

// Sixteen-byte block searches for the page scan: the bytes of one block that
// equal any of a few values, as a bit mask, so that a walk over markup visits
// only the bytes it reacts to instead of calling memchr for each of them.
// SSE2 where the target has it (every x64 build), else byte by byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#define LS_BYTE_BLOCKS_SSE2 1
#include <emmintrin.h>
#endif
#if defined(_MSC_VER) && !defined(__clang__)
#include <intrin.h>
#endif

namespace ls::blocks {

inline constexpr std::size_t kBlock = 16;

// Index of the lowest set bit of a non-zero mask.
inline unsigned lowestBit(unsigned mask) {
#if defined(_MSC_VER) && !defined(__clang__)
  unsigned long at;
  _BitScanForward(&at, mask);
  return static_cast<unsigned>(at);
#else
  return static_cast<unsigned>(__builtin_ctz(mask));
#endif
}

// Bit k is set when s[k] == a: reads exactly 16 bytes at s.
inline unsigned blockMask(const char* s, char a) {
#ifdef LS_BYTE_BLOCKS_SSE2
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8(a))));
#else
  unsigned mask = 0;
  for (std::size_t k = 0; k < kBlock; ++k)
    if (s[k] == a) mask |= 1u << k;
  return mask;
#endif
}

// Bit k is set when s[k] == '=' and s[k - 1] is 'f' or 'F': the ends of
// "href=" and "basehref=" in either case, which the page scan looks for
// while other '=' are many. Reads s[-1..16).
inline unsigned fEqualsMask(const char* s) {
#ifdef LS_BYTE_BLOCKS_SSE2
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
  const __m128i before = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s - 1)), _mm_set1_epi8(0x20));
  return static_cast<unsigned>(
      _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('=')), _mm_cmpeq_epi8(before, _mm_set1_epi8('f')))));
#else
  const char* const before = s - 1;
  unsigned mask = 0;
  for (std::size_t k = 0; k < kBlock; ++k)
    if (s[k] == '=' && (before[k] | 0x20) == 'f') mask |= 1u << k;
  return mask;
#endif
}

// The same with the '<' and '>' of the block.
inline unsigned tagOrFEqualsMask(const char* s) {
#ifdef LS_BYTE_BLOCKS_SSE2
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
  const __m128i tags = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('<')), _mm_cmpeq_epi8(v, _mm_set1_epi8('>')));
  const __m128i before = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s - 1)), _mm_set1_epi8(0x20));
  const __m128i fEquals = _mm_and_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('=')), _mm_cmpeq_epi8(before, _mm_set1_epi8('f')));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(tags, fEquals)));
#else
  unsigned mask = fEqualsMask(s);
  for (std::size_t k = 0; k < kBlock; ++k)
    if (s[k] == '<' || s[k] == '>') mask |= 1u << k;
  return mask;
#endif
}

// Both for the n < 16 bytes at s.
inline unsigned fEqualsTailMask(const char* s, std::size_t n) {
  const char* const before = s - 1;
  unsigned mask = 0;
  for (std::size_t k = 0; k < n; ++k)
    if (s[k] == '=' && (before[k] | 0x20) == 'f') mask |= 1u << k;
  return mask;
}
inline unsigned tagOrFEqualsTailMask(const char* s, std::size_t n) {
  unsigned mask = fEqualsTailMask(s, n);
  for (std::size_t k = 0; k < n; ++k)
    if (s[k] == '<' || s[k] == '>') mask |= 1u << k;
  return mask;
}

// Bit k is set when s[k] == a and s[k + 1] == b: reads 17 bytes at s.
inline unsigned pairMask(const char* s, char a, char b) {
#ifdef LS_BYTE_BLOCKS_SSE2
  const __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
  const __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 1));
  return static_cast<unsigned>(
      _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(v0, _mm_set1_epi8(a)), _mm_cmpeq_epi8(v1, _mm_set1_epi8(b)))));
#else
  unsigned mask = 0;
  for (std::size_t k = 0; k < kBlock; ++k)
    if (s[k] == a && s[k + 1] == b) mask |= 1u << k;
  return mask;
#endif
}

// The first `c` in s[from..n), or npos: memchr for the short ways inside one
// anchor, without the call. What is left after the whole blocks is looked
// at as the block that ends the text, so short texts cost one block or two.
inline std::size_t findByte(const char* s, std::size_t n, std::size_t from, char c) {
  std::size_t at = from;
  if (n >= kBlock) {
    for (; at + kBlock <= n; at += kBlock)
      if (unsigned m = blockMask(s + at, c)) return at + lowestBit(m);
    if (at < n) {
      const std::size_t tail = n - kBlock;  // at - tail < 16
      if (unsigned m = blockMask(s + tail, c) >> (at - tail)) return at + lowestBit(m);
    }
    return std::string_view::npos;
  }
  for (; at < n; ++at)
    if (s[at] == c) return at;
  return std::string_view::npos;
}

// Bit k is set when s[k] is '<', '&', a blank or a control byte (at most
// ' '): what a title's text is read for. Reads 16 bytes at s.
inline unsigned markupOrBlankMask(const char* s) {
#ifdef LS_BYTE_BLOCKS_SSE2
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
  const __m128i low = _mm_cmpeq_epi8(_mm_min_epu8(v, _mm_set1_epi8(' ')), v);
  const __m128i marks = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('<')), _mm_cmpeq_epi8(v, _mm_set1_epi8('&')));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(low, marks)));
#else
  unsigned mask = 0;
  for (std::size_t k = 0; k < kBlock; ++k)
    if (static_cast<unsigned char>(s[k]) <= ' ' || s[k] == '<' || s[k] == '&') mask |= 1u << k;
  return mask;
#endif
}

// The first such byte in s[from..n), or npos.
inline std::size_t findMarkupOrBlank(const char* s, std::size_t n, std::size_t from) {
  std::size_t at = from;
  if (n >= kBlock) {
    for (; at + kBlock <= n; at += kBlock)
      if (unsigned m = markupOrBlankMask(s + at)) return at + lowestBit(m);
    if (at < n) {
      const std::size_t tail = n - kBlock;  // at - tail < 16
      if (unsigned m = markupOrBlankMask(s + tail) >> (at - tail)) return at + lowestBit(m);
    }
    return std::string_view::npos;
  }
  for (; at < n; ++at)
    if (static_cast<unsigned char>(s[at]) <= ' ' || s[at] == '<' || s[at] == '&') return at;
  return std::string_view::npos;
}

// Whether s[0..n) holds a control byte (below 0x20, or 0x7F), or with
// `markup` also a '<' or '&': what a URL taken as written has none of.
inline bool holdsControlByte(const char* s, std::size_t n, bool markup = false) {
#ifdef LS_BYTE_BLOCKS_SSE2
  if (n >= kBlock) {
    auto found = [&](const char* p) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      __m128i m = _mm_or_si128(_mm_cmpeq_epi8(_mm_min_epu8(v, _mm_set1_epi8(0x1F)), v),
                               _mm_cmpeq_epi8(v, _mm_set1_epi8(0x7F)));
      if (markup)
        m = _mm_or_si128(m, _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('<')), _mm_cmpeq_epi8(v, _mm_set1_epi8('&'))));
      return _mm_movemask_epi8(m) != 0;
    };
    std::size_t at = 0;
    for (; at + kBlock <= n; at += kBlock)
      if (found(s + at)) return true;
    return at < n && found(s + n - kBlock);  // the last block again, in part
  }
#endif
  for (std::size_t k = 0; k < n; ++k) {
    const unsigned char c = static_cast<unsigned char>(s[k]);
    if (c < 0x20 || c == 0x7F || (markup && (c == '<' || c == '&'))) return true;
  }
  return false;
}

// part[1..m-1) against s[1..m-1), for a candidate whose first and last
// bytes already match: parts are short, so without a call.
inline bool middleMatches(const char* s, std::string_view part) {
  for (std::size_t j = 1; j + 1 < part.size(); ++j)
    if (s[j] != part[j]) return false;
  return true;
}

// text.find(part, from): blocks are sifted by the part's first and last
// byte, and only the candidates are compared.
inline std::size_t findPart(std::string_view text, std::string_view part, std::size_t from = 0) {
  const std::size_t n = text.size(), m = part.size();
  if (m == 0) return from <= n ? from : std::string_view::npos;
  if (m > n) return std::string_view::npos;
  const char* const s = text.data();
  const char first = part.front(), last = part.back();
  std::size_t at = from;
#ifdef LS_BYTE_BLOCKS_SSE2
  if (n >= m - 1 + kBlock) {
    const __m128i firsts = _mm_set1_epi8(first), lasts = _mm_set1_epi8(last);
    auto candidates = [&](std::size_t block) {
      const __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + block));
      const __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + block + m - 1));
      return static_cast<unsigned>(
          _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(v0, firsts), _mm_cmpeq_epi8(v1, lasts))));
    };
    for (; at + m - 1 + kBlock <= n; at += kBlock) {
      for (unsigned mask = candidates(at); mask != 0; mask &= mask - 1) {
        const std::size_t i = at + lowestBit(mask);
        if (middleMatches(s + i, part)) return i;
      }
    }
    // The positions left, up to n - m, lie in the block that ends there.
    if (at + m <= n) {
      const std::size_t tail = n - m + 1 - kBlock;  // at - tail < 16
      for (unsigned mask = candidates(tail) >> (at - tail); mask != 0; mask &= mask - 1) {
        const std::size_t i = at + lowestBit(mask);
        if (middleMatches(s + i, part)) return i;
      }
    }
    return std::string_view::npos;
  }
#endif
  for (; at + m <= n; ++at)
    if (s[at] == first && s[at + m - 1] == last && middleMatches(s + at, part)) return at;
  return std::string_view::npos;
}

inline bool containsPart(std::string_view text, std::string_view part) {
  return findPart(text, part) != std::string_view::npos;
}

}  // namespace ls::blocks

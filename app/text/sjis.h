// Shift-JIS (CP932) byte classes. Every text inside the system is CP932: a byte 0x81-0x9F or
// 0xE0-0xFC starts a two-byte character whose second byte (0x40-0xFC) may be any of
// "\ [ ] { | }" and the like, so text is walked by characters, never byte by byte.
#pragma once

#include <cstddef>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vondal {

// True for a byte that starts a two-byte character.
constexpr bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// True for a byte that can end a two-byte character (0x40-0xFC without 0x7F).
constexpr bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

// Half-width katakana and their marks (one byte, one screen column).
constexpr bool IsHalfWidthKana(unsigned char c) { return c >= 0xA1 && c <= 0xDF; }

// The number of printable ASCII bytes (0x20-0x7E) at the start of `text`: a run that is one
// cell per byte and the same in CP932 and UTF-8. Screens are mostly such runs, so they are
// measured 16 bytes at a time.
inline size_t PrintableAsciiRun(std::string_view text) {
  size_t n = 0;
#if defined(__SSE2__)
  for (; n + 16 <= text.size(); n += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + n));
    // Signed bytes: 0x80-0xFF are negative and fail the first test.
    const __m128i printable =
        _mm_and_si128(_mm_cmpgt_epi8(bytes, _mm_set1_epi8(0x1F)), _mm_cmplt_epi8(bytes, _mm_set1_epi8(0x7F)));
    const int mask = _mm_movemask_epi8(printable);
    if (mask != 0xFFFF) return n + __builtin_ctz(~mask);
  }
#endif
  while (n < text.size() && text[n] >= 0x20 && text[n] < 0x7F) ++n;
  return n;
}

// True when every byte of `text` is printable ASCII (0x20-0x7E); true for an empty text.
inline bool IsPrintableAscii(std::string_view text) { return PrintableAsciiRun(text) == text.size(); }

// Length in bytes of the character that starts at text[pos]: 2 for a complete two-byte
// character, else 1 (a lead byte at the very end counts as one byte).
inline size_t CharLength(std::string_view text, size_t pos) {
  return IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

// True when a character starts at text[pos] (pos <= text.size(); the end counts as a start).
// Looks back only over the run of lead-range bytes before pos: the byte before such a run ends a
// character whatever it is, and the run pairs up from there.
inline bool IsCharStart(std::string_view text, size_t pos) {
  if (pos == text.size()) return true;  // also after a lead byte left alone at the end
  size_t leadRun = 0;
  while (leadRun < pos && IsLeadByte(static_cast<unsigned char>(text[pos - leadRun - 1]))) ++leadRun;
  return leadRun % 2 == 0;
}

// The start of the character that ends at text[pos] (0 < pos <= text.size(), pos a character
// start).
inline size_t PrevCharStart(std::string_view text, size_t pos) {
  return pos >= 2 && IsCharStart(text, pos - 2) && CharLength(text, pos - 2) == 2 ? pos - 2 : pos - 1;
}

// The kind of the byte at text[pos] (pos < text.size()): 0 a single-byte character, 1 the first
// and 2 the second byte of a two-byte character. A lead byte at the very end is 0.
inline int ByteKind(std::string_view text, size_t pos) {
  if (!IsCharStart(text, pos)) return 2;
  return CharLength(text, pos) == 2 ? 1 : 0;
}

// ASCII letter and digit tests and case mapping; every other byte (also the second byte of a
// two-byte character, when the caller hands one in) is left as it is.
constexpr bool IsAsciiDigit(unsigned char c) { return c >= '0' && c <= '9'; }
constexpr bool IsAsciiUpper(unsigned char c) { return c >= 'A' && c <= 'Z'; }
constexpr bool IsAsciiLower(unsigned char c) { return c >= 'a' && c <= 'z'; }
constexpr bool IsAsciiLetter(unsigned char c) { return IsAsciiUpper(c) || IsAsciiLower(c); }
// True when every byte of `text` is an ASCII digit; true for an empty text.
constexpr bool AllAsciiDigits(std::string_view text) {
  for (char c : text) {
    if (!IsAsciiDigit(c)) return false;
  }
  return true;
}
constexpr char AsciiUpper(char c) { return IsAsciiLower(c) ? static_cast<char>(c - 'a' + 'A') : c; }
constexpr char AsciiLower(char c) { return IsAsciiUpper(c) ? static_cast<char>(c - 'A' + 'a') : c; }

// True when the character at a[aPos] and the one at b[bPos] are the same: equal length and bytes,
// except that with ignoreCase a single-byte ASCII letter matches its other case.
inline bool SameChar(std::string_view a, size_t aPos, std::string_view b, size_t bPos, bool ignoreCase) {
  size_t len = CharLength(a, aPos);
  if (len != CharLength(b, bPos)) return false;
  if (len == 2) return a[aPos] == b[bPos] && a[aPos + 1] == b[bPos + 1];
  return ignoreCase ? AsciiLower(a[aPos]) == AsciiLower(b[bPos]) : a[aPos] == b[bPos];
}

// The longest beginning of `text` of at most `maxBytes` bytes that does not end inside a
// two-byte character.
inline std::string_view CutAtCharacter(std::string_view text, size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  size_t end = 0;
  while (end < text.size() && end + CharLength(text, end) <= maxBytes) end += CharLength(text, end);
  return text.substr(0, end);
}

}  // namespace vondal

// Shift-JIS (CP932) byte classes. Every text inside the system is CP932: a byte 0x81-0x9F or
// 0xE0-0xFC starts a two-byte character whose second byte (0x40-0xFC) may be any of
// "\ [ ] { | }" and the like, so text is walked by characters, never byte by byte.
#pragma once

#include <cstddef>
#include <string_view>

namespace vondal {

// True for a byte that starts a two-byte character.
constexpr bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Half-width katakana and their marks (one byte, one screen column).
constexpr bool IsHalfWidthKana(unsigned char c) { return c >= 0xA1 && c <= 0xDF; }

// Length in bytes of the character that starts at text[pos]: 2 for a complete two-byte
// character, else 1 (a lead byte at the very end counts as one byte).
inline size_t CharLength(std::string_view text, size_t pos) {
  return IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

}  // namespace vondal

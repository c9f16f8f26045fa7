// Encoding and decoding the records of the colour file (doc/color_file_format.md).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "color/color_file_format.h"
#include "color/color_set.h"

namespace vondal {

// One colour set: a table of attributes with its name, author and edit date.
struct ColorSet {
  ColorTable table{};
  std::string name;               // at most kColorNameSize - 1 bytes, whole characters
  std::string author;             // at most kColorAuthorSize - 1 bytes, whole characters
  std::array<uint8_t, 3> date{};  // year mod 100, month, day

  bool operator==(const ColorSet&) const = default;
};

// The built-in default set.
ColorSet DefaultColorSet();

// Which edition wrote a header record.
enum class ColorFileKind { kNone, kCurrent, kSixteenBit };

// The kind a header (at least kColorMagicSize bytes; fewer give kNone) announces by its magic.
ColorFileKind ColorFileKindOf(std::string_view header);

// The 200 bytes of a header record naming `standard` as the standard set.
std::string EncodeColorHeader(int standard);

// The set in a 200-byte record. A file of the 16-bit edition holds each attribute in the high
// byte of its word; of this edition's words only the low byte is an attribute. Name and author
// end at their zero byte, or one byte before the end of their field when it has none, and never
// inside a two-byte character, so every set read can be shown, edited and written back.
ColorSet DecodeColorSet(std::string_view record, ColorFileKind kind);

// The 200 bytes of a set record.
std::string EncodeColorSet(const ColorSet& set);

}  // namespace vondal

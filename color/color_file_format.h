// The colour file (".VDC"): see doc/color_file_format.md.
#pragma once

#include <cstddef>
#include <string_view>

namespace vondal {

// Every record of the file, the header included, is 200 bytes.
inline constexpr size_t kColorRecordSize = 200;

// The header: a 15-byte magic, zeros, and at byte 199 the standard set number. This edition
// writes the first magic; files of the 16-bit edition carry the second and keep each attribute
// in the high byte of its word.
inline constexpr size_t kColorMagicSize = 15;
inline constexpr std::string_view kColorMagic{"Vonpaint 32bit\x1A", kColorMagicSize};
inline constexpr std::string_view kColorMagic16{"Vonpaint4DOS/V\x1A", kColorMagicSize};
inline constexpr size_t kColorStandardOffset = 199;

// A set record: 66 little-endian 16-bit attributes in element order, the name, the author, the
// edit date (year mod 100, month, day) and a zero byte. Name and author are zero-terminated and
// zero-padded.
inline constexpr size_t kColorNameOffset = 132;
inline constexpr size_t kColorNameSize = 52;
inline constexpr size_t kColorAuthorOffset = 184;
inline constexpr size_t kColorAuthorSize = 12;
inline constexpr size_t kColorDateOffset = 196;

}  // namespace vondal

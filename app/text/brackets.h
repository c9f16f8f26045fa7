// Bracket partners for the editors and the viewer: where the bracket under the cursor closes or
// opens.
#pragma once

#include <cstddef>
#include <string_view>

namespace vondal {

// Returned for a position that holds no bracket of the kind asked for (also a second byte of a
// two-byte character, or a position past the end).
inline constexpr ptrdiff_t kNotABracket = -1;
// Returned when the bracket has no partner in the text.
inline constexpr ptrdiff_t kNoPartner = -2;

// The partner of the half-width bracket at text[pos]: "()", "[]", "{}", "<>" and "｢｣". An opening
// bracket searches forward and a closing one backward, counting nesting of the same pair and
// skipping text inside double quotes. '"', "'" and 0x1C pair with themselves: an odd occurrence
// (counted from the start of the text up to pos) finds the next one, an even one the one before.
// Two-byte characters are skipped whole, so their second bytes are never taken for brackets.
ptrdiff_t FindMatchingBracket(std::string_view text, size_t pos);

// The same for the full-width quotation marks and brackets 0x8165-0x817A (‘’ “” （） 〔〕 ［］
// ｛｝ 〈〉 《》 「」 『』 【】): an odd second byte opens and finds the next code forward, an even
// one closes and finds the code before it backward; nesting is counted and text inside double
// quotes is skipped. pos is the first byte of the character.
ptrdiff_t FindMatchingFullWidthBracket(std::string_view text, size_t pos);

}  // namespace vondal

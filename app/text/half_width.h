// Full-width letters, digits and symbols to their single-byte ASCII forms, as typed texts are
// normalised before they are stored or compared.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vondal {

// text with every full-width ASCII character (Ａ–Ｚ ａ–ｚ ０–９, the full-width space and the
// symbols ！＃＄％＆（）＊＋，－．／：；＜＝＞？＠［＼］＾＿｀｛｜｝～, and ” ’ ￥ as a Japanese
// keyboard types " ' \) replaced by its single-byte form. Other characters stay as they are.
std::string ToHalfWidth(std::string_view text);

// The same, and moves pos (a byte position in text, at most text.size()) to the position of the
// same character in the result; a position on a second byte moves to that character's start.
std::string ToHalfWidth(std::string_view text, size_t& pos);

}  // namespace vondal

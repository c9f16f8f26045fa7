// The source notation of the built-in macros: an upper-case letter or one of "[ \ ] ^ _" stands
// for the control byte of that character code - 64 (caret notation without the caret), "@" makes
// the next character stand for itself, every other character (a two-byte one whole) is itself.
// "M[" is 13 27, "@M" the letter M.
#pragma once

#include <string>
#include <string_view>

namespace vondal {

// The macro bytes the notation stands for.
std::string FromMacroNotation(std::string_view notation);

// The standard label macro (macro 19 of a new store, and what the macro editor's get menu
// offers): labels for PageUp, PageDown, Ctrl+Up, Ctrl+Down, F11, F12 and BackSpace, as bytes.
const std::string& StandardLabelMacro();
inline constexpr char kStandardLabelComment[] = "//ラベルキー w01.022";

}  // namespace vondal

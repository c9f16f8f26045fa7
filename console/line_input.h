// A plain one-line text input on the screen: typed characters are appended, Backspace removes
// the last character, Enter accepts, Esc gives up.
//
// Stand-in: the string editor (the macro work, with its command language, cursor movement and
// undelete) replaces this wherever a text is typed.
#pragma once

#include <string>
#include <string_view>

namespace vondal {

struct LineInputResult {
  bool accepted = false;  // false: left with Esc
  std::string text;
};

// Edits `initial` (CP932) on `row` after `prompt`, at most `maxBytes` bytes; two-byte characters
// are never split.
LineInputResult InputLine(int row, std::string_view prompt, std::string_view initial, size_t maxBytes);

}  // namespace vondal

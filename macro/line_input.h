// A line typed after a prompt, edited with the string editor: "edit one line on row r after
// prompt p, at most n bytes". Enter accepts, Esc gives up.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vondal {

struct LineInputResult {
  bool accepted = false;  // false: left with Esc
  std::string text;
};

// Draws `prompt` (CP932) at column 0 of `row` and edits `initial` right after it, at most
// `maxBytes` bytes (cut to 255; an initial text too long loses whole characters at its end), with
// the command menu on the message line. The cursor starts behind the text.
LineInputResult InputLine(int row, std::string_view prompt, std::string_view initial, size_t maxBytes);

}  // namespace vondal

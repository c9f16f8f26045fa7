#include "macro/line_input.h"

#include <algorithm>

#include "app/text/sjis.h"
#include "console/console.h"
#include "macro/edit_state.h"
#include "macro/string_editor.h"

namespace vondal {
namespace {

// "[" and "]" around the window, "･" on the empty places, "<" past the maximum; no case mode and
// no control codes: a line typed here names a file or a command.
constexpr std::string_view kLineStyle = "[･<] @";
// A prompt longer than the row allows is overlaid by a window of at least this many columns.
constexpr int kMinWindow = 10;

}  // namespace

LineInputResult InputLine(int row, std::string_view prompt, std::string_view initial, size_t maxBytes) {
  Screen& screen = TheScreen();
  const int maxLength = static_cast<int>(std::min<size_t>(maxBytes, kMaxEditBytes));
  screen.ClearRows(row, row);
  const int promptEnd = screen.PutTextToEnd(prompt, row, 0, kPlainAttr, kPlainAttr);

  EditState state;
  state.text = std::string(CutAtCharacter(initial, maxLength));
  state.style = EditStyle(kLineStyle);
  state.exits = {"\x1B", "\x1B"};
  state.row = row;
  state.col = std::min(promptEnd, screen.Width() - kMinWindow - 2) + 1;
  state.width = std::min(maxLength + 1, screen.Width() - state.col - 1);
  state.maxLength = maxLength;
  state.cursor = state.TextLength();
  int exit = Edit(state);
  return {exit == 13, std::move(state.text)};
}

}  // namespace vondal

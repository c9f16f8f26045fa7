#include "app/color_editing.h"

#include "app/run_state.h"
#include "color/color_editor.h"
#include "console/console.h"
#include "macro/edit_error.h"
#include "macro/edit_state.h"
#include "macro/line_input.h"
#include "macro/string_editor.h"

namespace vondal {
namespace {

// Names and the date as file names are typed: no case mode, no control codes.
constexpr std::string_view kFieldStyle = "[･<] @";

int EditField(std::string& text, int row, int col, int width, size_t maxBytes) {
  EditState state;
  state.text = text;
  state.style = EditStyle(kFieldStyle);
  // Esc, and after the 0xFF the scan codes of Up and Down, end editing with their own codes.
  state.exits = {"\x1B\xFF\x48\x50", "\x1B\xFF\x48\x50"};
  state.row = row;
  state.col = col;
  state.width = std::min(width, TheScreen().Width() - col - 1);
  state.maxLength = static_cast<int>(maxBytes);
  state.cursor = state.TextLength();
  const int exit = Edit(state);
  text = std::move(state.text);
  return exit;
}

std::optional<std::string> InputFileName(std::string_view prompt, std::string_view initial, size_t maxBytes) {
  LineInputResult input = InputLine(MenuRow(), prompt, initial, maxBytes);
  if (!input.accepted) return std::nullopt;
  return std::move(input.text);
}

// As an error of the string editor: a running macro stops here.
void ShowRefusal(std::string_view text) { ShowMessage(text, TheEditState()); }

}  // namespace

int EditColors(RunState& run) {
  ColorEditorContext context{run.colors, InputFileName, EditField, ShowRefusal, {}};
  return RunColorEditor(context);
}

}  // namespace vondal

// Replace all (18): the two strings are edited in nested editors on the line above the message
// line, then every occurrence of the first is replaced by the second.
#include "console/console.h"
#include "macro/edit_display.h"
#include "macro/edit_error.h"
#include "macro/edit_session.h"
#include "macro/edit_text.h"
#include "macro/string_editor.h"

namespace vondal {
namespace {

constexpr int kReplaceColumn = 39;
constexpr int kReplaceWidth = 40;

}  // namespace

bool EditSession::EditReplaceString(std::string_view prompt, std::string& text) {
  PromptScope scope(state_, prompt, "");
  EditState nested;
  nested.text = text;
  nested.style = state_.style;
  nested.exits = {"\x1B", "\x1B"};
  nested.messageRow = state_.MessageRow();
  nested.row = nested.messageRow - 1;
  nested.col = kReplaceColumn;
  nested.width = kReplaceWidth;
  nested.maxLength = kReplaceStringBytes;
  nested.cursor = nested.TextLength();
  nested.family = state_.family;
  nested.prompts = state_.prompts;
  if (Edit(nested, InputMode::kEditNoMenu) != 13) return false;
  text = nested.text;
  return true;
}

void EditSession::ReplaceAll() {
  ReplaceStrings& strings = TheReplaceStrings();
  Screen& screen = TheScreen();
  const int row = state_.MessageRow() - 1;
  const Screen saved = screen;  // the nested editors draw over the line above the message line
  const bool accepted =
      EditReplaceString("置換前>", strings.before) && EditReplaceString("置換後>", strings.after);
  screen.CopyRowsFrom(saved, row, row);
  if (!accepted) return;
  std::string result = ReplaceEvery(state_.text, strings.before, strings.after);
  if (static_cast<int>(result.size()) > state_.maxLength) {
    ShowEditError(state_, EditError::kTextOverflow);
    return;
  }
  // A replace counts as a change made even when it found nothing to replace.
  state_.text = std::move(result);
  state_.modified = true;
  state_.cursor = 0;
  state_.offset = 0;
}

}  // namespace vondal

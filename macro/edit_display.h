// What the string editor draws: the window on the edited text, and the message line with its
// stacked prompts, key menus and status figures. Everything goes into the screen buffer; the
// player flushes before it waits for a key.
#pragma once

#include <string_view>

#include "macro/edit_state.h"

namespace vondal {

// Where the status of an editor at work begins on the message line (the case-mode letter, the
// status template and the figures); the columns before it hold its menus, prompts and errors.
inline constexpr int kEditStatusColumn = 52;

// The window: the edge characters, the text from the offset (control characters as their code +
// 64, a two-byte character cut by either edge as "~"), the fill characters below and beyond the
// maximum length. `finished` draws in the after-editing colours; a `rangeFrom` of 0 or more
// shows the range between it and the cursor reversed.
void DrawEditLine(const EditState& state, bool finished, int rangeFrom = -1);

// The message line of an editor at work: the prompts and the key menu of the innermost step (the
// command menu in kEdit when no prompt stands), in kEdit the case-mode letter and the status
// template, then the status figures.
void DrawMessageLine(const EditState& state);

// The figures of the message line: the code of the character under the cursor (column 58), the
// offset, the cursor, the length and the maximum length (columns 64, 68, 72, 76).
void DrawStatusFigures(const EditState& state);

// Clears the message line; an editor at work draws its own line again.
void ClearMessageLine(const EditState& state);

// The same, unless a message stands there for the user to read: the next key clears it.
void RefreshMessageLine(const EditState& state);

// The terminal's cursor on the editor's cursor, shown.
void PlaceEditCursor(const EditState& state);

// A prompt stacked on the message line for the time of one step ("複写>" and its key menu
// " W検索 A全体 K括弧内"); taken off again when the step ends.
class PromptScope {
 public:
  PromptScope(EditState& state, std::string_view prompt, std::string_view keyMenu);
  ~PromptScope();
  PromptScope(const PromptScope&) = delete;
  PromptScope& operator=(const PromptScope&) = delete;

 private:
  EditState& state_;
  size_t promptsLength_;
  std::string keyMenu_;
};

}  // namespace vondal

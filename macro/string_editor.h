// The one-line string editor (`StringEditor`): every text the user types is edited here, and
// every key it reads comes through the macro player, so that a macro is simply the bytes the
// keyboard would have produced. Typed characters are inserted; control codes with their
// parameters are commands:
//
//   2 op                   range command, op one of "abefxy" (copy, copy+, move, move+, exchange,
//                          delete), the range chosen with movements, Enter, Ctrl+A or Ctrl+K
//   3 [count] move         cursor movement, move one of "-+lrLR<>w" ("w": search)
//   4 [count] kind         deletion, kind one of "bBdD"
//   13 code / 14 code      end editing, returning code / 0xFF00 + code
//   18 old 13 13 new 13 13 replace all
//   26                     undelete          29  paste the copy buffer
//   30 letter              insert the control character letter - 64
//
// A count is a run of digits (none: 1, an explicit 0: nothing happens).
#pragma once

#include "macro/edit_state.h"

namespace vondal {

// Edits state.text in place on state.row/col/width, within state.maxLength bytes, and returns
// the exit code: 13 for Enter, the exit code of a character exit key, or 0xFF00 + the exit code
// of an extended exit key. `mode` is kEdit (the command menu on the message line, replace
// possible) or kEditNoMenu. The text must hold whole characters within the maximum length
// (at most 255 bytes); the cursor and the offset are taken as they stand and kept valid.
int Edit(EditState& state, InputMode mode = InputMode::kEdit);

}  // namespace vondal

// The string editor's errors. An error is shown at column 0 of the message line in the family's
// error colour, aborts a playing macro and the key-macro recording ("ﾏｸﾛ中断"), and beeps (all
// but the silent abort) while the sound switch is on.
#pragma once

#include <string_view>

#include "macro/edit_state.h"

namespace vondal {

enum class EditError : int {
  kTextOverflow = 0,    // "文字列が溢れます"
  kBufferOverflow = 1,  // "ﾊﾞｯﾌｧが溢れます"
  kNotABracket = 2,     // "括弧ではありません"
  kNotFound = 3,        // "見つかりません"
  kForbiddenCode = 4,   // "入力禁止ｺｰﾄﾞです"
  kKeyMacroFull = 5,    // "ｷｰﾏｸﾛが溢れます"
  kNestingTooDeep = 6,  // "ﾏｸﾛのﾈｽﾃｨﾝｸﾞ超過です"
  kAltHeld = 7,         // no text: Alt was held when a macro started
  kSilentAbort = 8,     // no text, no beep
};

std::string_view EditErrorText(EditError error);

void ShowEditError(EditState& state, EditError error);

// A message that stops whatever runs: the error response without a text (the start of the
// message line cleared, the macro aborted, the beep), then `text` as ShowMessage draws it.
void ShowMessage(std::string_view text, EditState& state);

// A message that stops nothing: `text` as ShowMessage draws it, kept on the message line until
// the next key (a string editor that starts meanwhile leaves it there).
void ShowNote(std::string_view text);

}  // namespace vondal

#include "macro/edit_error.h"

#include <array>

#include "console/console.h"
#include "console/menu_line.h"
#include "macro/edit_display.h"
#include "macro/macro_player.h"

namespace vondal {
namespace {

constexpr std::array<std::string_view, 9> kTexts = {
    "文字列が溢れます",
    "ﾊﾞｯﾌｧが溢れます",
    "括弧ではありません",
    "見つかりません",
    "入力禁止ｺｰﾄﾞです",
    "ｷｰﾏｸﾛが溢れます",
    "ﾏｸﾛのﾈｽﾃｨﾝｸﾞ超過です",
    "",
    "",
};

// The error response: the start of the message line cleared (a menu cut in the middle would read
// as nonsense beside the text) while an editor's status stays beside it, the text in the error
// colour at its start, the macro and the recording aborted ("ﾏｸﾛ中断" at column 28), the beep.
// Outside an editor nothing else belongs on the line: it is cleared whole.
void RespondToError(EditState& state, std::string_view text, bool beep) {
  const int row = state.MessageRow();
  const uint8_t attr = state.Color(EditColor::kError);
  Screen& screen = TheScreen();
  if (state.editing) {
    screen.ClearCells(row, 0, kEditStatusColumn - 1);
  } else {
    screen.ClearRows(row, row);
  }
  screen.PutTextToEnd(text, row, 0, attr, attr);
  ThePlayer().Abort(state);
  if (beep) Beep();
}

}  // namespace

std::string_view EditErrorText(EditError error) { return kTexts[static_cast<int>(error)]; }

void ShowEditError(EditState& state, EditError error) {
  RespondToError(state, EditErrorText(error), error != EditError::kSilentAbort);
}

void ShowMessage(std::string_view text, EditState& state) {
  RespondToError(state, "", true);
  ShowMessage(text);
}

void ShowNote(std::string_view text) {
  ShowMessage(text);
  ThePlayer().KeepMessage();
}

}  // namespace vondal

#include "macro/edit_error.h"

#include <array>

#include "console/console.h"
#include "console/menu_line.h"
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

// Columns of the message line an error text owns; "ﾏｸﾛ中断" follows at column 28.
constexpr int kErrorColumns = 28;

// The error response: the text in the error colour over the start of the message line, the
// macro and the recording aborted, the beep.
void RespondToError(EditState& state, std::string_view text, bool beep) {
  const int row = state.MessageRow();
  const uint8_t attr = state.Color(EditColor::kError);
  Screen& screen = TheScreen();
  screen.ClearCells(row, 0, kErrorColumns - 1);
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

}  // namespace vondal

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

}  // namespace

std::string_view EditErrorText(EditError error) { return kTexts[static_cast<int>(error)]; }

void ShowEditError(EditState& state, EditError error) {
  const int row = state.MessageRow();
  const uint8_t attr = state.Color(EditColor::kError);
  Screen& screen = TheScreen();
  screen.ClearCells(row, 0, kErrorColumns - 1);
  screen.PutTextToEnd(EditErrorText(error), row, 0, attr, attr);
  ThePlayer().Abort(state);
  if (error != EditError::kSilentAbort) Beep();
}

void ShowMessage(std::string_view text, EditState& state) {
  ShowEditError(state, EditError::kAltHeld);
  ShowMessage(text);
}

}  // namespace vondal

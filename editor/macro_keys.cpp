#include "editor/macro_keys.h"

#include "console/key_source.h"
#include "console/menu_line.h"
#include "macro/edit_error.h"
#include "macro/edit_state.h"

namespace vondal {
namespace {

// Until the macro store is loaded (the macro work fills these), no macro exists.
void NoMacro() { ShowMessage("ﾏｸﾛがありません", TheEditState()); }

}  // namespace

void StartLabelMacro(int /*label*/) { NoMacro(); }

void AskLabelMacro() {
  ShowMenu(">ﾏｸﾛﾗﾍﾞﾙ>");
  const KeyEvent key = ReadKey();
  ShowMenu("");
  if (key.code == 27) return;
  NoMacro();
}

void StartFunctionKeyMacro(int /*key*/) { NoMacro(); }

void AskMacroNumber(int firstDigit) {
  ShowMenu(std::string(">ﾏｸﾛ番号> $") + static_cast<char>(firstDigit) + "_$");
  const KeyEvent key = ReadKey();
  if (key.code == 27) return;
  if (key.code >= '0' && key.code <= '9') {
    NoMacro();
    return;
  }
  RejectKey(key.code);
}

bool ShowMacroList() { return false; }

std::string FunctionKeyLabel(int /*key*/) { return {}; }

}  // namespace vondal

#include "editor/macro_keys.h"

#include <cstdio>

#include "app/text/sjis.h"
#include "color/color_set.h"
#include "console/console.h"
#include "console/key_source.h"
#include "console/menu_line.h"
#include "macro/edit_error.h"
#include "macro/edit_state.h"
#include "macro/macro_starts.h"
#include "macro/macro_store.h"

namespace vondal {
namespace {

// The macro list shows this many characters of each comment.
constexpr int kListCommentChars = 7;

void NoMacro() { ShowMessage(kNoMacro, TheEditState()); }

// The first `chars` characters of `text` (a two-byte character counts as one).
std::string_view FirstCharacters(std::string_view text, int chars) {
  size_t end = 0;
  for (int i = 0; i < chars && end < text.size(); ++i) end += CharLength(text, end);
  return text.substr(0, end);
}

}  // namespace

void StartLabelMacro(int label) {
  const char name = static_cast<char>(label);
  if (!PlayLabel(TheEditState(), std::string_view(&name, 1))) NoMacro();
}

void AskLabelMacro() {
  ShowMenu(">ﾏｸﾛﾗﾍﾞﾙ>");
  const KeyEvent key = ReadKey();
  ShowMenu("");
  if (key.code == 27) return;
  std::string name;
  if (key.code > 0xFF && key.code < kExtendedKey) {  // a two-byte character
    name = {static_cast<char>(key.code >> 8), static_cast<char>(key.code & 0xFF)};
  } else if (key.code > 0 && key.code <= 0xFF) {
    name = std::string(1, static_cast<char>(key.code));
  }
  if (!PlayLabel(TheEditState(), name)) NoMacro();
}

void StartFunctionKeyMacro(int key) {
  if (!PlayFunctionKeyMacro(TheEditState(), key)) NoMacro();
}

void AskMacroNumber(int firstDigit) {
  ShowMenu(std::string(">ﾏｸﾛ番号> $") + static_cast<char>(firstDigit) + "_$");
  const KeyEvent key = ReadKey();
  ShowMenu("");
  if (key.code == 27) return;
  if (key.code >= '0' && key.code <= '9') {
    if (!PlayMacroNumber(TheEditState(), (firstDigit - '0') * 10 + (key.code - '0'))) NoMacro();
    return;
  }
  RejectKey(key.code);
}

bool ShowMacroList() {
  const MacroStore& store = TheMacroStore();
  Screen& screen = TheScreen();
  const int row = MenuRow();
  const int limit = screen.Width() - 1;
  const uint8_t keyAttr = ColorOf(ColorElement::MenuKey);
  const uint8_t labelAttr = ColorOf(ColorElement::MenuLabel);
  ShowCursor(false);
  screen.ClearRows(row, row);
  int col = 0;
  bool any = false;
  for (int n = 1; n < store.Count() && col < limit; ++n) {
    const std::string_view comment = store.Comment(n);
    if (comment.empty() || comment[0] == '/') continue;
    char number[16];
    std::snprintf(number, sizeof number, "%02d", n);
    col = screen.PutText(number, row, col + (any ? 1 : 0), limit, keyAttr, keyAttr);
    col = screen.PutText(FirstCharacters(comment, kListCommentChars), row, col, limit, labelAttr, labelAttr);
    any = true;
  }
  Flush();
  return any;
}

std::string FunctionKeyLabel(int key) {
  const MacroStore& store = TheMacroStore();
  const int n = store.SlotMacro(FunctionKeySlot(key));
  if (n == 0 || n >= store.Count()) return {};
  return std::string(store.Comment(n));
}

}  // namespace vondal

#include "macro/key_translation.h"

#include <array>

#include "app/text/sjis.h"

namespace vondal {
namespace {

// A command of the table: its code and parameter (0: none); code 0 means the key does nothing in
// that mode.
struct Command {
  int code = 0;
  char param = 0;
};

// One key of the translation table: its command in the modes 0-3, and the parameter that replaces
// the command's own while Shift is held (0: Shift makes no difference).
struct TableRow {
  int key;  // a character code, or kExtendedKey + scan code
  std::array<Command, 4> command;
  char shiftedParam;
};

constexpr int Extended(int scan) { return kExtendedKey + scan; }
constexpr Command kNone{};

constexpr TableRow kTable[] = {
    {0x01, {{{2, 'a'}, {2, 'a'}, {1}, kNone}}, 0},       // Ctrl+A
    {0x02, {{{2, 'b'}, {2, 'b'}, kNone, {2}}}, 0},       // Ctrl+B
    {0x05, {{{2, 'e'}, {2, 'e'}, kNone, kNone}}, 0},     // Ctrl+E
    {0x06, {{{2, 'f'}, {2, 'f'}, kNone, kNone}}, 0},     // Ctrl+F
    {0x08, {{{4, 'b'}, {4, 'b'}, kNone, kNone}}, 'B'},   // Backspace
    {0x0B, {{kNone, kNone, {11}, {11}}}, 0},             // Ctrl+K
    {0x0D, {{{13, 13}, {13, 13}, {6}, kNone}}, 0},       // Enter
    {0x12, {{{18}, kNone, kNone, kNone}}, 0},            // Ctrl+R
    {0x17, {{{3, 'w'}, {3, 'w'}, {3, 'w'}, kNone}}, 0},  // Ctrl+W
    {0x18, {{{2, 'x'}, {2, 'x'}, kNone, kNone}}, 0},     // Ctrl+X
    {0x19, {{{2, 'y'}, {2, 'y'}, kNone, kNone}}, 0},     // Ctrl+Y
    {0x1A, {{{26}, {26}, kNone, kNone}}, 0},             // Ctrl+Z
    {0x1B, {{kNone, kNone, {27}, {27}}}, 0},             // Esc
    {Extended(scan::kLeft), {{{3, '-'}, {3, '-'}, {3, '-'}, kNone}}, '<'},
    {Extended(scan::kRight), {{{3, '+'}, {3, '+'}, {3, '+'}, kNone}}, '>'},
    {Extended(scan::kCtrlLeft), {{{3, 'l'}, {3, 'l'}, {3, 'l'}, kNone}}, 'L'},
    {Extended(scan::kCtrlRight), {{{3, 'r'}, {3, 'r'}, {3, 'r'}, kNone}}, 'R'},
    {Extended(scan::kIns), {{{29}, {29}, kNone, kNone}}, 0},
    {Extended(scan::kF11), {{{29}, {29}, kNone, kNone}}, 0},  // F11 counts as Insert
    {Extended(scan::kDel), {{{4, 'd'}, {4, 'd'}, kNone, kNone}}, 'D'},
};

Translation Key(int code, int param = -1) { return {Translation::kKey, code, param}; }
Translation Refused(int code = 0) { return {Translation::kRefused, code, -1}; }

// A character key as bytes: a two-byte character is its lead byte with the trail as parameter.
Translation CharacterBytes(int code) {
  if (code > 0xFF) return Key(code >> 8, code & 0xFF);
  return Key(code);
}

}  // namespace

Translation TranslateKey(const KeyEvent& key, InputMode mode, const ExitKeyList& exits) {
  const bool extended = key.code >= kExtendedKey;
  if (mode == InputMode::kRaw || mode == InputMode::kMenuKey) {
    if (extended) return Key(0xFF, key.code - kExtendedKey);
    return CharacterBytes(mode == InputMode::kMenuKey ? key.upper : key.code);
  }
  if (mode == InputMode::kEdit || mode == InputMode::kEditNoMenu) {
    int exit = extended ? exits.ScanExit(key.code - kExtendedKey) : exits.CharacterExit(key.code);
    if (exit >= 0) return Key(extended ? 14 : 13, exit);
  }
  for (const TableRow& row : kTable) {
    if (row.key != key.code) continue;
    const Command& command = row.command[static_cast<int>(mode)];
    if (command.code == 0) return Refused();
    int param = command.param != 0 ? command.param : -1;
    if (key.shift && row.shiftedParam != 0) param = row.shiftedParam;
    return Key(command.code, param);
  }
  if (key.code == 0x1D && mode != InputMode::kRangeEnd) return {Translation::kControlCodePrompt, 0, -1};
  if (extended || key.code < 0x20) return Refused();
  return CharacterBytes(key.code);
}

Translation ControlCodeLetter(const KeyEvent& key) {
  if (key.code == 0x1B) return Refused(0x1B);
  if (key.upper >= 'A' && key.upper <= '_') return Key(30, key.upper);
  return Refused();
}

}  // namespace vondal

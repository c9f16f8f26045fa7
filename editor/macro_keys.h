// Where the record editor starts macros: the label keys, Ctrl+G's label prompt, the function keys,
// the macro numbers of the editor menu, its macro list and the function-key table's labels. The
// editor calls only these; the macro store behind them decides what plays.
#pragma once

#include <string>

namespace vondal {

// The label key `label` (a control letter: Ctrl+C, Ctrl+O, Ctrl+J, Ctrl+K, Ctrl+V, the extended
// control letters, Ctrl+B from the select area's Backspace): plays the key macro from that label.
void StartLabelMacro(int label);

// Ctrl+G: asks for a label's name on the menu line (">ﾏｸﾛﾗﾍﾞﾙ>", one character or a two-byte one)
// and plays from it.
void AskLabelMacro();

// F1-F8 (key 0-7) and Shift+F1-F8 (8-15): plays the macro assigned to the key.
void StartFunctionKeyMacro(int key);

// The editor menu's 0-9: ">ﾏｸﾛ番号>" with the first digit, then the second; plays that macro.
void AskMacroNumber(int firstDigit);

// The editor menu's "/": the menu line with the macros that have a comment; false when there are
// none (the caller says so).
bool ShowMacroList();

// The label of the macro assigned to function key 0-15, for the function-key table ("" when none).
std::string FunctionKeyLabel(int key);

}  // namespace vondal

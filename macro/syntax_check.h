// The syntax check of macro texts (the macro editor's 検査): the bytes are read as the player
// reads them (no-ops and comments skipped), and every command is checked against what the string
// editor, field input and the record editor's menus will do with it. The first error is reported
// with its place in the text, so that the editor can put the cursor there.
#pragma once

#include <string>

#include "macro/label_table.h"
#include "macro/macro_store.h"

namespace vondal {

struct SyntaxError {
  std::string text;   // "0a)範囲指定中は無効です" ... ; empty: no error
  int position = -1;  // byte index in the macro text
  bool ok() const { return text.empty(); }
};

// Checks macro n of `store`; `labels` is the store's label table (built by the caller).
SyntaxError CheckMacro(const MacroStore& store, int n, const LabelTable& labels);

struct WholeCheck {
  int macro = -1;  // the first macro with an error, or -1
  SyntaxError error;
};

// Checks every macro, from `first` on and around, and stops at the first one with an error.
WholeCheck CheckAllMacros(const MacroStore& store, int first, const LabelTable& labels);

inline constexpr char kSyntaxOk[] = "文法は適正です";

}  // namespace vondal

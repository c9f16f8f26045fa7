// The ways a macro of the store is started: by number (the record editor's menu), by function key
// (its assignment slot), by label name (the label keys, Ctrl+G, a label call 13 7 in a macro),
// and the start macro on the first entry into the record editor. Each returns false when there is
// nothing to play; the caller shows kNoMacro then.
#pragma once

#include <string_view>

#include "macro/edit_state.h"

namespace vondal {

inline constexpr char kNoMacro[] = "ﾏｸﾛがありません";

// Macro n from its first byte, when n is below the count (00 is the key macro).
bool PlayMacroNumber(EditState& state, int n);

// The macro in the slot of function key 0-7 (F1-F8) or 8-15 (Shift+F1-F8).
bool PlayFunctionKeyMacro(EditState& state, int key);

// From just behind the first valid label of that name (one byte or a two-byte character).
bool PlayLabel(EditState& state, std::string_view name);

// The start macro, once: played when it is set, below the count and the store unchanged; cleared
// in any case.
void PlayStartMacroOnce(EditState& state);

}  // namespace vondal

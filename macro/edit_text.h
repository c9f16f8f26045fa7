// The string editor's work on the text itself, apart from keys and screen: cursor movements, the
// window that follows the cursor, search, bracket partners, replace-all and the case modes.
// Positions are byte indexes; every result is the start of a character (or the end of the text).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vondal {

// The cursor after one movement: "-" "+" one character, "<" ">" start and end, "L" "R" the first
// and last visible column, "l" "r" half a window. `offset` and `width` describe the window.
// Any other letter leaves the cursor where it is.
int MovedCursor(std::string_view text, int cursor, int offset, int width, char move);

// The window offset that shows the character under the cursor whole: a cursor left of the window
// becomes its first column; one right of it (or on a two-byte character cut by the right edge)
// brings its character to the last columns.
int OffsetShowingCursor(std::string_view text, int cursor, int offset, int width);

// After a deletion: when the end of the text stands more than one column left of the window's
// last column, the window moves left so that the end stands there (not below 0).
int OffsetAfterDeletion(int length, int offset, int width);

// The first place at or after `from` where `target` starts on a character start, or -1. An empty
// target is found nowhere.
int FindTarget(std::string_view text, int from, std::string_view target);

// The partner of the bracket at `pos` (half-width or full-width), as brackets.h finds it:
// kNotABracket or kNoPartner when there is none.
ptrdiff_t PartnerBracket(std::string_view text, int pos);

// `text` with every occurrence of `before` that starts on a character start replaced by `after`,
// scanning from the start without overlaps. An empty `before` replaces nothing.
std::string ReplaceEvery(std::string_view text, std::string_view before, std::string_view after);

// A typed letter after the case mode (style letter "U", "L", "R" or "I"); `afterLetter`: the
// character before the cursor is a single-byte letter (mode "I"). Other bytes pass unchanged.
char CaseConverted(char c, char caseMode, bool afterLetter);

}  // namespace vondal

// What the Get and Convert menus do to a field's text, apart from the screen: time-zone
// conversion, increase and decrease at the cursor, separator tidying, dictionary conversion. Each
// returns "" or the refusal, and never changes the text when it refuses.
#pragma once

#include <string>
#include <string_view>

#include "editor/dictionary.h"

namespace vondal {

// The date or time of field `field` (DATE, START or END) converted from JST to UTC (`toUtc`) or
// back: the date for DATE ("%02d%02d%02d"), for START and END the new hour followed by the
// field's own text from its third character. `date` is the record's DATE, `start` its START.
std::string ConvertTimeZone(int field, std::string_view date, std::string_view start,
                            std::string_view fieldText, bool toUtc, std::string& result);

// "+" (delta 1) or "-" (-1) at byte `cursor`: a letter becomes its neighbour of the same case, or
// the run of digits from the cursor is counted up or down with carry, keeping its length.
std::string StepAtCursor(std::string& text, size_t cursor, int delta);

// Every doubled `separator` made one, a leading one removed, a trailing one removed unless it is
// the second byte of a two-byte character.
std::string TidySeparators(std::string_view text, char separator);

// Replaces the dictionary's from texts (its to texts when `reverse`) in text, scanning from the
// start: one replacement for a dictionary of class single, every match for general. Refused with
// "変換結果が長すぎます" when the result would exceed maxLength.
std::string ConvertWithDictionary(const Dictionary& dictionary, bool reverse, size_t maxLength,
                                  std::string& text);

}  // namespace vondal

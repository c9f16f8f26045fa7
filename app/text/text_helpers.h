// Small text helpers shared by every program: trimming, case, searching, comparing, splitting and
// laying out CP932 texts. All of them walk two-byte characters whole: a second byte is never
// changed, compared as a letter or taken for a separator, and nothing is cut inside a character.
// Functions returning std::string_view return views into the text passed in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace vondal {

// The text without blanks and tabs at either end (a view into text). A full-width space stays.
std::string_view Trim(std::string_view text);

// Case changes of the single-byte ASCII letters; every other byte is copied as it is.
std::string ToUpperAscii(std::string_view text);
std::string ToLowerAscii(std::string_view text);
std::string InvertCase(std::string_view text);
// Each run of ASCII letters gets its first letter upper and the rest lower case ("jA1abc" →
// "Ja1Abc"). Any other character, two-byte characters too, ends a run.
std::string Capitalise(std::string_view text);

// The position of the first occurrence of what in text, trying only character starts of text
// and comparing character by character; ignoreCase compares ASCII letters in either case.
// npos when there is none; 0 for an empty what.
size_t FindText(std::string_view text, std::string_view what, bool ignoreCase = false);

// How CompareText treats ASCII letters; the enumerators carry the letters the settings use.
enum class CaseMode : char {
  kExact = 0,     // byte values as they are
  kIgnore = 'i',  // case ignored (letters compare as lower case, as the C library does)
  kLower = 'l',   // as if every letter were lower case
  kUpper = 'u',   // as if every letter were upper case
};

// Three-way comparison: negative, 0 or positive as a sorts before, with or after b. Bytes compare
// as unsigned values; the case mode applies to single-byte ASCII letters only, the bytes of
// two-byte characters compare as they are. A text that is a prefix of the other sorts first.
int CompareText(std::string_view a, std::string_view b, CaseMode mode = CaseMode::kExact);
// The same over at most the first maxBytes bytes of each text.
int CompareTextN(std::string_view a, std::string_view b, size_t maxBytes, CaseMode mode = CaseMode::kExact);

// Copies text into buffer from column col up to and including lastCol (one byte is one column),
// leaving out the first character that would pass lastCol and all after it (and a lead byte
// that ends text alone, being half a character). The buffer is padded
// with blanks up to col; bytes of the buffer under the copy are replaced. A two-byte character of
// the buffer that the copy cuts at either edge becomes a blank, so no half character is left.
// Returns the column after the last byte copied (col when nothing fits).
size_t FitCopy(std::string& buffer, size_t col, size_t lastCol, std::string_view text);

inline constexpr size_t kNoLimit = std::numeric_limits<size_t>::max();

// The words of text, split at whichever character of separators occurs first in the text; only
// that character separates, the others are part of words. A run of it counts as one and the text
// may start or end with it, so no word is empty. Text without any separator is one word (none
// when empty). At most maxCount words; what follows the last of them is not returned.
std::vector<std::string_view> Split(std::string_view text, std::string_view separators,
                                    size_t maxCount = kNoLimit);
// The words of text between blanks and tabs (any mix of them), at most maxCount.
std::vector<std::string_view> SplitWords(std::string_view text, size_t maxCount = kNoLimit);

// value in decimal, right-aligned with blanks to at least width columns.
std::string FormatNumber(uint64_t value, size_t width = 0);

// A frequency in MHz with a "." to kHz: the digits before the "." times 1000 plus the first up to
// three digits after it ("7.05" → 7050, "14.0255" → 14025, ".5" → 500). 0 without a "." or with
// anything but digits before it, and 0 for a number too large to be a frequency.
int64_t FrequencyToKhz(std::string_view text);

// The frequency a short form of a FREQ text stands for ("1.9" → "1.907", "10." → "10.100",
// "18." → "18.068", "24." → "24.890", "1200." → "1260.", "5600." → "5650."), or freq itself.
std::string_view ExpandShortForm(std::string_view freq);

// Replaces each run of two or more blanks that reaches a tab stop (every tabWidth columns; one
// byte is one column, a tab goes to the next stop, a line end starts again at column 0) by a tab.
// A tabWidth of 0 or 1 leaves the text as it is.
std::string SpacesToTabs(std::string_view text, size_t tabWidth);

// The day of the week of a date in the Gregorian calendar, 0 = Sunday … 6 = Saturday. year is
// the full year, month 1-12.
int DayOfWeek(int year, int month, int day);

}  // namespace vondal

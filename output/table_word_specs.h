// The three texts a user may write for the word tables: character types (which characters make a
// word of 文字抽出), the sort (how the words are ordered) and the output format (how each word is
// written). Each parses into its items or says where it went wrong; the form refuses a text with
// an error and puts the cursor there.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "output/output_parameters.h"

namespace vondal {

// The parameters of the word tables beside those of output_parameters.h, and the choices of 21,
// 25 and 27 that take the user's own text.
enum WordTableParameter : int {
  kWordField = 17,
  kInnerSeparator = 20,
  kCharacterTypes = 21,
  kBrackets = 23,
  kInterval = 24,
  kSortChoice = 25,
  kFormatChoice = 27,
};
inline constexpr int kUserChoiceTypes = 8;
inline constexpr int kUserChoiceSort = 5;
inline constexpr int kUserChoiceFormat = 6;

// One item of a character-type text: "3a" (at least three ASCII letters), "-n" (no digits),
// "!s" (any character but a space).
struct CharacterTypeItem {
  char letter = 0;        // a class letter of the extended matcher
  bool negated = false;   // "!": the characters outside the class
  bool excluded = false;  // "-": a word holds none of these
  int minimum = 0;        // a word holds at least this many
};

struct CharacterTypes {
  std::vector<CharacterTypeItem> items;
  int errorPosition = -1;  // byte of the error; -1 when the text was taken

  // Whether the character at text[pos] belongs to the item.
  static bool Holds(const CharacterTypeItem& item, std::string_view text, size_t pos);
};

// Items, blanks between them ignored; an empty text, an unknown letter or a letter used twice is
// an error.
CharacterTypes ParseCharacterTypes(std::string_view text);

// Where the compared part of a word starts ("+") or ends ("-"): after a number of characters, or
// at the first character of a class (or, negated, outside it).
struct SortBound {
  bool set = false;
  int count = 0;
  char letter = 0;  // 0: by count
  bool negated = false;
};

struct SortKey {
  char letter = 'a';  // a i n b c p d f o, lower case
  bool descending = false;
  SortBound from;  // "+": the part starts behind count characters, or at the first of a class
  SortBound to;    // "-": the part holds at most count characters, or ends before the first of a class
};

struct SortSpecification {
  std::vector<SortKey> keys;
  int errorPosition = -1;
};

// Up to eight keys, blanks ignored; the empty text is the order of appearance.
SortSpecification ParseSortSpecification(std::string_view text);

// One item of an output format: literal text, or a "$" item with its letter (lower case) and width
// (-1 when none was given).
struct FormatItem {
  char letter = 0;  // 0 literal text
  int width = -1;
  std::string text;  // the literal text; for x the one character
};

struct WordFormat {
  std::vector<FormatItem> items;
  bool eachOccurrence = false;  // "$*": every word as many times as it occurs, one a line
  int errorPosition = -1;

  // One entry: the word, its serial number and its frequency, with CR LF.
  void AppendEntry(std::string& out, std::string_view word, int serial, int frequency) const;
};

// At most 16 items; a format needs one of $l $r $q.
WordFormat ParseWordFormat(std::string_view text);

// The user's texts of a word-table form, as the frame checks them before a run (character types,
// sort, format, each when its choice is ﾕｰｻﾞ定義): the message, parameter and position of the
// first that is wrong.
struct WordFormError {
  std::string message;  // "" when all are right
  int parameter = 0;
  int position = 0;
};
WordFormError CheckWordTableTexts(const OutputParameters& p, const std::vector<int>& list);

}  // namespace vondal

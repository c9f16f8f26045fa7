// The extended matcher: the plain elements plus character classes with counts ("@3n", "@+K",
// "@!n") and the escapes "@?" "@*" "@#" "@@".
#include <array>
#include <limits>

#include "app/text/sjis.h"
#include "app/text/star_search.h"
#include "app/text/wildcard.h"

namespace vondal {
namespace {

using star_search::Step;

// A character of the text as a code: the byte, or lead byte * 256 + second byte. A lead byte at
// the very end of a text is a broken character and belongs to no class.
struct TextChar {
  unsigned code;
  bool broken;
};

TextChar CharAt(std::string_view text, size_t pos) {
  auto lead = static_cast<unsigned char>(text[pos]);
  if (CharLength(text, pos) == 2) return {lead * 256u + static_cast<unsigned char>(text[pos + 1]), false};
  return {lead, IsLeadByte(lead)};
}

constexpr bool In(unsigned code, unsigned first, unsigned last) { return code >= first && code <= last; }

constexpr bool IsHiragana(unsigned code) { return In(code, 0x829F, 0x82F1); }  // ぁ–ん
constexpr bool IsKatakana(unsigned code) { return In(code, 0x8340, 0x8396); }  // ァ–ヶ
// ゛ ゜ ー
constexpr bool IsKanaMark(unsigned code) { return code == 0x814A || code == 0x814B || code == 0x815B; }

// The full-width marks of class M: 0x8141-0x81FC less ゛ ゜ (0x814A-B) and ー (0x815B).
constexpr bool IsFullWidthMark(unsigned code) {
  return In(code, 0x8141, 0x8149) || In(code, 0x814C, 0x815A) || In(code, 0x815C, 0x81FC);
}

// Membership of a character in a class by its code alone.
bool InClassRange(char letter, unsigned code) {
  switch (letter) {
    case 'h':
      return In(code, 0x20, 0xDF);
    case 'Z':
      return In(code, 0x8140, 0xFCFF);
    case 'a':
      return In(code, 'A', 'Z') || In(code, 'a', 'z');
    case 'A':
      return In(code, 0x8260, 0x8279) || In(code, 0x8281, 0x829A);
    case 'l':
      return In(code, 'a', 'z');
    case 'L':
      return In(code, 0x8281, 0x829A);
    case 'u':
      return In(code, 'A', 'Z');
    case 'U':
      return In(code, 0x8260, 0x8279);
    case 'n':
      return In(code, '0', '9');
    case 'N':
      return In(code, 0x824F, 0x8258);
    case 'k':
      return In(code, 0xA6, 0xDF);
    case 'K':
      return IsKatakana(code);
    case 's':
      return code == ' ';
    case 'S':
      return code == 0x8140;
    case 'p':
      return code == '.';
    case 'P':
      return code == 0x8144;
    case 'b':
      return code == '(' || code == ')' || code == '[' || code == ']' || code == '{' || code == '}' ||
             code == 0xA2 || code == 0xA3;  // ｢ ｣
    case 'B':
      return In(code, 0x8169, 0x817A);
    case 'm':
      return In(code, 0x21, 0x2F) || In(code, 0x3A, 0x40) || In(code, 0x5B, 0x60) || In(code, 0x7B, 0x7E);
    case 'M':
      return IsFullWidthMark(code);
    case 'H':
      return IsHiragana(code);
    case 'J':
      return IsHiragana(code) || IsKatakana(code);
    case 'C':
      return In(code, 0x889F, 0xFCFF) || code == 0x8396 || code == 0x8158;  // kanji, ヶ, 々
    case 'G':
      return In(code, 0x839F, 0x83D6);
    case 'R':
      return In(code, 0x8440, 0x8491);
    case 'c':
      return In(code, 0x01, 0x1F);
    case 't':
      return code == '\t';
    case '$':
      return code == '\t' || code == ' ' || code == 0x8140;
    default:
      return false;
  }
}

// The class letters, as a table: this test runs for every "@" element the search meets.
constexpr std::array<bool, 256> kIsClassLetter = [] {
  std::array<bool, 256> table{};
  for (unsigned char c : std::string_view("hZaAlLuUnNkKsSpPbBmMHJCGRct$")) table[c] = true;
  return table;
}();

constexpr bool IsEscaped(char c) { return c == '?' || c == '*' || c == '#' || c == '@'; }

// Membership of the character at text[pos] in a class. ゛ ゜ ー belong to the kana classes K, H
// and J when they follow a character of that kind, and to M only when they follow no kana.
bool InClass(char letter, std::string_view text, size_t pos) {
  TextChar ch = CharAt(text, pos);
  if (ch.broken) return false;
  bool kanaClass = letter == 'K' || letter == 'H' || letter == 'J' || letter == 'M';
  if (!IsKanaMark(ch.code) || !kanaClass) return InClassRange(letter, ch.code);
  unsigned before = pos == 0 ? 0 : CharAt(text, PrevCharStart(text, pos)).code;
  switch (letter) {
    case 'K':
      return IsKatakana(before);
    case 'H':
      return IsHiragana(before);
    case 'J':
      return IsKatakana(before) || IsHiragana(before);
    default:
      return !IsKatakana(before) && !IsHiragana(before);
  }
}

class ExtendedMatcher {
 public:
  ExtendedMatcher(std::string_view pattern, std::string_view text, bool ignoreCase)
      : pattern_(pattern), text_(text), ignoreCase_(ignoreCase) {}

  size_t TextUnit(size_t t) const { return CharLength(text_, t); }
  bool KeepsEveryStar() const { return false; }

  Step Match(size_t& p, size_t& t, int&) const {
    switch (pattern_[p]) {
      case '?':
        if (t == text_.size()) return Step::kFailed;
        t += TextUnit(t);
        ++p;
        return Step::kMatched;
      case '#':
        ++p;
        return TakeClass(t, 'n', false, 1, false) ? Step::kMatched : Step::kFailed;
      case '@':
        return MatchAt(p, t);
      default:
        if (t == text_.size() || !SameChar(pattern_, p, text_, t, ignoreCase_)) return Step::kFailed;
        p += CharLength(pattern_, p);
        t += TextUnit(t);
        return Step::kMatched;
    }
  }

 private:
  // "@" escape or "@" count "!"? class-letter.
  Step MatchAt(size_t& p, size_t& t) const {
    size_t q = p + 1;
    if (q < pattern_.size() && IsEscaped(pattern_[q])) {
      if (t == text_.size() || text_[t] != pattern_[q]) return Step::kFailed;
      p = q + 1;
      ++t;
      return Step::kMatched;
    }
    size_t count = 1;
    bool oneOrMore = false;
    if (q < pattern_.size() && pattern_[q] == '+') {
      oneOrMore = true;
      ++q;
    } else if (q < pattern_.size() && IsAsciiDigit(pattern_[q])) {
      // A count beyond any text simply cannot be met; keep it from wrapping around.
      constexpr size_t kCountCap = std::numeric_limits<size_t>::max() / 10 - 9;
      for (count = 0; q < pattern_.size() && IsAsciiDigit(pattern_[q]); ++q) {
        count = count < kCountCap ? count * 10 + (pattern_[q] - '0') : kCountCap;
      }
    }
    bool negate = q < pattern_.size() && pattern_[q] == '!';
    if (negate) ++q;
    if (q == pattern_.size() || !kIsClassLetter[static_cast<unsigned char>(pattern_[q])]) {
      return Step::kBadPattern;
    }
    char letter = pattern_[q];
    p = q + 1;
    return TakeClass(t, letter, negate, count, oneOrMore) ? Step::kMatched : Step::kFailed;
  }

  // Takes count characters of the class (or not of it, negated), or with oneOrMore as many as
  // there are, at least one; nothing is given back to what follows.
  bool TakeClass(size_t& t, char letter, bool negate, size_t count, bool oneOrMore) const {
    size_t taken = 0;
    while ((oneOrMore || taken < count) && t < text_.size() && InClass(letter, text_, t) != negate) {
      t += TextUnit(t);
      ++taken;
    }
    return oneOrMore ? taken > 0 : taken == count;
  }

  std::string_view pattern_, text_;
  bool ignoreCase_;
};

}  // namespace

bool MatchExtended(std::string_view pattern, std::string_view text, bool ignoreCase) {
  return star_search::Search(ExtendedMatcher(pattern, text, ignoreCase), pattern, text.size());
}

bool InCharacterClass(char letter, std::string_view text, size_t pos) {
  return IsCharacterClassLetter(letter) && InClass(letter, text, pos);
}

bool IsCharacterClassLetter(char letter) { return kIsClassLetter[static_cast<unsigned char>(letter)]; }

}  // namespace vondal

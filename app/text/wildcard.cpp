// The plain matcher, the call-sign matcher and the file-name matcher. The extended matcher is in
// extended_match.cpp; "*" for all of them in star_search.h.
#include "app/text/wildcard.h"

#include "app/text/sjis.h"
#include "app/text/star_search.h"

namespace vondal {
namespace {

using star_search::Step;

// jstrwldc: "?" any character, "#" a digit, "@" a letter of either case, else the character
// itself. Two-byte characters are one unit, so a second byte that happens to be "@" or "\" is
// never read as an element.
class PlainMatcher {
 public:
  PlainMatcher(std::string_view pattern, std::string_view text, bool ignoreCase)
      : pattern_(pattern), text_(text), ignoreCase_(ignoreCase) {}

  size_t TextUnit(size_t t) const { return CharLength(text_, t); }
  bool KeepsEveryStar() const { return false; }

  Step Match(size_t& p, size_t& t, int&) const {
    if (t == text_.size()) return Step::kFailed;
    size_t textLen = CharLength(text_, t);
    auto c = static_cast<unsigned char>(text_[t]);
    bool ok;
    size_t patternLen = 1;
    switch (pattern_[p]) {
      case '?':
        ok = true;
        break;
      case '#':
        ok = textLen == 1 && IsAsciiDigit(c);
        break;
      case '@':
        ok = textLen == 1 && IsAsciiLetter(c);
        break;
      default:
        patternLen = CharLength(pattern_, p);
        ok = SameChar(pattern_, p, text_, t, ignoreCase_);
    }
    if (!ok) return Step::kFailed;
    p += patternLen;
    t += textLen;
    return Step::kMatched;
  }

 private:
  std::string_view pattern_, text_;
  bool ignoreCase_;
};

// The call-sign matcher works on bytes and remembers one of them ("%#" "%@" "%?"), which "%&",
// "%=" and "%!" read back.
class CallsignMatcher {
 public:
  CallsignMatcher(std::string_view pattern, std::string_view text) : pattern_(pattern), text_(text) {
    for (size_t p = 0; p + 1 < pattern_.size(); ++p) {
      if (pattern_[p] != '%') continue;
      char what = pattern_[++p];
      recalls_ = recalls_ || what == '&' || what == '=' || what == '!';
    }
  }

  size_t TextUnit(size_t) const { return 1; }
  bool KeepsEveryStar() const { return recalls_; }

  Step Match(size_t& p, size_t& t, int& remembered) const {
    if (t == text_.size()) return Step::kFailed;
    auto c = static_cast<unsigned char>(text_[t]);
    bool ok;
    size_t patternLen = 1;
    char element = pattern_[p];
    if (element == '%' && p + 1 < pattern_.size()) {
      patternLen = 2;
      char what = pattern_[p + 1];
      switch (what) {
        case '#':
        case '@':
        case '?':
          ok = what == '?' || (what == '#' ? IsAsciiDigit(c) : IsAsciiUpper(c));
          if (ok) remembered = c;
          break;
        case '&':
        case '=':
          ok = remembered == c;  // never true while nothing is remembered
          break;
        case '!':
          ok = remembered != c;
          break;
        default:
          ok = c != static_cast<unsigned char>(what);
      }
    } else {
      // A "%" that ends the pattern stands for itself.
      switch (element) {
        case '?':
          ok = true;
          break;
        case '#':
          ok = IsAsciiDigit(c);
          break;
        case '@':
          ok = IsAsciiUpper(c);
          break;
        default:
          ok = text_[t] == element;
      }
    }
    if (!ok) return Step::kFailed;
    p += patternLen;
    t += 1;
    return Step::kMatched;
  }

 private:
  std::string_view pattern_, text_;
  bool recalls_ = false;
};

// The position of the last "." of a name, or npos. Walks by characters so that a "." is only
// ever taken as a character of its own.
size_t LastDot(std::string_view name) {
  size_t dot = std::string_view::npos;
  for (size_t i = 0; i < name.size(); i += CharLength(name, i)) {
    if (name[i] == '.') dot = i;
  }
  return dot;
}

}  // namespace

bool jstrwldc(std::string_view pattern, std::string_view text, bool ignoreCase) {
  return star_search::Search(PlainMatcher(pattern, text, ignoreCase), pattern, text.size());
}

bool MatchCallsign(std::string_view pattern, std::string_view text) {
  return star_search::Search(CallsignMatcher(pattern, text), pattern, text.size());
}

bool MatchFileName(std::string_view pattern, std::string_view name) {
  size_t patternDot = LastDot(pattern), nameDot = LastDot(name);
  if ((patternDot == std::string_view::npos) != (nameDot == std::string_view::npos)) return false;
  if (patternDot == std::string_view::npos) return MatchExtended(pattern, name, true);
  return MatchExtended(pattern.substr(0, patternDot), name.substr(0, nameDot), true) &&
         MatchExtended(pattern.substr(patternDot + 1), name.substr(nameDot + 1), true);
}

}  // namespace vondal

#include "output/table_word_specs.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "app/text/sjis.h"
#include "app/text/wildcard.h"

namespace vondal {
namespace {

constexpr int kMaxSortKeys = 8;
constexpr int kMaxFormatItems = 16;
constexpr int kMaxSortCount = 65535;
constexpr int kMaxFormatWidth = 1000;

// A decimal number at text[pos], at most `limit`; pos moves behind it. -1 when there is no digit
// there, -2 when the number is too large.
int ReadNumber(std::string_view text, size_t& pos, int limit) {
  if (pos >= text.size() || !IsAsciiDigit(text[pos])) return -1;
  int64_t value = 0;
  while (pos < text.size() && IsAsciiDigit(text[pos])) {
    value = value * 10 + (text[pos] - '0');
    if (value > limit) return -2;
    ++pos;
  }
  return static_cast<int>(value);
}

void SkipBlanks(std::string_view text, size_t& pos) {
  while (pos < text.size() && text[pos] == ' ') ++pos;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool CharacterTypes::Holds(const CharacterTypeItem& item, std::string_view text, size_t pos) {
  return InCharacterClass(item.letter, text, pos) != item.negated;
}

CharacterTypes ParseCharacterTypes(std::string_view text) {
  CharacterTypes types;
  size_t pos = 0;
  for (;;) {
    SkipBlanks(text, pos);
    if (pos >= text.size()) break;
    CharacterTypeItem item;
    const size_t start = pos;
    if (text[pos] == '-') {
      item.excluded = true;
      ++pos;
    } else {
      const int minimum = ReadNumber(text, pos, 1000000);
      if (minimum == -2) {
        types.errorPosition = static_cast<int>(start);
        return types;
      }
      item.minimum = std::max(0, minimum);
    }
    if (pos < text.size() && text[pos] == '!') {
      item.negated = true;
      ++pos;
    }
    if (pos >= text.size() || CharLength(text, pos) != 1 || !IsCharacterClassLetter(text[pos])) {
      types.errorPosition = static_cast<int>(pos);
      return types;
    }
    item.letter = text[pos];
    for (const CharacterTypeItem& before : types.items) {
      if (before.letter == item.letter) {
        types.errorPosition = static_cast<int>(pos);
        return types;
      }
    }
    ++pos;
    types.items.push_back(item);
  }
  if (types.items.empty()) types.errorPosition = static_cast<int>(pos);
  return types;
}

SortSpecification ParseSortSpecification(std::string_view text) {
  SortSpecification spec;
  auto fail = [&](size_t pos) {
    spec.errorPosition = static_cast<int>(pos);
    spec.keys.clear();
    return spec;
  };
  size_t pos = 0;
  for (;;) {
    SkipBlanks(text, pos);
    if (pos >= text.size()) break;
    const char c = text[pos];
    const char letter = AsciiLower(c);
    if (CharLength(text, pos) != 1 || std::string_view("ainbcpdfo").find(letter) == std::string_view::npos) {
      return fail(pos);
    }
    if (static_cast<int>(spec.keys.size()) == kMaxSortKeys) return fail(pos);
    SortKey key;
    key.letter = letter;
    key.descending = IsAsciiUpper(c);
    ++pos;
    for (;;) {
      SkipBlanks(text, pos);
      if (pos >= text.size() || (text[pos] != '+' && text[pos] != '-')) break;
      const size_t at = pos;
      SortBound& bound = text[pos] == '+' ? key.from : key.to;
      if (bound.set) return fail(at);
      ++pos;
      bound.set = true;
      const int count = ReadNumber(text, pos, kMaxSortCount);
      if (count == -2) return fail(at + 1);
      if (count >= 0) {
        if (letter == 'f' || letter == 'o') return fail(at);
        bound.count = count;
        continue;
      }
      if (letter == 'f' || letter == 'o' || letter == 'd') return fail(at);
      if (pos < text.size() && text[pos] == '!') {
        bound.negated = true;
        ++pos;
      }
      if (pos >= text.size() || CharLength(text, pos) != 1 || !IsCharacterClassLetter(text[pos]))
        return fail(pos);
      bound.letter = text[pos++];
    }
    spec.keys.push_back(key);
  }
  return spec;
}

WordFormat ParseWordFormat(std::string_view text) {
  WordFormat format;
  auto fail = [&](size_t pos) {
    format.errorPosition = static_cast<int>(pos);
    format.items.clear();
    return format;
  };
  if (text == "$*") {
    format.eachOccurrence = true;
    return format;
  }
  bool hasWord = false;
  size_t pos = 0;
  while (pos < text.size()) {
    if (static_cast<int>(format.items.size()) == kMaxFormatItems) return fail(pos);
    FormatItem item;
    if (text[pos] != '$') {
      const size_t start = pos;
      while (pos < text.size() && text[pos] != '$') pos += CharLength(text, pos);
      item.text = std::string(text.substr(start, pos - start));
      format.items.push_back(std::move(item));
      continue;
    }
    ++pos;
    const size_t widthAt = pos;
    item.width = ReadNumber(text, pos, kMaxFormatWidth);
    if (item.width == -2) return fail(widthAt);
    if (pos >= text.size()) return fail(pos);
    item.letter = AsciiLower(text[pos]);
    if (CharLength(text, pos) != 1 ||
        std::string_view("lrqnfstx$").find(item.letter) == std::string_view::npos) {
      return fail(pos);
    }
    ++pos;
    if (item.letter == 'x') {
      if (pos + 2 > text.size() || HexDigit(text[pos]) < 0 || HexDigit(text[pos + 1]) < 0) {
        return fail(pos);
      }
      item.text = std::string(1, static_cast<char>(HexDigit(text[pos]) * 16 + HexDigit(text[pos + 1])));
      pos += 2;
    }
    hasWord = hasWord || item.letter == 'l' || item.letter == 'r' || item.letter == 'q';
    format.items.push_back(std::move(item));
  }
  if (!hasWord) return fail(text.size());
  return format;
}

void WordFormat::AppendEntry(std::string& out, std::string_view word, int serial, int frequency) const {
  if (eachOccurrence) {
    for (int i = 0; i < frequency; ++i) {
      out += word;
      out += "\r\n";
    }
    return;
  }
  auto pad = [&out](size_t length, int width) {
    if (width > 0 && length < static_cast<size_t>(width))
      out.append(static_cast<size_t>(width) - length, ' ');
  };
  char number[16];
  for (const FormatItem& item : items) {
    const int repeat = item.width < 0 ? 1 : item.width;
    switch (item.letter) {
      case 0:
        out += item.text;
        break;
      case 'l':
        out += word;
        pad(word.size(), item.width);
        break;
      case 'r':
        pad(word.size(), item.width);
        out += word;
        break;
      case 'q':
        out += '"';
        out += word;
        out += '"';
        pad(word.size() + 2, item.width);
        break;
      case 'n':
      case 'f': {
        const int value = item.letter == 'n' ? serial : frequency;
        const char* end = std::to_chars(number, number + sizeof number, value).ptr;
        pad(static_cast<size_t>(end - number), item.width);
        out.append(number, static_cast<size_t>(end - number));
        break;
      }
      case 's':
        out.append(static_cast<size_t>(repeat), ' ');
        break;
      case 't':
        out.append(static_cast<size_t>(repeat), '\t');
        break;
      case 'x':
        out.append(static_cast<size_t>(repeat), item.text[0]);
        break;
      case '$':
        out.append(static_cast<size_t>(repeat), '$');
        break;
      default:
        break;
    }
  }
  out += "\r\n";
}

WordFormError CheckWordTableTexts(const OutputParameters& p, const std::vector<int>& list) {
  auto has = [&list](int parameter) { return std::find(list.begin(), list.end(), parameter) != list.end(); };
  if (has(kUserCharacterTypes) && p[kCharacterTypes].choice == kUserChoiceTypes) {
    const CharacterTypes types = ParseCharacterTypes(p[kUserCharacterTypes].value);
    if (types.errorPosition >= 0) return {"文字種が不適当です", kUserCharacterTypes, types.errorPosition};
  }
  if (has(kUserSort) && p[kSortChoice].choice == kUserChoiceSort) {
    const SortSpecification sort = ParseSortSpecification(p[kUserSort].value);
    if (sort.errorPosition >= 0) return {"ｿｰﾄ方法が不適当です", kUserSort, sort.errorPosition};
  }
  if (has(kUserFormat) && p[kFormatChoice].choice == kUserChoiceFormat) {
    const WordFormat format = ParseWordFormat(p[kUserFormat].value);
    if (format.errorPosition >= 0) return {"出力形式が不適当です", kUserFormat, format.errorPosition};
  }
  return {};
}

}  // namespace vondal

#include "app/text/text_helpers.h"

#include <algorithm>

#include "app/text/sjis.h"

namespace vondal {
namespace {

bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }

// Applies map to every single-byte character of text; two-byte characters are copied whole.
template <class Map>
std::string MapSingleBytes(std::string_view text, Map map) {
  std::string out(text);
  for (size_t i = 0; i < out.size(); i += CharLength(out, i)) {
    if (CharLength(out, i) == 1) out[i] = map(out[i]);
  }
  return out;
}

char Fold(char c, CaseMode mode) {
  switch (mode) {
    case CaseMode::kExact:
      return c;
    case CaseMode::kUpper:
      return AsciiUpper(c);
    default:
      return AsciiLower(c);
  }
}

// The words of text between runs of bytes for which isSeparator holds, walking by characters.
template <class IsSeparator>
std::vector<std::string_view> SplitAt(std::string_view text, size_t maxCount, IsSeparator isSeparator) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (words.size() < maxCount) {
    while (i < text.size() && CharLength(text, i) == 1 && isSeparator(text[i])) ++i;
    if (i == text.size()) break;
    size_t start = i;
    while (i < text.size() && !(CharLength(text, i) == 1 && isSeparator(text[i]))) i += CharLength(text, i);
    words.push_back(text.substr(start, i - start));
  }
  return words;
}

}  // namespace

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlankOrTab(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankOrTab(text.back())) text.remove_suffix(1);
  return text;
}

std::string ToUpperAscii(std::string_view text) { return MapSingleBytes(text, AsciiUpper); }
std::string ToLowerAscii(std::string_view text) { return MapSingleBytes(text, AsciiLower); }

std::string InvertCase(std::string_view text) {
  return MapSingleBytes(text, [](char c) { return IsAsciiUpper(c) ? AsciiLower(c) : AsciiUpper(c); });
}

std::string Capitalise(std::string_view text) {
  std::string out(text);
  bool inWord = false;
  for (size_t i = 0; i < out.size(); i += CharLength(out, i)) {
    bool letter = CharLength(out, i) == 1 && IsAsciiLetter(out[i]);
    if (letter) out[i] = inWord ? AsciiLower(out[i]) : AsciiUpper(out[i]);
    inWord = letter;
  }
  return out;
}

namespace {

// Whether `what` stands at the character start `start` of `text`, character by character.
bool StandsAt(std::string_view text, size_t start, std::string_view what, bool ignoreCase) {
  size_t t = start, w = 0;
  while (w < what.size() && t < text.size() && SameChar(what, w, text, t, ignoreCase)) {
    w += CharLength(what, w);
    t += CharLength(text, t);
  }
  return w == what.size();
}

}  // namespace

size_t FindText(std::string_view text, std::string_view what, bool ignoreCase) {
  if (!ignoreCase) {
    // The bytes are found first; a place counts only at a character start.
    size_t boundary = 0;
    for (size_t at = text.find(what); at != std::string_view::npos; at = text.find(what, at + 1)) {
      while (boundary < at) boundary += CharLength(text, boundary);
      if (boundary == at && StandsAt(text, at, what, false)) return at;
    }
    return std::string_view::npos;
  }
  for (size_t start = 0; start + what.size() <= text.size(); start += CharLength(text, start)) {
    if (StandsAt(text, start, what, true)) return start;
  }
  return std::string_view::npos;
}

int CompareTextN(std::string_view a, std::string_view b, size_t maxBytes, CaseMode mode) {
  a = a.substr(0, std::min(a.size(), maxBytes));
  b = b.substr(0, std::min(b.size(), maxBytes));
  // Each text keeps its own character boundaries: the same index may be a second byte in one and
  // a letter in the other.
  size_t aNext = 0, bNext = 0;  // the next character start of each
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    bool aSingle = i == aNext && CharLength(a, i) == 1;
    bool bSingle = i == bNext && CharLength(b, i) == 1;
    if (i == aNext) aNext += CharLength(a, i);
    if (i == bNext) bNext += CharLength(b, i);
    auto ca = static_cast<unsigned char>(aSingle ? Fold(a[i], mode) : a[i]);
    auto cb = static_cast<unsigned char>(bSingle ? Fold(b[i], mode) : b[i]);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

int CompareText(std::string_view a, std::string_view b, CaseMode mode) {
  return CompareTextN(a, b, kNoLimit, mode);
}

size_t FitCopy(std::string& buffer, size_t col, size_t lastCol, std::string_view text) {
  size_t len = 0;
  while (len < text.size() && col + len + CharLength(text, len) <= lastCol + 1) len += CharLength(text, len);
  // A lead byte left alone at the end of text is half a character: it would pair with the byte
  // after it in the buffer.
  if (len > 0 && len == text.size() && ByteKind(text, len - 1) == 0 && IsLeadByte(text[len - 1])) --len;
  if (len == 0) return col;
  if (buffer.size() < col) buffer.resize(col, ' ');
  size_t end = col + len;
  // Halves of two-byte characters the copy cuts, found before the copy overwrites them.
  bool cutsAtStart = col < buffer.size() && ByteKind(buffer, col) == 2;
  bool cutsAtEnd = end < buffer.size() && ByteKind(buffer, end) == 2;
  if (buffer.size() < end) buffer.resize(end, ' ');
  buffer.replace(col, len, text.substr(0, len));
  if (cutsAtStart) buffer[col - 1] = ' ';
  if (cutsAtEnd) buffer[end] = ' ';
  return end;
}

std::vector<std::string_view> Split(std::string_view text, std::string_view separators, size_t maxCount) {
  char separator = 0;
  bool found = false;
  for (size_t i = 0; i < text.size() && !found; i += CharLength(text, i)) {
    found = CharLength(text, i) == 1 && separators.find(text[i]) != std::string_view::npos;
    if (found) separator = text[i];
  }
  if (!found) {
    if (text.empty() || maxCount == 0) return {};
    return {text};
  }
  return SplitAt(text, maxCount, [separator](char c) { return c == separator; });
}

std::vector<std::string_view> SplitWords(std::string_view text, size_t maxCount) {
  return SplitAt(text, maxCount, IsBlankOrTab);
}

std::string FormatNumber(uint64_t value, size_t width) {
  std::string digits = std::to_string(value);
  if (digits.size() < width) digits.insert(0, width - digits.size(), ' ');
  return digits;
}

int64_t FrequencyToKhz(std::string_view text) {
  size_t dot = text.find('.');
  if (dot == std::string_view::npos) return 0;
  // Above this the kHz figure would not fit; no band comes near it.
  constexpr int64_t kMaxMhz = 1'000'000'000'000;
  int64_t mhz = 0;
  for (size_t i = 0; i < dot; ++i) {
    if (!IsAsciiDigit(text[i])) return 0;
    mhz = mhz * 10 + (text[i] - '0');
    if (mhz > kMaxMhz) return 0;
  }
  int64_t khz = 0, scale = 100;
  for (size_t i = dot + 1; i < text.size() && scale > 0 && IsAsciiDigit(text[i]); ++i, scale /= 10) {
    khz += (text[i] - '0') * scale;
  }
  return mhz * 1000 + khz;
}

namespace {

struct ShortForm {
  std::string_view text;
  std::string_view replacement;
};

constexpr ShortForm kShortForms[] = {
    {"1.9", "1.907"},  {"10.", "10.100"},  {"18.", "18.068"},
    {"24.", "24.890"}, {"1200.", "1260."}, {"5600.", "5650."},
};

}  // namespace

std::string_view ExpandShortForm(std::string_view freq) {
  if (freq.empty() || (freq.back() != '.' && freq != "1.9")) return freq;  // most texts, at once
  for (const ShortForm& form : kShortForms) {
    if (freq == form.text) return form.replacement;
  }
  return freq;
}

std::string SpacesToTabs(std::string_view text, size_t tabWidth) {
  if (tabWidth <= 1) return std::string(text);
  std::string out;
  size_t col = 0, blanks = 0;
  for (size_t i = 0; i < text.size(); i += CharLength(text, i)) {
    char c = text[i];
    if (c == ' ' && CharLength(text, i) == 1) {
      ++blanks;
      if (++col % tabWidth == 0) {
        out += blanks >= 2 ? "\t" : " ";
        blanks = 0;
      }
      continue;
    }
    out.append(blanks, ' ');
    blanks = 0;
    out.append(text.substr(i, CharLength(text, i)));
    if (c == '\t') {
      col += tabWidth - col % tabWidth;
    } else if (c == '\n' || c == '\r') {
      col = 0;
    } else {
      col += CharLength(text, i);
    }
  }
  out.append(blanks, ' ');
  return out;
}

int DayOfWeek(int year, int month, int day) {
  if (month <= 2) {
    month += 12;  // January and February count as months 13 and 14 of the year before
    --year;
  }
  int sum = year + year / 4 - year / 100 + year / 400 + (13 * month + 8) / 5 + day;
  return (sum % 7 + 7) % 7;
}

}  // namespace vondal

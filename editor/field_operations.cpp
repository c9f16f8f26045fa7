#include "editor/field_operations.h"

#include <cstdio>

#include "app/text/sjis.h"
#include "log/date_time.h"
#include "log/field_table.h"

namespace vondal {
namespace {

constexpr int kNineHours = 540;
constexpr int32_t kCentury = 52596000;  // 36,525 days of minutes: the key window wraps

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string ConvertTimeZone(int field, std::string_view date, std::string_view start,
                            std::string_view fieldText, bool toUtc, std::string& result) {
  if (field != DATE && field != START && field != END) return "ﾌｨｰﾙﾄﾞが不適当です";
  const std::string_view time = field == DATE ? start : fieldText;
  if (CheckDate(date) != 0 || time.size() < 2 || !IsDigit(time[0]) || !IsDigit(time[1]) || time[0] >= '3') {
    return "ﾃﾞｰﾀが不適当です";
  }
  // Hours up to 29 may carry the last day past the window's end: the key wraps below.
  int32_t key = DayMinutes(date) + ((time[0] - '0') * 10 + (time[1] - '0')) * 60;
  if (toUtc) {
    if (key < kNineHours) key += kCentury;
    key -= kNineHours;
  } else {
    key += kNineHours;
  }
  const DateTime moved = KeyToDateTime(key % kCentury);
  char text[64];
  if (field == DATE) {
    std::snprintf(text, sizeof text, "%02d%02d%02d", moved.year % 100, moved.month, moved.day);
  } else {
    std::snprintf(text, sizeof text, "%02d", moved.hour);
  }
  result = text;
  if (field != DATE) result += fieldText.substr(2);
  return "";
}

std::string StepAtCursor(std::string& text, size_t cursor, int delta) {
  if (cursor < text.size() && CharLength(text, cursor) == 1) {
    const char c = text[cursor];
    const bool upper = c >= 'A' && c <= 'Z';
    const bool lower = c >= 'a' && c <= 'z';
    const char next = static_cast<char>(c + delta);
    if ((upper && next >= 'A' && next <= 'Z') || (lower && next >= 'a' && next <= 'z')) {
      text[cursor] = next;
      return "";
    }
  }
  size_t end = cursor;
  while (end < text.size() && IsDigit(text[end])) ++end;
  const char stuck = delta > 0 ? '9' : '0';
  bool possible = false;
  for (size_t i = cursor; i < end; ++i) possible = possible || text[i] != stuck;
  if (!possible) return "これ以上増減できません";
  for (size_t i = end; i-- > cursor;) {
    if (text[i] != stuck) {
      text[i] = static_cast<char>(text[i] + delta);
      break;
    }
    text[i] = delta > 0 ? '0' : '9';  // carry or borrow to the left
  }
  return "";
}

std::string TidySeparators(std::string_view text, char separator) {
  std::string result;
  for (size_t pos = 0; pos < text.size();) {
    const size_t length = CharLength(text, pos);
    const bool isSeparator = length == 1 && text[pos] == separator;
    // A doubled separator becomes one; a leading one goes.
    if (!(isSeparator && (result.empty() || (result.back() == separator && !result.empty() &&
                                             IsCharStart(result, result.size() - 1))))) {
      result.append(text.substr(pos, length));
    }
    pos += length;
  }
  if (!result.empty() && result.back() == separator && IsCharStart(result, result.size() - 1))
    result.pop_back();
  return result;
}

std::string ConvertWithDictionary(const Dictionary& dictionary, bool reverse, size_t maxLength,
                                  std::string& text) {
  std::string result = text;
  for (size_t pos = 0; pos < result.size();) {
    const DictionaryPair* match = nullptr;
    for (const DictionaryPair& pair : dictionary.pairs) {
      const std::string& from = reverse ? pair.to : pair.from;
      if (!from.empty() && std::string_view(result).substr(pos).starts_with(from)) {
        match = &pair;
        break;
      }
    }
    if (!match) {
      pos += CharLength(result, pos);
      continue;
    }
    const std::string& from = reverse ? match->to : match->from;
    const std::string& to = reverse ? match->from : match->to;
    if (pos + to.size() > maxLength) return "変換結果が長すぎます";
    result.replace(pos, from.size(), to);
    pos += to.size();
    if (!dictionary.general) break;
  }
  if (result.size() > maxLength) return "変換結果が長すぎます";
  text = std::move(result);
  return "";
}

}  // namespace vondal

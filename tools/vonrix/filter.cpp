#include "tools/vonrix/filter.h"

#include "app/text/sjis.h"
#include "app/text/text_helpers.h"
#include "app/text/wildcard.h"
#include "log/field_table.h"

namespace vondal {

bool ParseFilter(std::string_view text, Filter& filter) {
  size_t pos = 0;
  while (pos < text.size() && IsAsciiLetter(text[pos])) ++pos;
  const std::string_view name = text.substr(0, pos);
  int found = -1;
  for (int field = 0; field < kStoredFieldCount; ++field) {
    const std::string_view fieldName = DefaultFieldTable()[field].name;
    if (name.size() > fieldName.size() ||
        CompareTextN(name, fieldName, name.size(), CaseMode::kIgnore) != 0) {
      continue;
    }
    if (found >= 0) return false;  // the beginning of two names
    found = field;
  }
  if (found < 0) return false;
  filter.field = found;
  filter.negated = pos < text.size() && text[pos] == '!';
  if (filter.negated) ++pos;
  if (pos >= text.size() || (text[pos] != '=' && text[pos] != ':')) return false;
  filter.exact = text[pos] == ':';
  filter.keyword = text.substr(pos + 1);
  return true;
}

bool Passes(const Filter& filter, std::string_view text) {
  return jstrwldc(filter.keyword, text, !filter.exact) != filter.negated;
}

std::string Describe(const Filter& filter) {
  std::string text = " ";
  text += DefaultFieldTable()[filter.field].name;
  if (filter.negated) text += '!';
  text += filter.exact ? "==" : "=";
  text += filter.keyword;
  return text;
}

}  // namespace vondal

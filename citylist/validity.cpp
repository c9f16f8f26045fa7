#include "citylist/validity.h"

#include "app/text/sjis.h"
#include "app/text/wildcard.h"

namespace vondal {
namespace {

// The two digits at text[pos], or -1 when they are not both there.
int TwoDigitsAt(std::string_view text, size_t pos) {
  if (pos + 2 > text.size() || !IsAsciiDigit(text[pos]) || !IsAsciiDigit(text[pos + 1])) return -1;
  return (text[pos] - '0') * 10 + (text[pos + 1] - '0');
}

// The byte offset of the character that starts the last `count` characters of text.
size_t StartOfLastChars(std::string_view text, size_t count) {
  size_t chars = 0;
  for (size_t pos = 0; pos < text.size(); pos += CharLength(text, pos)) ++chars;
  size_t pos = 0;
  for (size_t skip = chars > count ? chars - count : 0; skip > 0; --skip) pos += CharLength(text, pos);
  return pos;
}

}  // namespace

std::optional<uint16_t> DayNumberOfDate(std::string_view yymmdd) {
  if (yymmdd.size() != 6) return std::nullopt;
  int yy = TwoDigitsAt(yymmdd, 0), mm = TwoDigitsAt(yymmdd, 2), dd = TwoDigitsAt(yymmdd, 4);
  if (yy < 0 || mm < 0 || dd < 0) return std::nullopt;
  return ListDayNumber(yy, mm, dd);
}

Validity ParseValidity(std::string_view column) {
  Validity validity;
  // A start: two digits at the front and "-" as the seventh character. A month that is not two
  // digits is January 1st, a day that is not, the 1st.
  int startYear = TwoDigitsAt(column, 0);
  if (startYear >= 0 && column.size() >= 7 && column[6] == '-') {
    int mm = TwoDigitsAt(column, 2);
    int dd = mm < 0 ? 1 : TwoDigitsAt(column, 4);
    validity.start = ListDayNumber(startYear, mm < 0 ? 1 : mm, dd < 0 ? 1 : dd);
  }
  // An end: the column ends in "-", two digits and four characters; the six after the "-" are
  // the date. A month that is not two digits is December 31st, a day that is not, the 31st.
  size_t dash = StartOfLastChars(column, 7);
  int endYear = TwoDigitsAt(column, dash + 1);
  if (jstrwldc(kValidityEndPattern, column, false) && column[dash] == '-' && endYear >= 0) {
    std::string_view date = column.substr(dash + 1);
    int mm = TwoDigitsAt(date, 2);
    int dd = mm < 0 ? 31 : TwoDigitsAt(date, 4);
    validity.end = ListDayNumber(endYear, mm < 0 ? 12 : mm, dd < 0 ? 31 : dd);
  }
  if (validity.end < validity.start) validity = Validity{};
  return validity;
}

}  // namespace vondal

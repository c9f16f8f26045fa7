#include "output/contest_number.h"

#include <cstring>

#include "app/text/text_helpers.h"
#include "citylist/call_area.h"

namespace vondal {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int TwoDigits(std::string_view text, size_t at) {
  int value = 0;
  for (size_t i = at; i < at + 2; ++i)
    value = value * 10 + (i < text.size() && IsDigit(text[i]) ? text[i] - '0' : 0);
  return value;
}

bool EndsInThreeDigits(std::string_view number) {
  return number.size() >= 3 && IsDigit(number[number.size() - 1]) && IsDigit(number[number.size() - 2]) &&
         IsDigit(number[number.size() - 3]);
}

bool EndsInKilowatt(std::string_view number) {
  return number.size() >= 3 && ToUpperAscii(number.substr(number.size() - 3)) == "1KW";
}

void TrimInPlace(std::string& text) { text = std::string(Trim(text)); }

}  // namespace

namespace {

// The month of a contact as year * 12 + month.
int MonthOf(std::string_view date) {
  const int yy = TwoDigits(date, 0);
  const int year = yy <= 48 ? 2000 + yy : 1900 + yy;
  return year * 12 + TwoDigits(date, 2);
}

constexpr int kPowerLetterFrom = 1998 * 12 + 4;     // the power as a letter H M L P
constexpr int kPowerDigitsBefore = 1995 * 12 + 10;  // the power as three digits

}  // namespace

bool JarlRuleReadsCallsign(std::string_view date) {
  const int month = MonthOf(date);
  return month >= kPowerDigitsBefore && month < kPowerLetterFrom;
}

JarlNumberFault ApplyJarlNumberRule(std::string& number, std::string_view date, std::string_view callsign) {
  const int month = MonthOf(date);
  if (month >= kPowerLetterFrom) {
    if (number.empty() || std::strchr("HMLP", number.back()) == nullptr) return JarlNumberFault::kPower;
    number.pop_back();
    TrimInPlace(number);
    return JarlNumberFault::kNone;
  }
  if (month < kPowerDigitsBefore) {
    if (!EndsInThreeDigits(number)) return JarlNumberFault::kPower;
    number.resize(number.size() - 3);
    TrimInPlace(number);
    return JarlNumberFault::kNone;
  }
  if (IsSpecialStation(callsign)) {
    // The operator name begins at the first character that is neither a digit nor a blank; the
    // "KW" of a "1KW" power still belongs to the number.
    size_t end = 0;
    while (end < number.size() && (IsDigit(number[end]) || number[end] == ' ')) ++end;
    if (end >= 1 && end + 2 <= number.size() && ToUpperAscii(number.substr(end - 1, 3)) == "1KW") end += 2;
    if (end >= number.size()) return JarlNumberFault::kOperator;
    number.resize(end);
    TrimInPlace(number);
  }
  if (EndsInThreeDigits(number) || EndsInKilowatt(number)) {
    number.resize(number.size() - 3);
    TrimInPlace(number);
    return JarlNumberFault::kNone;
  }
  return JarlNumberFault::kUnneeded;
}

}  // namespace vondal

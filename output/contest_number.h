// The received number of a JARL contest: by the contact's date the number ends in a power letter
// (from April 1998), in a three-digit power (before October 1995), or, in between, in a three-digit
// power or "1KW" with club stations sending an operator name after the number. The contest logs
// and the error inspection both read numbers this way.
#pragma once

#include <string>
#include <string_view>

namespace vondal {

enum class JarlNumberFault {
  kNone,
  kPower,     // the power is missing or wrong
  kOperator,  // a club station without operator name
  kUnneeded,  // text after the number that does not belong there
};

// Removes the power (and a club station's operator name) from `number` and trims the blanks left
// at its ends. date is the contact's DATE (YY 00-48 is 20YY, 49-99 19YY), callsign its CALLSIGN.
// On a fault the number is left as far as it was taken apart.
JarlNumberFault ApplyJarlNumberRule(std::string& number, std::string_view date, std::string_view callsign);
// Whether the rule for a contact of this date reads the call sign (a club station's operator name
// follows the number only between October 1995 and March 1998).
bool JarlRuleReadsCallsign(std::string_view date);

}  // namespace vondal

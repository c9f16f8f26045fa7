// The report of the error inspection: one line per finding and, at the end, the tally of the
// findings by message and field.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "log/record.h"
#include "output/inspection_checks.h"

namespace vondal {

inline constexpr int kTallyMessages = 42;

class InspectionReport {
 public:
  // The line of a finding in record `position`; the finding is tallied.
  std::string Line(int position, const RecordTexts& texts, const Finding& finding);
  // The tally, when there was any finding; else nothing.
  std::string Summary() const;

 private:
  struct Tally {
    std::string message;
    std::array<int, kStoredFieldCount> counts{};
  };
  std::vector<Tally> tally_;
};

// The first lines of the report: the notice when the city/gun list is missing, the column heading.
std::string InspectionHeading(bool citiesLoaded);

}  // namespace vondal

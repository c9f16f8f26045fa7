// The hook through which the contest multiplier mode checks rRST while a record is written.
#pragma once

#include <string>

#include "log/record.h"

namespace vondal {

class MultiplierCheck {
 public:
  virtual ~MultiplierCheck() = default;

  // True while the mode is active and record n lies within its window.
  virtual bool Covers(int n) const = 0;

  // Runs the check on the working record and keeps its two result bytes for record n. "" when
  // the record is accepted, else the refusal: a field digit (the field to go to) and the text.
  virtual std::string Check(const Record& working, int n) = 0;
};

}  // namespace vondal

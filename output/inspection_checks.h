// The checks of the error inspection: one record at a time against the record inspected before
// it, its neighbour in the log and the city/gun list, at the level chosen (0 最小限, 1 標準,
// 2 拡張, 3 お節介). Every finding names the field it concerns and its message.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "citylist/city_list.h"
#include "log/record.h"
#include "output/contest_settings.h"

namespace vondal {

struct Finding {
  int field = 0;  // DATE … rQSL
  std::string message;
};

class Inspector {
 public:
  // `cities` may be a list that is not loaded (then QTH and numbers are not looked up).
  Inspector(int level, bool compatible, const ContestSettings& settings, const CityList& cities)
      : level_(level), compatible_(compatible), settings_(settings), cities_(cities) {}

  // The findings of target record `position`; keyBefore is the date-time key of the record right
  // before it in the log (ignored for position 0). The record then becomes the previous one.
  std::vector<Finding> Inspect(int position, const RecordTexts& texts, int32_t keyBefore);

 private:
  using Out = std::vector<Finding>;
  bool Duplicate(int position, const RecordTexts& t, Out& out) const;
  void Time(int position, const RecordTexts& t, int32_t keyBefore, Out& out) const;
  void Callsign(const RecordTexts& t, Out& out) const;
  void FrequencyModeReport(const RecordTexts& t, Out& out) const;
  void Qth(const RecordTexts& t, Out& out) const;
  void Number(const RecordTexts& t, Out& out) const;
  void Text(const RecordTexts& t, Out& out) const;
  void Validity(const vondal::Validity& validity, std::string_view date, int field, Out& out) const;

  int level_;
  bool compatible_;
  const ContestSettings& settings_;
  const CityList& cities_;
  int previousPosition_ = -2;  // no record has the position after it
  std::array<std::string, kStoredFieldCount> previous_;
};

// The family of a CONTEST text: the first of the configured lists holding a pattern it matches
// (letters in either case), or kNoFamily.
int ContestFamilyOf(const ContestSettings& settings, std::string_view contest);

}  // namespace vondal

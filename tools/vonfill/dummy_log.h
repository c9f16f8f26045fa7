// The dummy log itself: plausible but invented contacts, built record by record from one
// pseudo-random generator, so that a seed gives the same log every time.
#pragma once

#include <cstdint>
#include <string>

#include "log/record.h"
#include "tools/vonfill/call_signs.h"
#include "tools/vonfill/city_lists.h"
#include "tools/vonfill/clock.h"
#include "tools/vonfill/frequency_run.h"
#include "tools/vonfill/mersenne_twister.h"
#include "tools/vonfill/station_table.h"

namespace vondal::vonfill {

// Vonfill's version, shown by its banner and written into MyQTH of every record.
inline constexpr char kVonfillVersion[] = "Vonfill w01.020";

struct DummyLogSettings {
  int records = 0;                // 1 … 1,000,000
  double foreignShare = 0.5;      // share of foreign stations among new stations, 0-1
  bool strict = false;            // -U: a new call sign is checked against the whole station table
  bool memoryStatistics = false;  // -!: station table figures in REMARKS
  uint32_t seed = 0;
  int year = 0;  // the full year and month (1-12) the log reaches up to
  int month = 0;
};

class DummyLog {
 public:
  // `cities` must outlive the log. Takes the station table (std::bad_alloc when that fails).
  DummyLog(const DummyLogSettings& settings, const CityLists& cities);

  // Builds record i into the stored fields of `record`. Records are built in order, i = 0 …
  // records - 1; every one passes the checks of WriteRecord and keeps within the record budget.
  void BuildRecord(int i, Record& record);

  const StationTable& stations() const { return stations_; }

 private:
  void SetDateAndTimes(Record& record);
  void ChooseStation(int i);
  void SetQth(std::string& qth);
  void SetName(std::string& name);
  void SetQslReceived(int i, std::string& rqsl);
  void SetRemarks(int i, Record& record);

  DummyLogSettings settings_;
  const CityLists& cities_;
  MersenneTwister rng_;
  Clock clock_;
  StationTable stations_;
  FrequencyRun frequency_;
  Contact contact_;
};

}  // namespace vondal::vonfill

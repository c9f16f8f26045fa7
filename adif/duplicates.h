// Contacts already in the log: a contact is the same as a record of the log when both have the
// same CALLSIGN (ASCII letters in either case), the same DATE and START (to the minute, on the
// log's clock) and FREQs on the same band (ADIF's bands, adif_bands.h). So a file joined again, or
// a contact announced twice, does not give the log a second record of it.
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "log/log_file.h"
#include "log/record.h"
#include "log/record_index.h"

namespace vondal {

class DuplicateFinder {
 public:
  // The records 0 … index.size() - 1 as the index holds them now (their date-time keys and call
  // signs). Both must outlive the finder. The log is read only for a record whose key and
  // CALLSIGN equal a contact's, to see its FREQ: with ReadRecord (which reuses the log's read
  // buffer), or, with `readAhead`, through a window of records kept between calls, for many
  // contacts asked about while nothing writes to the log (a join's first pass, which finds the
  // records of a file joined again one after another).
  DuplicateFinder(const RecordIndex& index, LogFile& log, bool readAhead = false);

  // The number of a record of the log that is the same contact as `contact` (its DATE, START,
  // CALLSIGN and FREQ count), or -1 when there is none.
  int Find(const Record& contact);
  int Find(std::string_view date, std::string_view start, std::string_view callsign, std::string_view freq);

  // Record n of the log, written after the finder was made (a contact logged while a program
  // announces them), is found from now on. Its index entry must be in place.
  void Add(int n);

 private:
  // FREQ of record n of the log.
  std::string_view FreqOf(int n);

  const RecordIndex& index_;
  LogFile& log_;
  std::vector<std::pair<int32_t, int32_t>> keys_;  // (date-time key, record number), in key order
  bool readAhead_;
  std::vector<char> window_;  // images of records windowFirst_ … + windowCount_ - 1
  int windowFirst_ = 0;
  int windowCount_ = 0;
};

}  // namespace vondal

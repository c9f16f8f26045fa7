// The contacts Vonrix works on: one RepeatEntry for every record of the log that the selection
// accepts and that belongs to a station, in log order and then, when the log is out of order,
// sorted by date and time.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "app/text/block_allocator.h"
#include "app/text/large_array.h"
#include "log/date_time.h"
#include "log/file_system.h"
#include "tools/vonrix/command_line.h"
#include "tools/vonrix/station_table.h"

namespace vondal {

struct RepeatEntry {
  int32_t key;      // the date-time key: minutes since 1950-01-01 00:00
  int32_t value;    // the position in log order; modes I and S: the interval or span in days
  int32_t station;  // the station's number in the station table
  union {
    int32_t count;    // mode C: the station's running contact number; mode B: the band (-1 none)
    int32_t partner;  // modes I and S: the entry paired with this one, or -1
  };
};
static_assert(sizeof(RepeatEntry) == 16, "1,000,000 contacts are to fit in 16 MB");

// The day of an entry's contact: days since 1950-01-01.
inline int DayOf(const RepeatEntry& entry) { return entry.key / 1440; }

struct RepeatLog {
  explicit RepeatLog(BlockAllocator& allocator) : stations(allocator) {}

  LargeArray<RepeatEntry> entries;
  StationTable stations;
};

// The date-time keys of the records of a log read one after the other: DateTimeKey of DATE and
// START. Most records share their DATE with the one before, so the day is worked out once per
// date.
class DateTimeKeys {
 public:
  int32_t Of(std::string_view date, std::string_view start);

 private:
  // The first six bytes of the last DATE, which are all the key reads, and their number, in one
  // word (DateHead); none yet at first.
  uint64_t date_ = UINT64_MAX;
  int32_t dayKey_ = kNoDay;  // DayMinutes of that DATE
};

// Reads all `recordCount` records of the log: a record is left out when it fails a filter, when
// the country option asks for the other kind of station, when the club option leaves it out (for
// Japanese stations only), or when its CALLSIGN names no station. In mode B each entry carries
// its band. "" or the message that ends the run ("Malloc failed", "ログファイルを開けません").
std::string ReadEntries(File& log, int64_t recordCount, AnalysisMode mode, const Selection& selection,
                        RepeatLog& repeatLog);

// How many entries have an earlier date and time than the entry before them.
int CountReversals(std::span<const RepeatEntry> entries);

// Sorts the entries by date and time; equal keys keep their log order.
void SortByKey(std::span<RepeatEntry> entries);

// The calendar date of a day number (days since 1950-01-01).
struct Date {
  int year;
  int month;
  int day;
};
Date DateOfDay(int day);

}  // namespace vondal

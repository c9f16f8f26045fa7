// The scoring engine of the contest logs: one entry per target record with its exchanges, its
// multiplier and its point, and per band the contacts, points and multipliers. Every contest
// format and the score table are written from a finished run.
#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "log/date_time.h"
#include "log/record.h"
#include "output/band_table.h"
#include "output/contest_settings.h"

namespace vondal {

// The formats of parameter 35, in choice order.
enum ContestFormat : int {
  kJarlR21,
  kJarlR10,
  kPlainLog,
  kPlainLogStars,  // a new multiplier shown as "*"
  kContestCsv,
  kPrint50,
  kPrint40,
};

struct ContestEntry {
  int position = 0;  // the record's number in the log
  std::string callsign;
  int32_t dateTimeKey = 0;  // of DATE and START as stored (JST unless the log keeps UTC)
  std::string sent;         // sRST, with the handle behind a bare report
  std::string received;     // rRST, with NAME behind a bare report
  std::string multiplier;   // empty: no new multiplier; with `error` an error code ("?nul?" …)
  uint8_t band = kOutsideBands;
  uint8_t mode = kModeOther;
  bool error = false;
  uint8_t point = 0;  // 1 for a new station on the band, 0 for a duplicate
};

struct BandScore {
  int contacts = 0;
  int points = 0;
  int multipliers = 0;
};

struct ContestRun {
  char kind = 'J';  // J JARL, K KCJ, D operating days, O other, P QSO party, C check list
  int format = kJarlR21;
  int firstYear = -1;  // the two-digit year of the first target record
  bool utc = false;    // parameter 36: JST→UTC
  int targets = 0;
  std::array<BandScore, kBandListSize> bands{};  // 0-25 by band, kBandTotal the totals
  int days = 0;                                  // kind D: distinct operating days
  std::string name;                              // parameter 34
  std::vector<ContestEntry> entries;

  // Remembered while the run is scored: the call signs and multipliers worked on each band.
  std::array<std::set<std::string, std::less<>>, kBandListSize> callsOnBand;
  std::array<std::set<std::string, std::less<>>, kBandListSize> multipliersOnBand;
  std::set<std::string, std::less<>> dates;

  bool AnyError() const;
  // The multiplier total the score table and the summary show: for kind D the operating days.
  int TotalMultipliers() const { return kind == 'D' ? days : bands[kBandTotal].multipliers; }
};

// The received number of a record for kinds J, K and O, or its error code: "?nul?", "?opn?",
// "?nop?", "?pwr?", "?sht?", "?lng?", "?len?".
std::string ReceivedNumber(char kind, const RecordTexts& texts);

// Scores one target record (record `position` of the log) into the run.
void ScoreContestRecord(ContestRun& run, int position, const RecordTexts& texts,
                        const ContestSettings& settings);

// The legend of the error codes (when an entry has one) and the score table; without authorsuse
// its last line asks for these lines to be deleted before the log is sent in.
std::string ScoreTable(const ContestRun& run, bool authorsuse);

// An entry's date and time from its date-time key, nine hours back when the run converts to UTC.
DateTime EntryTime(const ContestRun& run, const ContestEntry& entry);

}  // namespace vondal

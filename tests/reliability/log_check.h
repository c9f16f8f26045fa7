// What a crash may and may not do to a log: the reliability suite's one judge. After a crash the
// log, its safety file and its index are opened as the program opens them (recovery included)
// and compared with what the writer had been told was written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "log/file_system.h"
#include "log/log_format.h"
#include "log/record.h"

namespace vondal::reliability {

// The log as its writer knows it.
struct Expectation {
  std::vector<RecordImage> records;  // every record as last acknowledged (or found by the last check)
  // A record write that had begun and was not acknowledged: it may be there or not.
  std::optional<int> inFlightRecord;
  RecordImage inFlightImage{};
  // Journal records acknowledged since the last check (data and markers), in order, and where
  // in the safety file the records acknowledged before them ended.
  std::vector<RecordImage> journal;
  int64_t journalFrom = 0;
};

struct Files {
  std::string log;
  std::string safety;  // "" when none
  std::string index;   // "" when none
};

// What the files looked like before anything opened them.
struct RawState {
  bool tornLog = false;     // the log's size is not a multiple of 200
  bool tornRecord = false;  // the record in flight is neither its old nor its new version
  bool tornSafety = false;  // the journal's size is not a multiple of 200
  bool intentLeft = false;  // the write-ahead record held a whole intent
};
RawState InspectRaw(FileSystem& fs, const Files& files, const Expectation& expected);

struct Verdict {
  std::string failure;               // "" when every promise held
  int recordsLost = 0;               // acknowledged records missing or different
  bool opened = false;               // the log opened
  std::string note;                  // what opening the log said it repaired
  std::vector<RecordImage> records;  // the log after recovery
  int64_t journalEnd = 0;            // where the last acknowledged journal record ends
};

// Opens the files as the program does (the log with its recovery, the safety check, the index
// load or rebuild) and checks: the log opens and is whole records; every acknowledged record
// is there byte for byte (the one in flight old or new); the journal is whole records and holds
// every acknowledged record in order; the index matches the log.
Verdict OpenAndCheck(FileSystem& fs, const Files& files, const Expectation& expected);

// Puts another log of `records` records (drawn from `seed`) in place of `files.log`, written
// over the old file as `cp` does (the same inode), and opens it as the program does: "" when
// opening left every byte of it as it was, else what went wrong. `note` receives what opening
// said behind the log's line.
std::string ReplacedLogIsLeftAlone(FileSystem& fs, const Files& files, int records, uint64_t seed,
                                   std::string& note);

// A valid record with texts drawn from `seed`: call signs, frequencies, Japanese QTH and NAME,
// remarks of any length up to the record budget.
Record RandomRecord(uint64_t seed);

}  // namespace vondal::reliability

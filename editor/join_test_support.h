// Shared pieces of the join tests: the rows kept as text, and a log with its journal in memory
// that files are joined into.
#pragma once

#include <ctime>
#include <map>
#include <memory>
#include <string>

#include "editor/join_read.h"
#include "log/faulty_file_system.h"
#include "log/log_test_support.h"

namespace vondal::testing {

inline constexpr char kJoinLog[] = "/qso/2024.VD";
inline constexpr char kJoinJournal[] = "/qso/2024.VDS";

inline std::tm FixedTime() {
  std::tm t{};
  t.tm_year = 124, t.tm_mon = 2, t.tm_mday = 5, t.tm_hour = 9, t.tm_min = 7;
  return t;
}

class KeptRows : public WorkRows {
 public:
  void Put(int row, int col, std::string_view text) override {
    rows[row] += std::to_string(col) + ":" + std::string(text) + " ";
  }
  bool Has(int row, const std::string& text) { return rows[row].find(text) != std::string::npos; }
  std::map<int, std::string> rows;
};

// A log of `records` (images) with its index and journal, and the join of a file into it.
class JoinBench {
 public:
  explicit JoinBench(const std::string& records) {
    memory.SetContents(kJoinLog, records);
    if (!set.log.OpenLog(kJoinLog).empty()) std::abort();
    std::vector<char> buffer(4096);
    if (!set.index.Rebuild(set.log, nullptr, buffer).empty()) std::abort();
    set.safety.Configure(kJoinJournal);
  }
  JoinResult Join(const std::string& name, const std::string& bytes, TimeZone logClock = TimeZone::kJst,
                  size_t adifTwoStretchesFrom = 8u << 20) {
    rows.rows.clear();
    memory.SetContents(name, bytes);
    std::unique_ptr<File> file = faulty.Open(name, OpenMode::kRead);
    JoinContext context{.log = set.log,
                        .index = set.index,
                        .safety = &set.safety,
                        .counters = set.counters,
                        .logClock = logClock,
                        .adifTwoStretchesFrom = adifTwoStretchesFrom};
    return JoinRead(context, *file, JoinFormatOf(name), rows);
  }
  std::string Log() const { return memory.Contents(kJoinLog); }

  MemoryFileSystem memory;
  FaultyFileSystem faulty{memory};
  LogSet set{faulty, FixedTime};
  KeptRows rows;
};

}  // namespace vondal::testing

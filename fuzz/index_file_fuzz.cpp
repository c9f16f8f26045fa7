// Any bytes as an index file for a small log: LoadIndex either loads them or rebuilds from the
// log, and the entries always describe the log's records.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "log/log_file.h"
#include "log/record_index.h"

using namespace vondal;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryFileSystem fs;
  std::string log;
  for (int n = 0; n < 5; ++n) {
    Record r;
    r[DATE] = "240305";
    r[START] = "0907";
    r[CALLSIGN] = std::string(static_cast<size_t>(n) * 5, 'J');
    RecordImage image = EncodeRecord(r);
    log.append(image.begin(), image.end());
  }
  fs.SetContents("F.VD", log);
  fs.SetContents("F.VDI", std::string(reinterpret_cast<const char*>(data), size));
  WriteCounters counters;
  RecordIndex index(counters);
  SafetyFile safety(fs, counters);
  LogUi ui;
  LogFile file(fs, counters, index, safety, ui);
  if (!file.OpenLog("F.VD").empty()) std::abort();
  std::vector<char> buffer(64 + size % 200);
  if (!index.LoadIndex("F.VDI", fs, file, ui, buffer).empty()) std::abort();
  if (index.size() != 5) std::abort();
  for (int n = 0; n < 5; ++n) {
    if (std::strlen(index[n].callsign) > 24) std::abort();
  }
  return 0;
}

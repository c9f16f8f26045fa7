// Any bytes as a log and its write-ahead record (the first byte says how many of the rest belong
// to the write-ahead record): opening either refuses with a message or gives whole records;
// a second program opening it meanwhile reads the same records and writes none; opening it
// again afterwards changes nothing (recovery is idempotent); every record reads as 17 texts
// within the record; a valid record then appends.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "log/field_table.h"
#include "log/log_file.h"
#include "log/log_test_support.h"
#include "log/record_index.h"
#include "log/write_ahead.h"

using namespace vondal;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  ResetFieldTable();
  const size_t intentBytes = std::min<size_t>(size - 1, data[0] * 2u);
  const std::string intent(reinterpret_cast<const char*>(data) + 1, intentBytes);
  const std::string log(reinterpret_cast<const char*>(data) + 1 + intentBytes, size - 1 - intentBytes);
  MemoryFileSystem fs;
  fs.SetContents("F.VD", log);
  fs.SetContents(WriteAheadName("F.VD"), intent);
  WriteCounters counters;
  RecordIndex index(counters);
  SafetyFile safety(fs, counters);
  LogUi ui;
  std::string opened;
  {
    // The first program opens the log and ends; the lock it held goes with it.
    LogFile file(fs, counters, index, safety, ui);
    if (!file.OpenLog("F.VD").empty()) return 0;
    opened = fs.Contents("F.VD");
    if (opened.size() % kRecordSize != 0 ||
        opened.size() / kRecordSize != static_cast<size_t>(file.RecordCount())) {
      std::abort();
    }
    // A second program meanwhile reads the same records and changes nothing.
    LogFile reader(fs, counters, index, safety, ui);
    Record refused = testing::ValidRecord();
    if (!reader.OpenLog("F.VD").empty() || reader.RecordCount() != file.RecordCount() ||
        reader.WriteRecord(reader.RecordCount(), refused).message.empty() ||
        fs.Contents("F.VD") != opened) {
      std::abort();
    }
  }
  LogFile again(fs, counters, index, safety, ui);
  if (!again.OpenLog("F.VD").empty() || fs.Contents("F.VD") != opened) std::abort();
  for (int n = 0; n < again.RecordCount(); ++n) {
    size_t total = 0;
    for (std::string_view text : again.ReadRecord(n)) total += text.size();
    if (total > kTextArea) std::abort();
  }
  Record r = testing::ValidRecord();
  const int count = again.RecordCount();
  if (!again.WriteRecord(count, r).message.empty() || again.RecordCount() != count + 1) std::abort();
  return 0;
}

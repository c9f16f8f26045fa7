// Any bytes as a safety file: the start-up check leaves whole records (the whole records there
// before unchanged), and every later append lands on a record boundary.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "log/log_test_support.h"
#include "log/safety_file.h"

using namespace vondal;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string journal(reinterpret_cast<const char*>(data), size);
  MemoryFileSystem fs;
  fs.SetContents("F.VDS", journal);
  WriteCounters counters;
  SafetyFile safety(fs, counters);
  safety.Configure("F.VDS");
  testing::RecordingUi ui;
  if (!safety.CheckSafety(ui).empty()) std::abort();
  const std::string whole = journal.substr(0, size - size % kRecordSize);
  if (fs.Contents("F.VDS") != whole) std::abort();
  if ((whole.size() != size) != (ui.notes.count(7) != 0)) std::abort();
  const RecordImage image = EncodeRecord(testing::ValidRecord());
  if (!safety.JournalRecord(image) || !safety.JournalIfMissing(image)) std::abort();
  if (safety.WriteMarker("＜日時順ソート＞元データ=F.VD") != 0) std::abort();
  const std::string after = fs.Contents("F.VDS");
  if (after.size() != whole.size() + 2 * kRecordSize || after.compare(0, whole.size(), whole) != 0)
    std::abort();
  return 0;
}

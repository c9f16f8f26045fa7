// Any bytes as a file to join, in each of its formats, ADIF too (the first byte chooses, and whether
// an ADIF file is mapped in two halves): the checker
// never crashes, a refused file leaves the log byte for byte as it was, and a joined one adds
// exactly its records as whole log lines (no ditto byte, no NUL, CR LF at the end) to a log that
// opens again with its index in step.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "editor/join_read.h"
#include "log/field_table.h"
#include "log/log_test_support.h"

using namespace vondal;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static constexpr const char* kNames[] = {"F.VD", "F.VDS", "F.VDP", "F.VDT", "F.CSV", "F.ADI"};
  const std::string name = kNames[data[0] % 6];
  MemoryFileSystem fs;
  fs.SetContents(name, std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  const std::string old = testing::Image(testing::ValidRecord());
  fs.SetContents("L.VD", old);
  testing::LogSet set(fs);
  if (!set.log.OpenLog("L.VD").empty()) std::abort();
  char buffer[4096];
  if (!set.index.Rebuild(set.log, nullptr, buffer).empty()) std::abort();
  set.safety.Configure("L.VDS");
  std::unique_ptr<File> file = fs.Open(name, OpenMode::kRead);
  JoinContext context{.log = set.log, .index = set.index, .safety = &set.safety, .counters = set.counters};
  // An ADIF file in two halves, mapped side by side, as a large file is, for every other first byte.
  if (data[0] & 0x80) context.adifTwoStretchesFrom = 0;
  WorkRows rows;
  const JoinResult result = JoinRead(context, *file, JoinFormatOf(name), rows);
  const std::string log = fs.Contents("L.VD");
  if (!result.joined) {
    if (log != old || set.log.RecordCount() != 1 || set.index.size() != 1 || result.reason.empty())
      std::abort();
    return 0;
  }
  const size_t count = static_cast<size_t>(result.records);
  if (log.size() != old.size() + count * kRecordSize || log.compare(0, old.size(), old) != 0) std::abort();
  if (set.log.RecordCount() != 1 + result.records || set.index.size() != 1 + result.records) std::abort();
  for (size_t n = 1; n <= count; ++n) {
    const char* image = log.data() + n * kRecordSize;
    if (image[kTextArea] != '\r' || image[kTextArea + 1] != '\n') std::abort();
    if (std::memchr(image, kForbidden, kTextArea) || std::memchr(image, '\0', kTextArea)) std::abort();
    const RecordTexts& texts = set.log.ReadRecord(static_cast<int>(n));
    if (texts[DATE].size() != 6 || texts[START].size() != 4 || texts[CALLSIGN].size() < 2) std::abort();
    if (texts[CALLSIGN].substr(0, 24) !=
        std::string_view(set.index[static_cast<int>(n)].callsign).substr(0, 24))
      std::abort();
  }
  testing::LogSet again(fs);
  if (!again.log.OpenLog("L.VD").empty() || again.log.RecordCount() != 1 + result.records) std::abort();
  return 0;
}

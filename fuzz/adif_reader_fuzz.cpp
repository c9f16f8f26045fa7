// Any bytes as an ADIF file (the first byte chooses the log's clock): the reader never crashes and
// reads the same records again after Rewind; every record either is refused with a reason or
// becomes a contact the log can hold as it is: texts within their fields and the record budget,
// no control byte, no broken two-byte character, a real date and time, and the same 17 texts
// after a trip through a log record.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "adif/adif_reader.h"
#include "adif/adif_record.h"
#include "app/text/sjis.h"
#include "log/date_time.h"
#include "log/field_table.h"
#include "log/log_format.h"

using namespace vondal;

namespace {

void Check(const AdifContact& contact) {
  if (!contact.refusal.empty()) return;
  const Record& r = contact.record;
  size_t total = 0;
  for (int f = 0; f < kStoredFieldCount; ++f) {
    const std::string& text = r[f];
    if (text.size() > ActiveFieldTable()[f].maxLength) std::abort();
    total += text.size();
    for (size_t i = 0; i < text.size(); i += CharLength(text, i)) {
      const auto c = static_cast<unsigned char>(text[i]);
      if (c < 0x20 || c == 0x7F) std::abort();
      if (IsLeadByte(c) && i + 1 >= text.size()) std::abort();  // half a character at the end
    }
  }
  if (total > static_cast<size_t>(kRecordBudget)) std::abort();
  if (CheckDate(r[DATE]) != 0 || r[DATE].size() != 6 || r[START].size() != 4 || r[END].size() != 4)
    std::abort();
  const int32_t key = DateTimeKey(r[DATE], r[START]);
  const DateTime t = KeyToDateTime(key);
  if (key < 0 || key > kMaxDateTimeKey || t.hour != std::atoi(r[START].substr(0, 2).c_str())) std::abort();
  if (r[CALLSIGN].size() < 2 || r[FREQ].empty() || r[MODE].empty()) std::abort();
  const RecordImage image = EncodeRecord(r);
  RecordReader reader;
  const RecordTexts& back = reader.Split(image.data());
  for (int f = 0; f < kStoredFieldCount; ++f) {
    if (back[f] != r[f]) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  AdifReader reader(text);
  AdifMapOptions options{.charset = reader.charset(),
                         .fileClock = reader.clock(),
                         .logClock = data[0] % 2 ? TimeZone::kUtc : TimeZone::kJst};
  std::vector<AdifField> fields;
  AdifContact contact;
  int records = 0;
  while (reader.Next(fields)) {
    if (fields.empty()) std::abort();
    for (const AdifField& f : fields) {
      if (f.value.data() < text.data() || f.value.data() + f.value.size() > text.data() + text.size())
        std::abort();
    }
    MapAdifRecord(fields, options, contact);
    Check(contact);
    ++records;
  }
  if (reader.count() != records || reader.leftOver() > text.size()) std::abort();
  reader.Rewind();
  int again = 0;
  while (reader.Next(fields)) ++again;
  if (again != records) std::abort();
  return 0;
}

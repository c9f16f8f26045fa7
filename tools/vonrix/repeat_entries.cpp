#include "tools/vonrix/repeat_entries.h"

#include <algorithm>

#include "log/date_time.h"
#include "log/log_format.h"
#include "tools/vonrix/station.h"
#include "tools/vonrix/vonrix_bands.h"

namespace vondal {
namespace {

constexpr int kRecordsPerRead = 5000;  // 1,000,000 bytes of the log at a time

// Whether a record with these texts is counted.
bool Accepts(const Selection& selection, const std::string_view* texts) {
  for (const Filter& filter : selection.filters) {
    if (!Passes(filter, texts[filter.field])) return false;
  }
  const std::string_view callsign = texts[CALLSIGN];
  const StationKind kind = KindOf(callsign);
  if (selection.country == 'J' && kind != StationKind::kJapanese) return false;
  if (selection.country == 'D' && kind != StationKind::kForeign) return false;
  if (kind == StationKind::kJapanese && selection.club != 0) {
    if (IsClubStation(callsign) != (selection.club == 'C')) return false;
  }
  return true;
}

// The fields a record must be split into: up to CALLSIGN, FREQ in mode B, and every filtered one.
int FieldsNeeded(AnalysisMode mode, const Selection& selection) {
  int needed = mode == AnalysisMode::kBands ? FREQ + 1 : CALLSIGN + 1;
  for (const Filter& filter : selection.filters) needed = std::max(needed, filter.field + 1);
  return needed;
}

}  // namespace

std::string ReadEntries(File& log, int64_t recordCount, AnalysisMode mode, const Selection& selection,
                        RepeatLog& repeatLog) {
  std::vector<RepeatEntry>& entries = repeatLog.entries;
  entries.reserve(recordCount);
  std::vector<char> buffer(static_cast<size_t>(kRecordsPerRead) * kRecordSize);
  const int fieldsNeeded = FieldsNeeded(mode, selection);
  std::string_view texts[kStoredFieldCount];
  for (int64_t first = 0; first < recordCount; first += kRecordsPerRead) {
    const int64_t count = std::min<int64_t>(kRecordsPerRead, recordCount - first);
    const int64_t bytes = count * kRecordSize;
    if (log.ReadAt(first * kRecordSize, buffer.data(), bytes) != bytes) return "ログファイルを開けません";
    for (int64_t n = 0; n < count; ++n) {
      LeadingTexts(buffer.data() + n * kRecordSize, fieldsNeeded, texts);
      if (!Accepts(selection, texts)) continue;
      const std::string_view identity = StationIdentity(texts[CALLSIGN]);
      if (identity.empty()) continue;
      const int32_t station = repeatLog.stations.Add(identity);
      if (station < 0) return "Malloc failed";
      // A damaged DATE or START could give any key; keep it inside the 1950-2049 window.
      const int32_t key = std::clamp(DateTimeKey(texts[DATE], texts[START]), 0, kMaxDateTimeKey);
      const int day = key / 1440;
      RepeatEntry entry;
      entry.year = static_cast<uint16_t>(DateOfDay(day).year);
      entry.day = static_cast<uint16_t>(day);
      entry.key = key;
      entry.partner = -1;
      entry.value = static_cast<int32_t>(entries.size());
      entry.count = mode == AnalysisMode::kBands ? VonrixBandOf(texts[FREQ]) : 0;
      entry.station = station;
      entries.push_back(entry);
    }
  }
  return "";
}

int CountReversals(const std::vector<RepeatEntry>& entries) {
  int reversals = 0;
  for (size_t i = 1; i < entries.size(); ++i) reversals += entries[i].key < entries[i - 1].key;
  return reversals;
}

void SortByKey(std::vector<RepeatEntry>& entries) {
  std::sort(entries.begin(), entries.end(), [](const RepeatEntry& a, const RepeatEntry& b) {
    return a.key != b.key ? a.key < b.key : a.value < b.value;
  });
}

Date DateOfDay(int day) {
  const DateTime dateTime = KeyToDateTime(day * 1440);
  return Date{dateTime.year, dateTime.month, dateTime.day};
}

}  // namespace vondal

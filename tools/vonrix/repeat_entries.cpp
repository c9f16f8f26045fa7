#include "tools/vonrix/repeat_entries.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "log/date_time.h"
#include "log/log_format.h"
#include "tools/vonrix/station.h"
#include "tools/vonrix/vonrix_bands.h"

namespace vondal {
namespace {

// The log is read 128,000 bytes at a time (the buffer stays in the processor's cache) into a
// page-aligned buffer: the system copies out of its cache at less than half the speed into a
// buffer that starts off a page boundary.
constexpr int kRecordsPerRead = 640;
constexpr size_t kPageSize = 4096;
constexpr size_t kBatchSize = 32;

// A record of the piece of the log in hand that becomes an entry once its station is looked up.
struct Accepted {
  std::string_view identity;  // into the piece
  StationTable::Key station;
  int32_t key;
  int32_t band;
};

bool Before(const RepeatEntry& a, const RepeatEntry& b) {
  return a.key != b.key ? a.key < b.key : a.value < b.value;
}

// Whether a record with these texts is counted.
bool Accepts(const Selection& selection, const std::string_view* texts) {
  for (const Filter& filter : selection.filters) {
    if (!Passes(filter, texts[filter.field])) return false;
  }
  if (selection.country == 0 && selection.club == 0) return true;
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

// The first six bytes of a DATE and their number in one word, so that two dates compare in one
// step: a DATE of six bytes or more is read in two loads.
uint64_t DateHead(std::string_view date) {
  if (date.size() >= 6) {
    uint32_t low;
    uint16_t high;
    std::memcpy(&low, date.data(), sizeof low);
    std::memcpy(&high, date.data() + 4, sizeof high);
    return uint64_t{6} << 48 | uint64_t{high} << 32 | low;
  }
  uint64_t head = 0;
  for (size_t i = 0; i < date.size(); ++i) head |= uint64_t{static_cast<unsigned char>(date[i])} << (8 * i);
  return uint64_t{date.size()} << 48 | head;
}

// Makes entries of the batch at the end of `entries`, adding their stations; false when memory
// ran out. `entries` has room for them.
bool AddBatch(std::vector<Accepted>& batch, RepeatLog& repeatLog, size_t& used) {
  for (const Accepted& record : batch) {
    const int32_t station = repeatLog.stations.Add(record.identity, record.station);
    if (station < 0) return false;
    RepeatEntry& entry = repeatLog.entries[used];
    entry.key = record.key;
    entry.value = static_cast<int32_t>(used);
    entry.station = station;
    entry.count = record.band;
    ++used;
  }
  batch.clear();
  return true;
}

}  // namespace

int32_t DateTimeKeys::Of(std::string_view date, std::string_view start) {
  if (const uint64_t head = DateHead(date); head != date_) {
    date_ = head;
    dayKey_ = DayMinutes(date);
  }
  return DateTimeKeyOfDay(dayKey_, start);
}

std::string ReadEntries(File& log, int64_t recordCount, AnalysisMode mode, const Selection& selection,
                        RepeatLog& repeatLog) {
  StationTable& stations = repeatLog.stations;
  // The table starts with room for a station to every eight records (a long log repeats its
  // stations more often than that) rather than growing to that size step by step.
  stations.Reserve(recordCount / 8);
  repeatLog.entries.resize(recordCount);  // cut to the entries made at the end
  size_t used = 0;
  struct PageAligned {
    alignas(kPageSize) char bytes[kRecordsPerRead * kRecordSize];
  };
  const std::unique_ptr<PageAligned> buffer = std::make_unique<PageAligned>();
  std::vector<Accepted> batch;
  batch.reserve(kBatchSize);
  const int fieldsNeeded = FieldsNeeded(mode, selection);
  std::string_view texts[kStoredFieldCount];
  DateTimeKeys keys;
  BandMemo bands;
  for (int64_t first = 0; first < recordCount; first += kRecordsPerRead) {
    const int64_t count = std::min<int64_t>(kRecordsPerRead, recordCount - first);
    const int64_t bytes = count * kRecordSize;
    if (log.ReadAt(first * kRecordSize, buffer->bytes, bytes) != bytes) return "ログファイルを開けません";
    // The records are taken in small batches: first their stations' places in the table are
    // asked for ahead, then the stations are looked up, their places mostly there by then.
    for (int64_t n = 0; n < count; ++n) {
      const char* image = buffer->bytes + n * kRecordSize;
      LeadingTexts(image, fieldsNeeded, texts);
      if (!Accepts(selection, texts)) continue;
      const std::string_view identity = StationIdentity(texts[CALLSIGN]);
      if (identity.empty()) continue;
      const StationTable::Key station = identity.data() + 8 <= image + kRecordSize
                                            ? StationTable::KeyOfReadable(identity)
                                            : StationTable::KeyOf(identity);
      stations.Prefetch(station);
      const int32_t key = keys.Of(texts[DATE], texts[START]);
      int32_t band = 0;
      if (mode == AnalysisMode::kBands) {
        const std::string_view freq = texts[FREQ];
        band = freq.data() + 16 <= image + kRecordSize ? bands.BandOfReadable(freq) : bands.BandOf(freq);
      }
      batch.push_back({identity, station, key, band});
      if (batch.size() == kBatchSize && !AddBatch(batch, repeatLog, used)) return "Malloc failed";
    }
    // Before the next piece replaces the texts.
    if (!AddBatch(batch, repeatLog, used)) return "Malloc failed";
  }
  repeatLog.entries.resize(used);
  return "";
}

int CountReversals(std::span<const RepeatEntry> entries) {
  int reversals = 0;
  for (size_t i = 1; i < entries.size(); ++i) reversals += entries[i].key < entries[i - 1].key;
  return reversals;
}

void SortByKey(std::span<RepeatEntry> entries) {
  // A log is mostly in order, but for contacts entered late. The entries that continue the order
  // stay where they are (moved up over the gaps a run at a time), the strays are sorted on their
  // own and merged in from the back. A log that is out of order all over is sorted whole.
  std::vector<RepeatEntry> strays;
  const size_t mostStrays = entries.size() / 8;
  size_t kept = 0;
  for (size_t i = 0; i < entries.size();) {
    if (kept == 0 || !Before(entries[i], entries[kept - 1])) {
      size_t end = i + 1;
      while (end < entries.size() && !Before(entries[end], entries[end - 1])) ++end;
      if (kept != i) std::copy(entries.begin() + i, entries.begin() + end, entries.begin() + kept);
      kept += end - i;
      i = end;
      continue;
    }
    strays.push_back(entries[i]);
    if (strays.size() > mostStrays) {  // the gap entries[kept, i] holds the strays exactly
      std::copy(strays.begin(), strays.end(), entries.begin() + kept);
      std::sort(entries.begin(), entries.end(), Before);
      return;
    }
    ++i;
  }
  std::sort(strays.begin(), strays.end(), Before);
  // From the back, each stray after the kept entries that belong after it, moved as one block.
  auto place = entries.end();
  auto keptEnd = entries.begin() + kept;
  for (auto stray = strays.rbegin(); stray != strays.rend(); ++stray) {
    const auto after = std::upper_bound(entries.begin(), keptEnd, *stray, Before);
    place = std::copy_backward(after, keptEnd, place);
    keptEnd = after;
    *--place = *stray;
  }
}

Date DateOfDay(int day) {
  const DateTime dateTime = KeyToDateTime(day * 1440);
  return Date{dateTime.year, dateTime.month, dateTime.day};
}

}  // namespace vondal

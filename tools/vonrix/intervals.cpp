// Modes I and S, contact intervals and contact spans.
#include <algorithm>
#include <span>
#include <vector>

#include "tools/vonrix/analyses.h"
#include "tools/vonrix/ranking.h"

namespace vondal {
namespace {

// Buckets: 0 days, 1 day, 2-6, 7-30, 31 days to a year, then one per full year.
constexpr int kYearBuckets = 4;
constexpr int kDayBucketStarts[] = {0, 1, 2, 7, 31};

// The year index of a number of days: 365 days still count as the 31-day bucket, 366 as the
// first year.
int YearsOf(int days) { return days * 100 / 36525; }

int BucketOf(int days) {
  if (days >= 31) return kYearBuckets + YearsOf(days);
  if (days >= 7) return 3;
  if (days >= 2) return 2;
  return days;  // 0 or 1
}

// I: each contact is paired with the station's next one. S: each station's first contact is
// paired with its last (with itself when there is only one). What is remembered per station
// (small beside the entries) keeps the walks over the entries in order.
void Pair(RepeatLog& repeatLog, AnalysisMode mode) {
  std::span<RepeatEntry> entries = repeatLog.entries;
  const int32_t count = static_cast<int32_t>(entries.size());
  struct Contact {
    int32_t entry = -1;
    int32_t day = 0;
  };
  std::vector<Contact> seen(repeatLog.stations.size());
  if (mode == AnalysisMode::kIntervals) {
    for (int32_t i = count - 1; i >= 0; --i) {  // seen: the station's next contact
      Contact& next = seen[entries[i].station];
      entries[i].partner = next.entry;
      entries[i].value = next.day - DayOf(entries[i]);
      next = {i, DayOf(entries[i])};
    }
    return;
  }
  for (int32_t i = 0; i < count; ++i) seen[entries[i].station] = {i, DayOf(entries[i])};  // the last
  std::vector<bool> started(seen.size(), false);
  for (int32_t i = 0; i < count; ++i) {
    RepeatEntry& entry = entries[i];
    if (started[entry.station]) {
      entry.partner = -1;
      continue;
    }
    started[entry.station] = true;
    entry.partner = seen[entry.station].entry;
    entry.value = seen[entry.station].day - DayOf(entry);
  }
}

// The entries with the kTopStations largest values, largest first; equal values keep the earlier
// entry first.
std::vector<int32_t> LongestOf(std::span<const RepeatEntry> entries) {
  std::vector<int32_t> top;
  for (int32_t i = 0; i < static_cast<int32_t>(entries.size()); ++i) {
    const RepeatEntry& entry = entries[i];
    if (entry.partner < 0) continue;
    if (top.size() == kTopStations && entry.value <= entries[top.back()].value) continue;
    const auto after = std::find_if(top.begin(), top.end(),
                                    [&](int32_t other) { return entries[other].value < entry.value; });
    top.insert(after, i);
    if (top.size() > kTopStations) top.pop_back();
  }
  return top;
}

}  // namespace

void WriteIntervals(RepeatLog& repeatLog, AnalysisMode mode, ReportWriter& out) {
  Pair(repeatLog, mode);
  const std::span<const RepeatEntry> entries = repeatLog.entries;
  std::vector<int32_t> buckets(kYearBuckets + YearsOf(UINT16_MAX) + 1, 0);
  int lastBucket = kYearBuckets;
  for (const RepeatEntry& entry : entries) {
    if (entry.partner < 0) continue;
    const int bucket = BucketOf(entry.value);
    ++buckets[bucket];
    lastBucket = std::max(lastBucket, bucket);
  }

  const char* name = ModeName(mode).data();
  out.Printf("■%sの分布■\n", name);
  out.Printf(" %s 頻度   累計\n", name);
  int total = 0;
  for (int bucket = 0; bucket <= lastBucket; ++bucket) {
    total += buckets[bucket];
    if (bucket <= 1) {
      out.Printf("%3d日  %7d%7d\n", bucket, buckets[bucket], total);
    } else if (bucket <= kYearBuckets) {
      out.Printf("%3d日～%7d%7d\n", kDayBucketStarts[bucket], buckets[bucket], total);
    } else {
      out.Printf("%3d年～%7d%7d\n", bucket - kYearBuckets, buckets[bucket], total);
    }
  }
  out.Printf("\n");

  out.Printf("■%s上位局■\n", name);
  out.Printf("順位  日数 交信日                局\n");
  const std::vector<int32_t> top = LongestOf(entries);
  int rank = 0;
  for (size_t i = 0; i < top.size(); ++i) {
    const RepeatEntry& entry = entries[top[i]];
    if (i == 0 || entry.value != entries[top[i - 1]].value) rank = static_cast<int>(i + 1);
    const Date date = DateOfDay(DayOf(entry));
    const Date partnerDate = DateOfDay(DayOf(entries[entry.partner]));
    out.Printf("%4d%6d %d/%02d/%02d", rank, entry.value, date.year, date.month, date.day);
    out.Printf(" %d/%02d/%02d %s\n", partnerDate.year, partnerDate.month, partnerDate.day,
               repeatLog.stations[entry.station].data());
  }
}

}  // namespace vondal

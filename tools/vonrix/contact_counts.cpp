// Mode C, contact counts.
#include <algorithm>
#include <span>

#include "log/date_time.h"
#include "tools/vonrix/analyses.h"
#include "tools/vonrix/ranking.h"

namespace vondal {
namespace {

constexpr int kBlockEntries = 1000;

// The station with the highest running count so far, the first to reach it.
struct Leader {
  int32_t count = 0;
  int32_t station = -1;

  void Follow(std::span<const RepeatEntry> entries) {
    for (const RepeatEntry& entry : entries) {
      if (entry.count > count) {
        count = entry.count;
        station = entry.station;
      }
    }
  }
};

struct Section {
  const char* title;     // "■%sごとの変遷■"
  const char* fullName;  // in the legend
  const char* maxWord;   // "開局からその%sまでの…"
  const char* label;     // the first column
};

constexpr Section kBlockSection = {"1000交信", "過去1000交信", "交信数", "交信数"};
constexpr Section kYearSection = {"年", "対象年", "年", "対象年"};

void WriteSectionHead(const Section& section, ReportWriter& out) {
  out.Printf("■%sごとの変遷■\n", section.title);
  out.Printf("凡例\n");
  if (&section == &kBlockSection) out.Printf("交信数 その時点までの交信数\n");
  out.Printf(
      "初     %sの初交信数\n再     %sの初交信でない交信数\n率     %sの初交信率\n平均   %sの平均交信回数\n"
      "中央値 %sの交信回数の中央値\n",
      section.fullName, section.fullName, section.fullName, section.fullName, section.fullName);
  out.Printf("最大   開局からその%sまでの最多交信局の交信回数とコールサイン\n\n", section.maxWord);
  out.Printf("%s    初    再      率   平均 中央値 最大\n", section.label);
}

const char* StationText(const RepeatLog& repeatLog, int32_t station) {
  return station < 0 ? "" : repeatLog.stations[station].data();
}

// The median of the running counts of `entries` (not empty, counts from lowest to highest): the
// middle one in order, or the mean of the two middle ones. Counts that lie close together are
// counted out; others are partly sorted.
double MedianOf(std::span<const RepeatEntry> entries, int32_t lowest, int32_t highest,
                std::vector<int32_t>& scratch) {
  const size_t n = entries.size();
  const size_t lower = (n - 1) / 2;  // the places of the middle ones (the same when n is odd)
  const size_t upper = n / 2;
  const size_t range = static_cast<size_t>(highest - lowest) + 1;
  if (range <= 4 * n) {
    scratch.assign(range, 0);
    for (const RepeatEntry& entry : entries) ++scratch[entry.count - lowest];
    int32_t lowerValue = lowest;
    size_t seen = 0;
    for (size_t v = 0;; ++v) {
      if (seen <= lower && lower < seen + scratch[v]) lowerValue = lowest + static_cast<int32_t>(v);
      seen += scratch[v];
      if (seen > upper) return (lowerValue + (lowest + static_cast<double>(v))) / 2;
    }
  }
  scratch.clear();
  for (const RepeatEntry& entry : entries) scratch.push_back(entry.count);
  std::nth_element(scratch.begin(), scratch.begin() + upper, scratch.end());
  const int32_t upperValue = scratch[upper];
  const int32_t lowerValue =
      lower == upper ? upperValue : *std::max_element(scratch.begin(), scratch.begin() + upper);
  return (lowerValue + static_cast<double>(upperValue)) / 2;
}

// One row over the running counts of `entries` (not empty); the leader follows them.
void WriteRow(int label, std::span<const RepeatEntry> entries, Leader& leader, const RepeatLog& repeatLog,
              std::vector<int32_t>& scratch, ReportWriter& out) {
  const int n = static_cast<int>(entries.size());
  int first = 0;
  int64_t sum = 0;  // exact, as a double sum of these counts would be, without its slow additions
  int32_t lowest = INT32_MAX;
  int32_t highest = 0;
  for (const RepeatEntry& entry : entries) {
    first += entry.count == 1;
    sum += entry.count;
    lowest = std::min(lowest, entry.count);
    highest = std::max(highest, entry.count);
  }
  const double median = MedianOf(entries, lowest, highest, scratch);
  leader.Follow(entries);
  out.Printf("%6d%6d%6d%8.3f%7.2f%6.1f%6d %s\n", label, first, n - first, static_cast<double>(first) / n,
             static_cast<double>(sum) / n, median, leader.count, StationText(repeatLog, leader.station));
}

void WriteBlocks(const RepeatLog& repeatLog, std::vector<int32_t>& scratch, ReportWriter& out) {
  WriteSectionHead(kBlockSection, out);
  const std::span<const RepeatEntry> entries = repeatLog.entries;
  Leader leader;
  for (size_t begin = 0; begin < entries.size(); begin += kBlockEntries) {
    const size_t end = std::min(entries.size(), begin + kBlockEntries);
    WriteRow(static_cast<int>(end), entries.subspan(begin, end - begin), leader, repeatLog, scratch, out);
  }
  out.Printf("\n");
}

void WriteYears(const RepeatLog& repeatLog, std::vector<int32_t>& scratch, ReportWriter& out) {
  WriteSectionHead(kYearSection, out);
  const std::span<const RepeatEntry> entries = repeatLog.entries;
  Leader leader;
  const int firstYear = entries.empty() ? 1 : DateOfDay(DayOf(entries.front())).year;
  const int lastYear = entries.empty() ? 0 : DateOfDay(DayOf(entries.back())).year;
  size_t begin = 0;
  for (int year = firstYear; year <= lastYear; ++year) {
    // The entries are in date order: the year's end is found by halving, not by a walk.
    const int32_t nextYearKey = (DayNumber(year + 1, 1, 1) - kDayOf1950) * 1440;
    const size_t end =
        std::partition_point(entries.begin() + begin, entries.end(),
                             [&](const RepeatEntry& entry) { return entry.key < nextYearKey; }) -
        entries.begin();
    if (end == begin) {
      out.Printf("%6d%6d%6d   -       -      -  %6d %s\n", year, 0, 0, leader.count,
                 StationText(repeatLog, leader.station));
    } else {
      WriteRow(year, entries.subspan(begin, end - begin), leader, repeatLog, scratch, out);
    }
    begin = end;
  }
  out.Printf("\n");
}

void WriteDistribution(const std::vector<int32_t>& counts, ReportWriter& out) {
  out.Printf("■交信回数の分布■\n");
  out.Printf("回数   局数\n");
  for (size_t times = 1; times < counts.size(); ++times) {
    if (counts[times] != 0) {
      out.Printf("%4d %6d\n", static_cast<int>(times), counts[times]);
    } else if (times == 1 || counts[times - 1] != 0) {
      out.Printf("\n");  // one empty line for a run of counts without stations
    }
  }
  out.Printf("\n");
}

}  // namespace

void WriteContactCounts(RepeatLog& repeatLog, ReportWriter& out) {
  // Walking the contacts in date-and-time order numbers each station's contacts 1, 2, 3 … in the
  // order they were made.
  std::vector<int32_t> contactsOf(repeatLog.stations.size(), 0);
  for (RepeatEntry& entry : repeatLog.entries) entry.count = ++contactsOf[entry.station];

  std::vector<int32_t> scratch;
  WriteBlocks(repeatLog, scratch, out);
  WriteYears(repeatLog, scratch, out);

  const std::vector<int32_t> counts = StationsByNumber(contactsOf);
  WriteDistribution(counts, out);
  out.Printf("■交信回数上位局■\n");
  out.Printf("順位 回数 局\n");
  for (const RankedStation& ranked : TopStations(contactsOf, counts, repeatLog.stations)) {
    out.Printf("%4d %4d %s\n", ranked.rank, ranked.number, repeatLog.stations[ranked.station].data());
  }
}

}  // namespace vondal

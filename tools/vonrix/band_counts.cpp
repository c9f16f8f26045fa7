// Mode B, band counts.
#include <bit>
#include <vector>

#include "output/band_table.h"
#include "tools/vonrix/analyses.h"
#include "tools/vonrix/ranking.h"
#include "tools/vonrix/vonrix_bands.h"

namespace vondal {
namespace {

struct BandTally {
  int32_t contacts = 0;
  int firstDay = 0;
  int lastDay = 0;
};

void PrintDate(int day, ReportWriter& out) {
  const Date date = DateOfDay(day);
  out.Printf(" %4d/%02d/%02d", date.year, date.month, date.day);
}

// A station's bands as runs of neighbouring band numbers: " 7～14 21", " 3.5 3.8".
void PrintRuns(uint32_t bands, ReportWriter& out) {
  for (int band = 0; band < kBandCount; ++band) {
    if ((bands >> band & 1) == 0) continue;
    int last = band;
    while (last + 1 < kBandCount && (bands >> (last + 1) & 1) != 0) ++last;
    out.Printf(" %s", VonrixBandName(band).data());
    if (last == band + 1) out.Printf(" %s", VonrixBandName(last).data());
    if (last > band + 1) out.Printf("～%s", VonrixBandName(last).data());
    band = last;
  }
}

}  // namespace

void WriteBandCounts(RepeatLog& repeatLog, ReportWriter& out) {
  BandTally tallies[kBandCount];
  std::vector<uint32_t> bandsOf(repeatLog.stations.size(), 0);
  int lowest = kBandCount;
  int highest = -1;
  for (const RepeatEntry& entry : repeatLog.entries) {
    const int band = entry.count;
    if (band < 0) continue;
    BandTally& tally = tallies[band];
    if (tally.contacts++ == 0) tally.firstDay = DayOf(entry);
    tally.lastDay = DayOf(entry);
    bandsOf[entry.station] |= 1u << band;
    lowest = std::min(lowest, band);
    highest = std::max(highest, band);
  }

  out.Printf("■バンド一覧■\n");
  out.Printf("記号 バンド 初交信日   最終交信日  交信数\n");
  for (int band = lowest; band <= highest; ++band) {
    out.Printf("   %c %6s", BandSymbol(band), VonrixBandName(band).data());
    if (tallies[band].contacts > 0) {
      PrintDate(tallies[band].firstDay, out);
      PrintDate(tallies[band].lastDay, out);
      out.Printf(" %7d", tallies[band].contacts);
    }
    out.Printf("\n");
  }
  out.Printf("\n");

  std::vector<int32_t> bandCountOf(bandsOf.size());
  for (size_t station = 0; station < bandsOf.size(); ++station)
    bandCountOf[station] = std::popcount(bandsOf[station]);
  const std::vector<int32_t> counts = StationsByNumber(bandCountOf);
  out.Printf("■バンド数の分布■\n");
  out.Printf("バンド数   局数\n");
  for (size_t bands = 1; bands < counts.size(); ++bands)
    out.Printf("%8d%7d\n", static_cast<int>(bands), counts[bands]);
  out.Printf("    合計%7d\n\n", repeatLog.stations.size());

  out.Printf("■バンド数上位局■\n");
  out.Printf("順位 バンド数 局        バンド\n");
  // The top list starts at 24 bands: a station on all 25 shows in the distribution above only.
  for (const RankedStation& ranked : TopStations(bandCountOf, counts, repeatLog.stations, kBandCount - 1)) {
    out.Printf("%4d %8d %-10s", ranked.rank, ranked.number, repeatLog.stations[ranked.station].data());
    const uint32_t bands = bandsOf[ranked.station];
    for (int band = lowest; band <= highest; ++band)
      out.Printf("%c", (bands >> band & 1) != 0 ? BandSymbol(band) : ' ');
    PrintRuns(bands, out);
    out.Printf("\n");
  }
}

}  // namespace vondal

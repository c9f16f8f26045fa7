#include "output/table_count_reports.h"

#include <cstdio>

#include "citylist/call_area.h"
#include "log/date_time.h"
#include "log/field_table.h"
#include "output/band_table.h"
#include "output/table_counts.h"

namespace vondal {
namespace {

constexpr int kFirstYear = 1950;
constexpr int kMonthRows = 1200;  // 1950-2049
constexpr int kDays = 36525;      // 1950-01-01 … 2049-12-31
constexpr int kMinutes = 1440;

constexpr int kUnitChoiceYear = 0;  // parameter 14: 年, 月
constexpr int kSummaryUnit = 14;
constexpr int kEmptyPeriods = 15;  // 出力, 省略
constexpr int kTimeInterval = 16;

std::string Format(const char* format, int value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// Walks the job's target records.
template <typename Visit>
void ForEachTarget(OutputJob& job, Visit visit) {
  const int count = job.context.log.RecordCount();
  for (int n = 0; n < count; ++n) {
    if (const RecordTexts* texts = job.Target(n)) visit(*texts);
  }
}

// The month row of a DATE: (year - 1950) × 12 + month - 1; -1 when DATE has no valid year and
// month (such a record is in no row).
int MonthRowOf(std::string_view date) {
  const int check = CheckDate(date);
  if (check == 1 || check == 2) return -1;
  const int yy = (date[0] - '0') * 10 + (date[1] - '0');
  const int mm = (date[2] - '0') * 10 + (date[3] - '0');
  return (FullYear(yy) - kFirstYear) * 12 + mm - 1;
}

// Year or month rows, as the year/month and the operating-days tables write them.
void WriteMonthRows(OutputJob& job, const std::vector<CountRow>& rows, const CountRow& totals) {
  const bool byYear = job[kSummaryUnit].choice == kUnitChoiceYear;
  const bool skipEmpty = job[kEmptyPeriods].choice == 1;
  CountTable table;
  table.heading = byYear ? "  年" : "  年  月";
  table.totalLabel = byYear ? "合計" : "合計    ";
  table.totals = totals;
  std::vector<CountRow> years;
  const std::vector<CountRow>* source = &rows;
  if (byYear) {
    years.resize(kMonthRows);
    for (int k = 0; k < kMonthRows; ++k) years[k - k % 12].AddRow(rows[k]);
    source = &years;
  }
  int first = -1;
  int last = -1;
  for (int k = 0; k < kMonthRows; ++k) {
    if ((*source)[k].Total() == 0) continue;
    if (first < 0) first = k;
    last = k;
  }
  for (int k = first; first >= 0 && k <= last; k += byYear ? 12 : 1) {
    const CountRow& row = (*source)[k];
    if (skipEmpty && row.Total() == 0) continue;
    std::string label = Format("%4d", kFirstYear + k / 12);
    if (!byYear) label += Format("%4d", k % 12 + 1);
    table.rows.emplace_back(std::move(label), row);
  }
  job.file->Append(CountTableText(table));
}

// The minutes since midnight of a START or END text: four digits, the first at most 2 and the
// third at most 5 (hours 24-29 pass and stay as they are); -1 for any other text.
int MinutesOf(std::string_view time) {
  if (time.size() != 4) return -1;
  for (char c : time) {
    if (c < '0' || c > '9') return -1;
  }
  if (time[0] > '2' || time[2] > '5') return -1;
  return ((time[0] - '0') * 10 + (time[1] - '0')) * 60 + (time[2] - '0') * 10 + (time[3] - '0');
}

// A contact counted in its row and in the totals.
void AddContact(CountRow& row, CountRow& totals, const RecordTexts& texts) {
  const BandMode bm = BandModeOf(texts[FREQ], texts[MODE]);
  row.Add(bm.band, bm.mode);
  totals.Add(bm.band, bm.mode);
}

// The three counters of a contact (its band, its mode, the total) in `row`, changed by `step`.
void StepContact(CountRow& row, const BandMode& bm, int step) {
  row.cells[bm.band] += step;
  row.cells[kFirstModeCell + bm.mode] += step;
  row.cells[kTotalCell] += step;
}

}  // namespace

void WriteYearMonthTable(OutputJob& job) {
  std::vector<CountRow> rows(kMonthRows);
  CountRow totals;
  ForEachTarget(job, [&](const RecordTexts& texts) {
    const int k = MonthRowOf(texts[DATE]);
    if (k < 0) return;
    AddContact(rows[k], totals, texts);
  });
  WriteMonthRows(job, rows, totals);
}

void WriteDayOfWeekTable(OutputJob& job) {
  static const char* const kDayNames[7] = {"日", "月", "火", "水", "木", "金", "土"};
  std::array<CountRow, 7> rows{};
  CountTable table;
  table.heading = "    ";
  table.totalLabel = "合計";
  ForEachTarget(job, [&](const RecordTexts& texts) {
    if (CheckDate(texts[DATE]) != 0) return;                      // no day of the week
    const int day = DateTimeKey(texts[DATE], "0000") / 1440 % 7;  // 1950-01-01 was a Sunday
    AddContact(rows[day], table.totals, texts);
  });
  for (int d = 0; d < 7; ++d) table.rows.emplace_back(std::string(kDayNames[d]) + "  ", rows[d]);
  job.file->Append(CountTableText(table));
}

void WriteCallAreaTable(OutputJob& job) {
  static const char* const kAreaLabels[12] = {"",     "JA1 ", "JA2 ", "JA3 ", "JA4 ", "JA5 ",
                                              "JA6 ", "JA7 ", "JA8 ", "JA9 ", "JA0 ", "JD1 "};
  std::array<CountRow, 12> rows{};
  CountTable table;
  table.heading = "    ";
  table.totalLabel = "合計";
  ForEachTarget(job, [&](const RecordTexts& texts) {
    const int area = CallArea(texts[CALLSIGN]);
    if (area < 1 || area > 11) return;
    AddContact(rows[area], table.totals, texts);
  });
  for (int a = 1; a <= 11; ++a) table.rows.emplace_back(kAreaLabels[a], rows[a]);
  job.file->Append(CountTableText(table));
}

void WriteBandModeTable(OutputJob& job) {
  std::array<CountRow, kBandListSize> rows{};
  ForEachTarget(job, [&](const RecordTexts& texts) {
    const BandMode bm = BandModeOf(texts[FREQ], texts[MODE]);
    for (int row : {bm.band, kBandTotal}) {
      ++rows[row].cells[kFirstModeCell + bm.mode];
      ++rows[row].cells[kTotalCell];
    }
  });
  const CountRow& totals = rows[kBandTotal];
  const std::vector<int> cells = ShownCells(totals, true);
  const std::string header = CountHeader("        ", cells, 7);
  auto name = [](int band) { return band == kBandTotal ? std::string("  合計  ") : BandName(band, 'L'); };
  std::string text = header;
  for (int b = 0; b < kBandTotal; ++b) {
    if (rows[b].Total() != 0) text += name(b) + CountLine(rows[b], cells, 7);
  }
  text += header + name(kBandTotal) + CountLine(totals, cells, 7);

  text += "\r\nバンド別モード比率\r\n" + header;
  for (int b = 0; b < kBandListSize; ++b) {
    if (rows[b].Total() == 0) continue;
    text += name(b) + Format("%7d", rows[b].Total());
    for (int cell : cells) text += PercentCell(rows[b].cells[cell], rows[b].Total());
    text += "\r\n";
  }

  text += "\r\nモード別バンド比率\r\n" + header;
  for (int b = 0; b < kBandListSize; ++b) {
    if (rows[b].Total() == 0) continue;
    text += name(b);
    if (b == kBandTotal) {
      text += Format("%7d", totals.Total());
      for (int cell : cells) text += Format("%7d", totals.cells[cell]);
    } else {
      text += PercentCell(rows[b].Total(), totals.Total());
      for (int cell : cells) text += PercentCell(rows[b].cells[cell], totals.cells[cell]);
    }
    text += "\r\n";
  }
  job.file->Append(text);
}

void WriteTimeTable(OutputJob& job, char kind) {
  const int interval = std::stoi(job[kTimeInterval].value);
  std::vector<CountRow> minutes(kMinutes);
  std::vector<CountRow> stepRows(kMinutes + 1);  // S and T: where a contact's minutes begin and end
  CountTable table;
  table.heading = kind == 'L' ? "  分" : "時分";
  table.totalLabel = "合計";
  int badStarts = 0;
  int badEnds = 0;
  int longest = 0;
  ForEachTarget(job, [&](const RecordTexts& texts) {
    const int s = MinutesOf(texts[START]);
    if (s < 0) {
      ++badStarts;
      return;
    }
    int e = s;
    if (kind != 'S') {
      e = MinutesOf(texts[END]);
      if (e < 0) {
        ++badEnds;
        return;
      }
      // With hours up to 29 a start may lie more than a day behind the end: the contact ended on
      // the day after its start, whatever the digits say, so its length stays below a day. An
      // END at or after its START on the same day (hours 24-29) may lie a day or more ahead.
      while (e < s) e += kMinutes;
    }
    const BandMode bm = BandModeOf(texts[FREQ], texts[MODE]);
    if (kind == 'L') {
      // END hours 24-29 let a contact last a day or more: its length counts in its row of the day.
      longest = std::max(longest, e - s);
      minutes[(e - s) % kMinutes].Add(bm.band, bm.mode);
    } else {
      // Minutes s … e as steps of a running sum over the minutes of the day. A contact of a day or
      // more (END hours 24-29) starts before 0600, so it wraps past midnight once at most, and the
      // minutes it covers twice count twice.
      const int first = s % kMinutes;
      const int end = first + (kind == 'T' ? e - s : 0);
      StepContact(stepRows[first], bm, 1);
      if (end >= kMinutes) {
        StepContact(stepRows[kMinutes], bm, -1);
        StepContact(stepRows[0], bm, 1);
      }
      StepContact(stepRows[end % kMinutes + 1], bm, -1);
    }
    table.totals.Add(bm.band, bm.mode);
  });
  if (kind != 'L') {
    CountRow running;
    for (int m = 0; m < kMinutes; ++m) {
      running.AddRow(stepRows[m]);
      minutes[m] = running;
    }
  }
  const int lastRow = kind == 'L' ? longest : kMinutes - 1;
  for (int t = 0; t <= lastRow; t += interval) {
    CountRow row;
    for (int m = t; m < t + interval && m < kMinutes; ++m) row.AddRow(minutes[m]);
    const std::string label =
        kind == 'L' ? Format("%4d", t) : Format("%02d", t / 60) + Format("%02d", t % 60);
    table.rows.emplace_back(label, row);
  }
  std::string text = CountTableText(table);
  if (badStarts > 0 || badEnds > 0) {
    text += "\r\n開始時刻が不正なレコード数 " + std::to_string(badStarts);
    text += "\r\n終了時刻が不正なレコード数 " + std::to_string(badEnds) + "\r\n";
  }
  job.file->Append(text);
}

void WriteOperatingDaysTable(OutputJob& job) {
  std::vector<uint32_t> bandMasks(kDays);
  std::vector<uint8_t> modeMasks(kDays);
  ForEachTarget(job, [&](const RecordTexts& texts) {
    if (CheckDate(texts[DATE]) != 0) return;
    const std::string_view date = texts[DATE];
    const int yy = (date[0] - '0') * 10 + (date[1] - '0');
    const int mm = (date[2] - '0') * 10 + (date[3] - '0');
    const int dd = (date[4] - '0') * 10 + (date[5] - '0');
    const int day = DayNumber(FullYear(yy), mm, dd) - kDayOf1950;
    const BandMode bm = BandModeOf(texts[FREQ], texts[MODE]);
    bandMasks[day] |= 1u << bm.band;
    modeMasks[day] |= static_cast<uint8_t>(1u << bm.mode);
  });
  std::vector<CountRow> rows(kMonthRows);
  CountRow totals;
  for (int day = 0; day < kDays; ++day) {
    if (bandMasks[day] == 0) continue;
    const DateTime date = KeyToDateTime(day * 1440);
    CountRow& row = rows[(date.year - kFirstYear) * 12 + date.month - 1];
    for (CountRow* r : {&row, &totals}) {
      for (int b = 0; b <= kOutsideBands; ++b) r->cells[b] += (bandMasks[day] >> b) & 1;
      for (int m = 0; m < kModeCount; ++m) r->cells[kFirstModeCell + m] += (modeMasks[day] >> m) & 1;
      ++r->cells[kTotalCell];
    }
  }
  WriteMonthRows(job, rows, totals);
}

}  // namespace vondal

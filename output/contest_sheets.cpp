#include "output/contest_sheets.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "app/text/sjis.h"
#include "app/text/text_helpers.h"
#include "output/export_format.h"

namespace vondal {
namespace {

int FourDigitYear(int yy) { return yy < 50 ? 2000 + yy : 1900 + yy; }

std::string Printf(const char* format, auto... values) {
  char text[512];
  std::snprintf(text, sizeof text, format, values...);
  return text;
}

// The heading of a print or check-list sheet.
std::string SheetHeading(bool checkList, int year, const std::string& name, const std::string& callsign,
                         int band, int sheet, int sheets, bool utc) {
  std::string out = Printf("%s      %d  %s\r\n\r\n", checkList ? "CHECK LIST" : "LOG SHEET",
                           FourDigitYear(year), name.c_str());
  out += Printf("Callsign %s                   Band %sHz                Sheet No.%d/%d\r\n\r\n",
                callsign.c_str(), BandName(band, 'S').c_str(), sheet, sheets);
  out += utc ? "mm/dd   UTC  Callsign" : "月/日   JST  交信局";
  if (!checkList) {
    out += utc ? "    Sent              Received          Multiplier Point"
               : "      送信              受信              マルチ     得点";
  }
  return out + "\r\n";
}

// A line of a sheet: texts placed into a line of blanks, the line ending after the last one.
class SheetLine {
 public:
  explicit SheetLine(size_t width) : text_(width, ' ') {}
  void Place(size_t col, size_t lastCol, std::string_view text) { end_ = FitCopy(text_, col, lastCol, text); }
  std::string Finish() const { return text_.substr(0, end_) + "\r\n"; }

 private:
  std::string text_;
  size_t end_ = 0;
};

bool CountsAsMultiplier(const std::string& multiplier) { return !multiplier.empty() && multiplier[0] != '?'; }

}  // namespace

std::string PlainContestLog(const ContestRun& run) {
  std::string out;
  for (const ContestEntry& entry : run.entries) {
    const DateTime t = EntryTime(run, entry);
    std::string multiplier = entry.multiplier;
    if (run.format == kPlainLogStars && !entry.error && !multiplier.empty()) multiplier = "*";
    out += Printf(" %-5s%-3s %02d/%02d/%02d %02d%02d %-16s%-19s%-19s%-8s%d\r\n",
                  BandName(entry.band, 's').c_str(), std::string(ModeName(entry.mode)).c_str(), t.day,
                  t.month, t.year % 100, t.hour, t.minute, entry.callsign.c_str(), entry.sent.c_str(),
                  entry.received.c_str(), multiplier.c_str(), entry.point);
  }
  return out;
}

std::string ContestCsv(const ContestRun& run) {
  std::string out =
      "\"date\",\"time\",\"band\",\"mode\",\"callsign\",\"sent\",\"rcvd\",\"multi\",\"point\"\r\n";
  for (const ContestEntry& entry : run.entries) {
    const DateTime t = EntryTime(run, entry);
    out += Printf("\"%02d%02d%02d\",\"%02d%02d\",\"%s\",\"%s\",\"%s\",\"%s\",\"%s\",\"%s\",\"%d\"\r\n",
                  t.year, t.month, t.day, t.hour, t.minute, BandName(entry.band, 's').c_str(),
                  std::string(ModeName(entry.mode)).c_str(), entry.callsign.c_str(), entry.sent.c_str(),
                  entry.received.c_str(), entry.multiplier.c_str(), entry.point);
  }
  return out;
}

std::string PrintSheets(const ContestRun& run, const std::string& callsign, int lines) {
  std::string out;
  const char* subtotal = run.utc ? "Total" : "小計";
  for (int band = 0; band < kBandCount; ++band) {
    const int contacts = run.bands[band].contacts;
    if (contacts == 0) continue;
    const int sheets = (contacts + lines - 1) / lines;
    int sheet = 0, onSheet = 0, multipliers = 0, points = 0;
    DateTime previous{};
    std::string previousSent;
    auto closeSheet = [&] {
      out += Printf(" %-5s%13d%44d%13d\r\n", subtotal, onSheet, multipliers, points);
      onSheet = multipliers = points = 0;
    };
    for (const ContestEntry& entry : run.entries) {
      if (entry.band != band) continue;
      if (onSheet == 0)
        out += SheetHeading(false, run.firstYear, run.name, callsign, band, ++sheet, sheets, run.utc);
      const DateTime t = EntryTime(run, entry);
      const bool first = onSheet == 0;
      const bool newDate =
          first || t.month != previous.month || t.day != previous.day || t.year != previous.year;
      SheetLine line(80);
      if (newDate) line.Place(0, 4, Printf("%2d/%02d", t.month, t.day));
      if (newDate || t.hour != previous.hour) line.Place(7, 8, Printf("%02d", t.hour));
      line.Place(9, 10, Printf("%02d", t.minute));
      line.Place(13, 29, entry.callsign);
      line.Place(25, 45, !first && entry.sent == previousSent ? std::string("↑") : entry.sent);
      line.Place(43, 59, entry.received);
      line.Place(61, 76, entry.multiplier);
      if (entry.point == 0) {
        line.Place(74, 79, "?dup?");
      } else {
        line.Place(75, 79, std::to_string(entry.point));
      }
      out += line.Finish();
      previous = t;
      previousSent = entry.sent;
      ++onSheet;
      multipliers += CountsAsMultiplier(entry.multiplier);
      points += entry.point;
      if (onSheet == lines) closeSheet();
    }
    if (onSheet > 0) {
      for (int i = onSheet; i < lines; ++i) out += "\r\n";
      closeSheet();
    }
  }
  return out;
}

CheckItem MakeCheckItem(const RecordTexts& texts, bool utc) {
  CheckItem item;
  const int band = BandOf(texts[FREQ]);
  item.band = band < 0 ? kOutsideBands : band;
  item.callsign = std::string(CutAtCharacter(texts[CALLSIGN], 24));
  std::string date(texts[DATE]), start(texts[START]), end;
  if (utc) JstToUtc(date, start, end);
  item.mmdd = date.size() > 2 ? date.substr(2) : std::string();
  item.hhmm = start;
  return item;
}

std::string CheckList(std::vector<CheckItem> items, int minimum, bool utc, int year, const std::string& name,
                      const std::string& callsign) {
  std::array<int, kBandListSize> counts{};
  for (const CheckItem& item : items) ++counts[item.band];
  std::stable_sort(items.begin(), items.end(), [](const CheckItem& a, const CheckItem& b) {
    if (a.callsign != b.callsign) return a.callsign < b.callsign;
    return a.mmdd + a.hhmm < b.mmdd + b.hhmm;
  });
  std::string out;
  bool anySheet = false;
  for (int band = 0; band < kBandCount; ++band) {
    if (counts[band] == 0 || counts[band] < minimum) continue;
    const int sheets = (counts[band] + kCheckListLines - 1) / kCheckListLines;
    int sheet = 0, onSheet = 0;
    const CheckItem* previous = nullptr;
    for (const CheckItem& item : items) {
      if (item.band != band) continue;
      if (onSheet == 0) {
        if (anySheet) out += "\r\n";
        anySheet = true;
        out += SheetHeading(true, year, name, callsign, band, ++sheet, sheets, utc);
      }
      SheetLine line(40);
      std::string date = item.mmdd.substr(0, 4);
      if (date.size() >= 2) date.insert(2, "/");
      if (!date.empty() && date[0] == '0') date[0] = ' ';
      line.Place(0, 4, date);
      line.Place(7, 10, item.hhmm);
      line.Place(13, 36, item.callsign);
      if (previous && previous->callsign == item.callsign) line.Place(30, 33, "DUPE");
      out += line.Finish();
      previous = &item;
      if (++onSheet == kCheckListLines) onSheet = 0;
    }
    if (onSheet > 0) {
      for (int i = onSheet; i < kCheckListLines; ++i) out += "\r\n";
    }
  }
  return out;
}

}  // namespace vondal

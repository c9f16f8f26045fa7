#include "output/contest_run.h"

#include <cstdio>

#include "app/text/text_helpers.h"
#include "output/contest_number.h"
#include "output/export_format.h"

namespace vondal {
namespace {

bool IsHokkaido(std::string_view callsign) {
  const size_t slash = callsign.find('/');
  if (slash == std::string_view::npos) return callsign.size() >= 3 && callsign[2] == '8';
  return callsign.ends_with("/8");
}

// An exchange: the report alone gets the extra text behind it.
std::string Exchange(std::string_view report, size_t reportLength, std::string_view extra) {
  std::string text(report);
  if (text.size() == reportLength && !extra.empty()) text += extra;
  return text;
}

int TwoDigitsOf(std::string_view date) {
  if (date.size() < 2 || date[0] < '0' || date[0] > '9' || date[1] < '0' || date[1] > '9') return 0;
  return (date[0] - '0') * 10 + (date[1] - '0');
}

}  // namespace

bool ContestRun::AnyError() const {
  for (const ContestEntry& entry : entries) {
    if (entry.error) return true;
  }
  return false;
}

std::string ReceivedNumber(char kind, const RecordTexts& texts) {
  const size_t n = static_cast<size_t>(ReportLength(ModeOf(texts[MODE])));
  if (texts[rRST].size() <= n) return "?nul?";
  std::string number(Trim(ToUpperAscii(texts[rRST]).substr(n)));
  if (kind == 'J') {
    switch (ApplyJarlNumberRule(number, texts[DATE], texts[CALLSIGN])) {
      case JarlNumberFault::kPower:
        return "?pwr?";
      case JarlNumberFault::kOperator:
        return "?opn?";
      case JarlNumberFault::kUnneeded:
        return "?nop?";
      case JarlNumberFault::kNone:
        break;
    }
  }
  const size_t length = number.size();
  if (length == 0) return "?nul?";
  if (kind == 'J') {
    const bool hokkaido = IsHokkaido(texts[CALLSIGN]);
    if (length < (hokkaido ? 3u : 2u)) return "?sht?";
    if (length == 3 && !hokkaido) return "?len?";
    if (length > 6) return "?lng?";
  } else if (kind == 'K') {
    if (length < 2) return "?sht?";
  }
  return number;
}

void ScoreContestRecord(ContestRun& run, int position, const RecordTexts& texts,
                        const ContestSettings& settings) {
  ContestEntry entry;
  entry.position = position;
  entry.callsign = std::string(texts[CALLSIGN]);
  entry.dateTimeKey = DateTimeKey(texts[DATE], texts[START]);
  const int band = BandOf(texts[FREQ]);
  entry.band = static_cast<uint8_t>(band < 0 ? kOutsideBands : band);
  entry.mode = static_cast<uint8_t>(ModeOf(texts[MODE]));
  const size_t n = static_cast<size_t>(ReportLength(entry.mode));
  BandScore& score = run.bands[entry.band];
  BandScore& total = run.bands[kBandTotal];
  ++score.contacts;
  ++total.contacts;
  entry.sent = Exchange(texts[sRST], n, settings.handle);
  entry.received = Exchange(texts[rRST], n, texts[NAME]);
  // A station already worked on this band scores nothing.
  const bool newStation = run.callsOnBand[entry.band].insert(entry.callsign).second;
  entry.point = newStation ? 1 : 0;
  score.points += entry.point;
  total.points += entry.point;
  if (run.kind == 'D') {
    std::string date(texts[DATE]), start(texts[START]), end;
    if (run.utc) JstToUtc(date, start, end);
    if (run.dates.insert(date).second) ++run.days;
    if (run.multipliersOnBand[entry.band].insert(date).second) entry.multiplier = date;
  } else if (run.kind != 'P') {
    std::string number = ReceivedNumber(run.kind, texts);
    if (number.starts_with("?")) {
      entry.multiplier = std::move(number);
      entry.error = true;
    } else if (!number.empty() && !run.multipliersOnBand[entry.band].contains(number)) {
      if (newStation) {
        run.multipliersOnBand[entry.band].insert(number);
        entry.multiplier = std::move(number);
      } else {
        // A repeated contact must not bring the band a multiplier its first contact did not.
        entry.multiplier = "?dup?";
        entry.error = true;
      }
    }
  }
  if (!entry.multiplier.empty() && !entry.error) {
    ++score.multipliers;
    ++total.multipliers;
  }
  if (run.firstYear < 0) run.firstYear = TwoDigitsOf(texts[DATE]);
  ++run.targets;
  run.entries.push_back(std::move(entry));
}

std::string ScoreTable(const ContestRun& run, bool authorsuse) {
  std::string out;
  if (run.AnyError()) {
    out +=
        "受信ナンバーにエラーがあります\r\n 記号 意味\r\n?nul? 受信ナンバーがない\r\n"
        "?opn? 社団局でオペレータ名が無い(1995年10月～1997年)\r\n?nop? "
        "社団局でないのにオペレータ名がある(同上期間)\r\n"
        "?pwr? JARLコンテストで電力の表示がない，または間違い\r\n?sht? ナンバーが短すぎる\r\n?lng? "
        "ナンバーが長すぎる\r\n"
        "?len? ナンバーの長さが不正\r\n?dup? 新マルチプライヤなのにコールサインが既出\r\n\r\n";
  }
  out += "得点集計---------------------\r\n バンド  交信数  得点  マルチ\r\n";
  char line[128];
  for (int band = 0; band < kBandCount; ++band) {
    const BandScore& score = run.bands[band];
    if (score.contacts == 0) continue;
    std::snprintf(line, sizeof line, " %-7s%5d%8d%8d\r\n", BandName(band, 'S').c_str(), score.contacts,
                  score.points, score.multipliers);
    out += line;
  }
  const BandScore& total = run.bands[kBandTotal];
  std::snprintf(line, sizeof line, " 合計   %5d%8d%8d\r\n", total.contacts, total.points,
                run.TotalMultipliers());
  out += line;
  out += "-----------------------------\r\n";
  if (!authorsuse) out += "ここまでの行は提出前に削除してください\r\n\r\n";
  return out;
}

DateTime EntryTime(const ContestRun& run, const ContestEntry& entry) {
  int32_t key = entry.dateTimeKey;
  if (run.utc) key = key >= 9 * 60 ? key - 9 * 60 : 0;
  return KeyToDateTime(key);
}

}  // namespace vondal

#include "output/table_cities.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

#include "citylist/call_area.h"
#include "console/console.h"
#include "log/field_table.h"
#include "output/contest_number.h"
#include "output/exchange_city_number.h"
#include "output/table_counts.h"
#include "output/table_words.h"

namespace vondal {
namespace {

constexpr int kItems = 31;  // 全ての市郡, …(消滅除く), 交信した市郡, …(消滅除く), 都道府県のみ
constexpr int kOrder = 32;  // 県市郡区の順, 都道府県の順
constexpr int kPrefecturesOnly = 4;

constexpr CityKind kKinds[] = {CityKind::kCity, CityKind::kGun, CityKind::kWard};

int KindIndex(CityKind kind) { return kind == CityKind::kCity ? 0 : kind == CityKind::kGun ? 1 : 2; }

template <typename... Args>
std::string Format(const char* format, Args... args) {
  char text[256];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

// Where a contact was: its number, the validity of the entry found, or the problem with it.
struct Location {
  CityNumber number;
  Validity validity;
  std::string problem;  // a problem line's message; empty with no number: skipped silently
  bool found = false;
  // Resolved once with the location: the entry of a city, gun or ward number (null for a
  // prefecture and for a number the list does not hold).
  const CityEntry* entry = nullptr;
};

Location FromQth(const CityList& list, std::string_view qth, int area) {
  NameMatch match;
  switch (list.NumberOfName(qth, area == 11 ? 1 : area, match)) {
    case CityResult::kFound:
      return {match.number, match.validity, "", true};
    case CityResult::kOtherCallArea:
      return {{}, {}, "エリアが違います"};
    case CityResult::kSeveralCandidates:
      return {{}, {}, "複数の候補があります"};
    default:
      return {};
  }
}

Location FromExchange(const CityList& list, const RecordTexts& texts, int area,
                      const ContestSettings& settings) {
  const ExchangeCityNumber exchange = CityNumberOfExchange(texts, area, settings);
  if (exchange.number.empty()) return {{}, {}, exchange.message};
  Location location;
  switch (list.ValidityByNumber(exchange.number, location.validity)) {
    case CityResult::kFound:
      break;
    case CityResult::kNotNumberForm:
      return {{}, {}, "形式が違います"};
    case CityResult::kPrefectureOutOfRange:
    case CityResult::kNoSuchEntry:
      return {{}, {}, "番号が違います"};
    default:
      return {};
  }
  ParseNumber(exchange.number, location.number);
  location.found = true;
  return location;
}

Location Resolved(const CityList& list, Location location) {
  if (location.found && location.number.kind != CityKind::kPrefecture)
    location.entry = list.FindEntry(location.number);
  return location;
}

// Logs name the same places again and again: each location is worked out once per key and kept,
// the keys numbered in a word table.
class LocationCache {
 public:
  // The location of QTH for a call sign of this area.
  const Location& OfQth(const CityList& list, std::string_view qth, int area) {
    key_.assign({'Q', static_cast<char>(area)});
    key_ += qth;
    return Known([&] { return FromQth(list, qth, area); }, list);
  }

  // The location of the received exchange. The key holds every text the exchange rules read:
  // CONTEST, MODE, rRST, the year and month of DATE and, where the rule of that month reads it,
  // whether CALLSIGN is a special station.
  const Location& OfExchange(const CityList& list, const RecordTexts& texts, int area,
                             const ContestSettings& settings) {
    const std::string_view date = texts[DATE].substr(0, 4);
    const bool special = JarlRuleReadsCallsign(date) && IsSpecialStation(texts[CALLSIGN]);
    key_.assign({'X', static_cast<char>(area), special ? '1' : '0'});
    key_ += date;
    key_ += '\0';
    key_ += texts[MODE];
    key_ += '\0';
    key_ += texts[CONTEST];
    key_ += '\0';
    key_ += texts[rRST];
    return Known([&] { return FromExchange(list, texts, area, settings); }, list);
  }

 private:
  template <typename Find>
  const Location& Known(Find find, const CityList& list) {
    const int number = keys_.Count(key_);
    if (number < 0) {  // past the numbers a word table holds: worked out each time
      uncounted_ = Resolved(list, find());
      return uncounted_;
    }
    if (static_cast<size_t>(number) == locations_.size()) locations_.push_back(Resolved(list, find()));
    return locations_[static_cast<size_t>(number)];
  }

  std::string key_;  // reused: no allocation per record once it has grown
  WordTable keys_{SIZE_MAX};
  std::vector<Location> locations_;  // by key number
  Location uncounted_;
};

// A problem line: DATE START CALLSIGN, the message, and the texts the location came from.
void AppendProblem(std::string& out, const RecordTexts& texts, std::string_view problem, bool byQth) {
  out += texts[DATE];
  out += ' ';
  out += texts[START];
  out += ' ';
  out += texts[CALLSIGN];
  out += ' ';
  out += problem;
  out += '\t';
  if (byQth) {
    out += texts[QTH];
  } else {
    out += texts[CONTEST];
    out += '\t';
    out += texts[rRST];
  }
  out += "\r\n";
}

// The label of an entry row: number, "!" for a place that no longer exists, and the name as the
// list keeps it, without 市, 郡 or 区; a ward's name follows its city's name and 市 (東京都 for the
// wards of Tokyo).
std::string EntryLabel(const CityList& list, const CityEntry& entry) {
  const char mark = entry.validity.end != kOpenEnd ? '!' : ' ';
  switch (entry.kind) {
    case CityKind::kCity:
      return Format("%02d%02d  %c%-14s", entry.prefecture, entry.own, mark, entry.name.c_str());
    case CityKind::kGun:
      return Format("%02d0%02d %c%-14s", entry.prefecture, entry.own, mark, entry.name.c_str());
    default: {
      std::string name = "東京都";
      if (entry.prefecture != 10 || entry.city != 1) {
        const CityEntry* city = list.FindEntry({CityKind::kCity, entry.prefecture, 0, entry.city});
        name = (city ? city->name : std::string()) + "市";
      }
      name += entry.name;
      return Format("%02d%02d%02d%c%-14s", entry.prefecture, entry.city, entry.own, mark, name.c_str());
    }
  }
}

}  // namespace

bool WriteCityTable(OutputJob& job, const CityList& list) {
  if (!list.Loaded()) {
    Screen& screen = TheScreen();
    screen.PutText("CGlist3.TXTが読めません", kOutputNoticeRow, 1, screen.Width(), kPlainAttr, kPlainAttr);
    return false;
  }
  const int items = job.parameters[kItems].choice;
  const bool withoutEnded = items == 1 || items == 3;
  const bool contactedOnly = items == 2 || items == 3;
  std::vector<CountRow> entries(static_cast<size_t>(list.EntryCount()) + 1);  // by serial number
  std::vector<CountRow> prefectures(kPrefectureCount + 1);
  std::array<CountRow, 3> kinds{};
  CountRow all;
  std::string out;
  LocationCache cache;
  const int count = job.context.log.RecordCount();
  for (int n = 0; n < count; ++n) {
    ShowTableProgress(n);
    const RecordTexts* texts = job.Target(n);
    if (!texts) continue;
    const int area = CallArea((*texts)[CALLSIGN]);
    if (area < 1 || area > 11) continue;
    const bool byQth = !(*texts)[QTH].empty();
    if (!byQth && (*texts)[rRST].empty()) continue;
    const Location& location = byQth ? cache.OfQth(list, (*texts)[QTH], area)
                                     : cache.OfExchange(list, *texts, area, job.context.contest);
    std::string_view problem = location.problem;
    if (location.found && location.validity.HasDates()) {
      const std::optional<uint16_t> day = DayNumberOfDate((*texts)[DATE]);
      if (day && location.validity.start != kOpenStart && *day < location.validity.start) {
        problem = "発足前です";
      } else if (day && location.validity.end != kOpenEnd && *day > location.validity.end) {
        problem = "消滅後です";
      }
    }
    if (!problem.empty()) {
      AppendProblem(out, *texts, problem, byQth);
      continue;
    }
    if (!location.found) continue;
    const BandMode bm = BandModeOf((*texts)[FREQ], (*texts)[MODE]);
    prefectures[location.number.prefecture].Add(bm.band, bm.mode);
    all.Add(bm.band, bm.mode);
    if (location.number.kind == CityKind::kPrefecture) continue;
    const CityEntry* entry = location.entry;
    if (!entry || (withoutEnded && entry->validity.end != kOpenEnd)) continue;
    kinds[KindIndex(entry->kind)].Add(bm.band, bm.mode);
    entries[entry->serial].Add(bm.band, bm.mode);
  }

  CountTable table;
  table.heading = "        ";
  table.totalLabel = "合計    ";
  table.totals = all;
  for (int p = 1; p <= kPrefectureCount; ++p) {
    table.rows.emplace_back(Format("%-8s", list.PrefectureOf(p).name.c_str()), prefectures[p]);
  }
  out += CountTableText(table);
  if (items != kPrefecturesOnly) {
    out += "\r\n";
    auto listed = [&](const CityEntry& entry) {
      if (withoutEnded && entry.validity.end != kOpenEnd) return false;
      return !contactedOnly || entries[entry.serial].Total() != 0;
    };
    auto addRows = [&](CountTable& block, CityKind kind, int p) {
      for (const CityEntry& entry : list.Entries(kind, p)) {
        if (listed(entry)) block.rows.emplace_back(EntryLabel(list, entry), entries[entry.serial]);
      }
    };
    if (job.parameters[kOrder].choice == 0) {
      for (CityKind kind : kKinds) {
        CountTable block;
        block.heading = std::string(21, ' ');
        block.totalLabel = "       合計          ";
        block.totals = kinds[KindIndex(kind)];
        for (int p = 1; p <= kPrefectureCount; ++p) addRows(block, kind, p);
        out += CountTableText(block) + "\r\n";
      }
    } else {
      for (int p = 1; p <= kPrefectureCount; ++p) {
        CountTable block;
        block.heading = Format("%-21s", list.PrefectureOf(p).name.c_str());
        block.totalLabel = "         合計        ";
        block.totals = prefectures[p];
        for (CityKind kind : kKinds) addRows(block, kind, p);
        out += CountTableText(block) + "\r\n";
      }
    }
  }
  job.file->Append(out);
  return true;
}

}  // namespace vondal

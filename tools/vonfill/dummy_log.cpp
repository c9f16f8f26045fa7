#include "tools/vonfill/dummy_log.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "app/text/sjis.h"
#include "tools/vonfill/names.h"
#include "tools/vonfill/remarks.h"

namespace vondal::vonfill {
namespace {

using namespace std::string_view_literals;

// The author's own contact shows where and who the author is.
constexpr char kAuthorQth[] = "長野市";
constexpr char kAuthorName[] = "Kazu";

constexpr std::string_view kOgasawara = "小笠原郡(小笠原)";
constexpr std::string_view kVonfillVersionText = kVonfillVersion;

// The second digit of a signal report: mostly 9, rarely weak.
constexpr char kReportDigits[] = "23455567788899999999";

// REMARKS holds at most this many bytes, whatever room the record leaves.
constexpr size_t kRemarksCapacity = 99;

constexpr char TensDigit(int value) { return static_cast<char>('0' + value / 10 % 10); }
constexpr char UnitsDigit(int value) { return static_cast<char>('0' + value % 10); }

// "5", a digit, "9".
void SetReport(MersenneTwister& rng, std::string& report) {
  report.resize(3);
  report[0] = '5';
  report[1] = kReportDigits[rng.Random(20)];
  report[2] = '9';
}

// The record index (0-999999) in 6 places: "#....5", "#.1234", "123456".
void SetQslSent(int i, std::string& sqsl) {
  sqsl.assign(6, '.');
  int at = 6;
  do {
    sqsl[--at] = static_cast<char>('0' + i % 10);
    i /= 10;
  } while (i > 0 && at > 0);
  if (at > 0) sqsl[0] = '#';
}

// A REMARKS item with a number: "回数[3]".
std::string Counted(std::string_view label, long number) {
  std::string item(label);
  item += '[';
  item += std::to_string(number);
  item += ']';
  return item;
}

}  // namespace

DummyLog::DummyLog(const DummyLogSettings& settings, const CityLists& cities)
    : settings_(settings),
      cities_(cities),
      rng_(settings.seed),
      clock_(StartClock(settings.year, settings.month, settings.records)),
      stations_(settings.strict) {}

void DummyLog::SetDateAndTimes(Record& record) {
  const int yy = clock_.year % 100;
  const char date[] = {TensDigit(yy),           UnitsDigit(yy),
                       TensDigit(clock_.month), UnitsDigit(clock_.month),
                       TensDigit(clock_.day),   UnitsDigit(clock_.day)};
  record[DATE].assign(date, sizeof date);
  const int hour = clock_.hour;
  const int minute = clock_.minute;
  SetTime(record[START], hour, minute);

  const int step = rng_.Random(IntervalLimit(clock_));
  Advance(clock_, step);
  // Most contacts are short; none lasts beyond the next one's start. END stays on START's date.
  const double r = rng_.Draw();
  SetTime(record[END], hour, minute, std::min(static_cast<int>(r * r * 15), step));
}

void DummyLog::ChooseStation(int i) {
  Contact& c = contact_;
  c.suffix.clear();
  c.nameKnown = true;
  c.qthKnown = true;
  c.isAuthor = false;
  c.kind = StationKind::kJapanese;
  if (i == settings_.records / 12) {
    c.callsign = kAuthorCallsign;
    c.isAuthor = true;
    stations_.Put(rng_, c);
  } else if (rng_.Draw() < 50000.0 / (i + 49999)) {
    // New stations come often at first and ever more rarely as the log grows.
    if (rng_.Draw() < settings_.foreignShare) {
      c.kind = StationKind::kForeign;
      InventForeignCallsign(rng_, c.callsign, c.suffix);
    } else {
      InventJapaneseCallsign(rng_, c.callsign, c.suffix);
    }
    stations_.Put(rng_, c);
  } else {
    stations_.Take(rng_, c);
  }
}

void DummyLog::SetQth(std::string& qth) {
  const Contact& c = contact_;
  if (c.suffix == "MM") {
    // Latitude and longitude at sea: "35S 139E".
    char position[16];
    const int tens = rng_.Random(9);
    const int units = rng_.Random(10);
    const char northSouth = rng_.Draw() >= 0.6 ? 'N' : 'S';
    const int longitude = rng_.Random(180);
    const char westEast = rng_.Draw() >= 0.5 ? 'W' : 'E';
    std::snprintf(position, sizeof position, "%d%d%c %03d%c", tens, units, northSouth, longitude, westEast);
    qth = position;
    return;
  }
  if (!c.qthKnown) {
    qth.clear();
    return;
  }
  if (c.kind == StationKind::kForeign) {
    qth = "DX"sv;
    return;
  }
  if (c.isAuthor) {
    qth = kAuthorQth;
    return;
  }
  if (c.suffix == "JD1") {
    qth = rng_.Draw() >= 0.2 ? kOgasawara : "小笠原郡(南鳥島)"sv;
    return;
  }
  char area;
  if (!c.suffix.empty()) {
    area = c.suffix[0];
  } else if (c.callsign.starts_with("JD1")) {
    qth = kOgasawara;
    return;
  } else if (c.callsign[0] == '7' && c.callsign[1] != 'J') {
    area = '1';  // 7K-7N are all in area 1
  } else {
    area = c.callsign.size() > 2 ? c.callsign[2] : ' ';
  }
  // A suffix that is no call-area digit (left by the strict check) tells no QTH.
  qth = IsAsciiDigit(area) ? cities_.Pick(area - '0', rng_) : std::string_view();
}

void DummyLog::SetName(std::string& name) {
  if (!contact_.nameKnown) {
    name.clear();
  } else if (contact_.isAuthor) {
    name = kAuthorName;
  } else {
    MakeName(rng_, name);
  }
}

void DummyLog::SetQslReceived(int i, std::string& rqsl) {
  // Cards come back after a while: none for the last contacts, fewer for the recent ones, and
  // fewer from abroad.
  const int n = settings_.records;
  double p;
  if (contact_.kind == StationKind::kJapanese) {
    p = i <= n - 4000 ? 0.5 : i <= n - 2000 ? 0.25 : 0;
  } else {
    p = i <= n - 12000 ? 0.3 : i <= n - 3000 ? 0.15 : 0;
  }
  rqsl = rng_.Draw() < p ? "+"sv : ""sv;
}

void DummyLog::SetRemarks(int i, Record& record) {
  size_t others = 0;
  for (int field = 0; field < kStoredFieldCount; ++field) {
    if (field != REMARKS) others += record[field].size();
  }
  const size_t room = others < kRecordBudget ? kRecordBudget - others : 0;
  RemarksText remarks(record[REMARKS], std::min(kRemarksCapacity, room));

  const Contact& c = contact_;
  std::string_view likeness[2];
  const int likenessCount = AuthorLikeness(c.callsign, likeness);
  for (int k = 0; k < likenessCount; ++k) remarks.Add(likeness[k]);
  if (c.callsign[0] == '8' && !c.suffix.empty() && c.callsign.size() > 2 && c.suffix[0] != c.callsign[2]) {
    remarks.Add("本物のJARL特別局が他ｴﾘｱへ行くのは稀?");
  }
  if (settings_.memoryStatistics) {
    const bool last = i == settings_.records - 1;
    if (i == 0) remarks.Add(Counted("記憶領域確保量", StationTable::kCapacity));
    if ((i > 0 && i % 100 == 0) || last) remarks.Add(Counted("交信局数", stations_.stationsContacted()));
    if ((i > 100 && i % 100 == 1) || last) remarks.Add(Counted("記憶領域使用量", stations_.entriesUsed()));
  }
  if (c.count >= 2) remarks.Add(Counted("回数", c.count));
}

void DummyLog::BuildRecord(int i, Record& record) {
  SetDateAndTimes(record);
  ChooseStation(i);
  record[FREQ] = frequency_.Next(rng_, contact_.kind);
  record[MODE] = "CW"sv;
  SetReport(rng_, record[sRST]);
  SetReport(rng_, record[rRST]);
  SetQth(record[QTH]);
  SetName(record[NAME]);
  record[RIG].clear();
  const std::string_view monthDay = std::string_view(record[DATE]).substr(2, 4);
  const bool newYearParty =
      contact_.kind == StationKind::kJapanese &&
      ((monthDay == "0102" && record[START] > "09") || (monthDay == "0103" && record[START] < "21"));
  record[CONTEST] = newYearParty ? "NYP"sv : ""sv;
  record[MyQTH] = kVonfillVersionText;
  record[MyRIG].clear();
  SetQslSent(i, record[sQSL]);
  SetQslReceived(i, record[rQSL]);
  record[CALLSIGN] = contact_.callsign;
  if (!contact_.suffix.empty()) record[CALLSIGN].append(1, '/').append(contact_.suffix);
  // Last: REMARKS takes the room the other fields leave.
  SetRemarks(i, record);
}

}  // namespace vondal::vonfill

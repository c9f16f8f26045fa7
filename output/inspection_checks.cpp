#include "output/inspection_checks.h"

#include <algorithm>
#include <cstdio>

#include "app/text/brackets.h"
#include "app/text/sjis.h"
#include "app/text/text_helpers.h"
#include "app/text/wildcard.h"
#include "citylist/call_area.h"
#include "log/date_time.h"
#include "output/band_table.h"
#include "output/contest_areas.h"
#include "output/contest_number.h"

namespace vondal {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }

bool FourDigits(std::string_view text) {
  return text.size() == 4 && IsDigit(text[0]) && IsDigit(text[1]) && IsDigit(text[2]) && IsDigit(text[3]);
}

int Hour(std::string_view hhmm) { return (hhmm[0] - '0') * 10 + (hhmm[1] - '0'); }
int Minute(std::string_view hhmm) { return (hhmm[2] - '0') * 10 + (hhmm[3] - '0'); }

void Add(std::vector<Finding>& out, int field, const char* message) { out.push_back({field, message}); }

bool MatchesAny(std::initializer_list<const char*> patterns, std::string_view text) {
  for (const char* pattern : patterns) {
    if (jstrwldc(pattern, text, false)) return true;
  }
  return false;
}

}  // namespace

int ContestFamilyOf(const ContestSettings& settings, std::string_view contest) {
  for (int f = 0; f < kFamilyCount; ++f) {
    for (const std::string& pattern : settings.families[f]) {
      if (jstrwldc(pattern, contest, true)) return f;
    }
  }
  return kNoFamily;
}

std::vector<Finding> Inspector::Inspect(int position, const RecordTexts& texts, int32_t keyBefore) {
  Out out;
  if (!Duplicate(position, texts, out)) {
    Time(position, texts, keyBefore, out);
    Callsign(texts, out);
    FrequencyModeReport(texts, out);
    Qth(texts, out);
    Number(texts, out);
    Text(texts, out);
  }
  for (int f = 0; f < kStoredFieldCount; ++f) previous_[f] = texts[f];
  previousPosition_ = position;
  return out;
}

bool Inspector::Duplicate(int position, const RecordTexts& t, Out& out) const {
  if (position != previousPosition_ + 1) return false;
  if (level_ >= 1) {
    bool same = true;
    for (int f = DATE; f <= MyRIG && same; ++f) same = t[f] == previous_[f];
    if (same) {
      Add(out, DATE, "重複記録です");
      return true;
    }
  }
  if (level_ >= 2 && t[DATE] == previous_[DATE] && t[START] == previous_[START] &&
      t[CALLSIGN] == previous_[CALLSIGN] && t[MODE] == previous_[MODE] &&
      BandOf(t[FREQ]) == BandOf(previous_[FREQ])) {
    Add(out, DATE, "重複記録の可能性があります");
    return true;
  }
  return false;
}

void Inspector::Time(int position, const RecordTexts& t, int32_t keyBefore, Out& out) const {
  switch (CheckDate(t[DATE])) {
    case 1:
      Add(out, DATE, "形式が違います");
      break;
    case 2:
      Add(out, DATE, "月が違います");
      break;
    case 3:
      Add(out, DATE, "日が違います");
      break;
    default:
      break;
  }
  for (int field : {START, END}) {
    if (field == END && level_ < 1) break;
    const std::string_view time = t[field];
    if (!FourDigits(time)) {
      Add(out, field, "形式が違います");
    } else if (Hour(time) > 23) {
      Add(out, field, "時が違います");
    } else if (Minute(time) > 59) {
      Add(out, field, "分が違います");
    }
  }
  if (level_ >= 2 && position > 0 && DateTimeKey(t[DATE], t[START]) < keyBefore) {
    Add(out, START, "前レコードより時間が前です");
  }
  if (level_ == 3 && FourDigits(t[START]) && FourDigits(t[END])) {
    const int hS = Hour(t[START]), hE = Hour(t[END]);
    if (t[START] < t[END] && hE - hS > 6) Add(out, END, "極端に長い交信です");
    if (t[START] > t[END] && hE + 24 - hS > 6) Add(out, END, "時刻逆転の可能性があります");
  }
}

void Inspector::Callsign(const RecordTexts& t, Out& out) const {
  const std::string_view call = t[CALLSIGN];
  if (call == "CQ" || call == "EX") return;
  if (call.size() < 3) {
    Add(out, CALLSIGN, "短すぎます");
    return;
  }
  if (compatible_ && call.size() > 15) {
    Add(out, CALLSIGN, "長さ制限を超えます");
  } else if (level_ == 3 && call.size() > 13) {
    Add(out, CALLSIGN, "極端に長いコールサインです");
  }
  bool letter = false, digit = false, wrong = false;
  for (size_t i = 0; i < call.size(); i += CharLength(call, i)) {
    const char c = call[i];
    letter = letter || IsUpper(c);
    digit = digit || IsDigit(c);
    wrong = wrong || (!IsUpper(c) && !IsDigit(c) && c != '/') || CharLength(call, i) == 2;
  }
  if (wrong) Add(out, CALLSIGN, "不正な文字があります");
  if (call.starts_with('/') || call.ends_with('/') || call.find("//") != std::string_view::npos) {
    Add(out, CALLSIGN, "不正な斜線記号です");
  }
  if (!letter) {
    Add(out, CALLSIGN, "英字がありません");
    return;
  }
  if (!digit) {
    Add(out, CALLSIGN, "数字がありません");
    return;
  }
  if (ClassifyJaDx(call) == JaDx::kJA && !MatchesAny({"8@#*", "JA#@@", "JA#@@/*", "J@#@@@", "J@#@@@/*",
                                                      "7@#@@@", "7@#@@@/*", "JR6@@", "JR6@@/*", "JA1TOKYO"},
                                                     call)) {
    Add(out, CALLSIGN, "不正なJAコールサインです");
  }
}

void Inspector::FrequencyModeReport(const RecordTexts& t, Out& out) const {
  const std::string_view freq = t[FREQ];
  const size_t points = static_cast<size_t>(std::count(freq.begin(), freq.end(), '.'));
  if (freq.empty()) {
    Add(out, FREQ, "データがありません");
  } else if (points == 0) {
    Add(out, FREQ, "小数点がありません");
  } else if (points >= 2) {
    Add(out, FREQ, "小数点が多すぎます");
  } else if (BandOf(freq) < 0) {
    Add(out, FREQ, "周波数が違います");
  } else if (level_ == 3 && freq.ends_with('.')) {
    Add(out, FREQ, "詳しい周波数がありません");
  }
  if (t[MODE].empty()) {
    Add(out, MODE, "データがありません");
    return;
  }
  const int mode = ModeOf(t[MODE]);
  if (level_ >= 2 && mode == kModeOther) Add(out, MODE, "モードが違います");
  if (level_ < 1 || !t[CONTEST].empty()) return;
  for (int field : {sRST, rRST}) {
    const std::string_view report = t[field];
    if (report.empty()) continue;
    if (report[0] < '1' || report[0] > '5') {
      Add(out, field, "形式が違います");
      continue;
    }
    size_t count = 1;
    while (count < report.size() && report[count] >= '1' && report[count] <= '9') ++count;
    const bool phone = mode == kModeSSB || mode == kModeFM || mode == kModeAM;
    if ((mode == kModeCW && count != 3) || (phone && count != 2)) Add(out, field, "モードと適合しません");
  }
}

void Inspector::Validity(const vondal::Validity& validity, std::string_view date, int field, Out& out) const {
  if (!validity.HasDates()) return;
  const std::optional<uint16_t> day = DayNumberOfDate(date);
  if (!day) return;
  if (validity.start != kOpenStart && *day < validity.start) Add(out, field, "発足前です");
  if (validity.end != kOpenEnd && *day > validity.end) Add(out, field, "消滅後です");
}

void Inspector::Qth(const RecordTexts& t, Out& out) const {
  const int area = CallArea(t[CALLSIGN]);
  if (level_ < 1 || area < 1 || area > 11 || t[QTH].empty() || !cities_.Loaded()) return;
  // "(" lies below 0x40 and so is never the second byte of a two-byte character.
  const std::string_view place = t[QTH].substr(0, t[QTH].find('('));
  NameMatch match;
  switch (cities_.NumberOfName(place, area == 11 ? 1 : area, match)) {
    case CityResult::kFound:
      Validity(match.validity, t[DATE], QTH, out);
      break;
    case CityResult::kOtherCallArea:
      Add(out, QTH, "エリアが違います");
      break;
    case CityResult::kSeveralCandidates:
      Add(out, QTH, "複数の候補があります");
      break;
    case CityResult::kNotDoubleByte:
      break;
    default:
      Add(out, QTH, "認識できません");
      break;
  }
}

void Inspector::Number(const RecordTexts& t, Out& out) const {
  if (level_ < 2 || t[CONTEST].empty()) return;
  if (t[sRST].empty()) Add(out, sRST, "ナンバーがありません");
  if (t[rRST].empty()) Add(out, rRST, "ナンバーがありません");
  const int area = CallArea(t[CALLSIGN]);
  if (area < 1 || area > 11) return;
  const int family = ContestFamilyOf(settings_, t[CONTEST]);
  if (family == kNoFamily) return;
  const size_t n = static_cast<size_t>(ReportLength(ModeOf(t[MODE])));
  if (t[rRST].size() <= n) {
    // An empty rRST has been reported already.
    if (!t[rRST].empty()) Add(out, rRST, "ナンバーがありません");
    return;
  }
  std::string number(Trim(t[rRST].substr(n)));
  switch (family) {
    case kFamilyJarl:
      switch (ApplyJarlNumberRule(number, t[DATE], t[CALLSIGN])) {
        case JarlNumberFault::kPower:
          Add(out, rRST, "出力が不明です");
          return;
        case JarlNumberFault::kOperator:
          Add(out, rRST, "運用者名がありません");
          return;
        case JarlNumberFault::kUnneeded:
          Add(out, rRST, "不要な文字列があります");
          return;
        case JarlNumberFault::kNone:
          break;
      }
      if (area == 8 && jstrwldc("1##", number, false)) number = "01";
      break;
    case kFamilyP:
      number = area == 8 && jstrwldc("1##*", number, false) ? "01" : std::string(CutAtCharacter(number, 2));
      break;
    case kFamilyV:
      if (area == 8 && jstrwldc("1##", number, false)) number = "01";
      break;
    default: {
      const std::string code(CutAtCharacter(number, 2));
      const int index = KcjIndex(code);
      char text[8];
      std::snprintf(text, sizeof text, "%02d", index);
      number = index >= 2 && index <= 48 ? std::string(text) : index >= 51 ? std::string("01") : code;
      break;
    }
  }
  if (area == 11 && number == "48") number = "10007";
  vondal::Validity validity;
  switch (cities_.ValidityByNumber(number, validity)) {
    case CityResult::kFound:
      Validity(validity, t[DATE], rRST, out);
      break;
    case CityResult::kNotNumberForm:
      Add(out, rRST, "形式が違います");
      break;
    case CityResult::kNotLoaded:
      break;
    default:
      Add(out, rRST, "番号が違います");
      break;
  }
}

void Inspector::Text(const RecordTexts& t, Out& out) const {
  for (int f = 0; f < kStoredFieldCount; ++f) {
    const std::string_view text = t[f];
    if (level_ >= 2) {
      for (size_t i = 0; i < text.size(); i += CharLength(text, i)) {
        const char c = text[i];
        if (c != '(' && c != '[' && c != '{' && c != '"' && static_cast<unsigned char>(c) != 0xA2) continue;
        if (FindMatchingBracket(text, i) == kNoPartner) {
          Add(out, f, c == '"' ? "引用符が閉じていません" : "括弧が閉じていません");
          break;
        }
      }
    }
    if (level_ == 3) {
      if (MatchesAny({" *", "　*", "* ", "*　", "*  *", "*　　*", "* 　*", "*　 *"}, text)) {
        Add(out, f, "不要な空白文字があります");
      }
      if (MatchesAny({";*", "*;", "*;;*", ",*", "*,", "*,,*"}, text)) Add(out, f, "不要な区切文字があります");
    }
  }
}

}  // namespace vondal

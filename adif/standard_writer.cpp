#include "adif/standard_writer.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>

#include "adif/adif_bands.h"
#include "adif/adif_modes.h"
#include "app/text/charset.h"
#include "app/text/copy_bytes.h"
#include "app/text/sjis.h"
#include "app/text/text_helpers.h"
#include "app/text/version.h"
#include "log/date_time.h"
#include "log/field_table.h"

namespace vondal {
namespace {

constexpr char kAdifVersion[] = "3.1.4";

// ADIF's String and MultilineString hold the printable ASCII characters (a log text never holds
// a line end).
bool IsAdifAscii(std::string_view text) { return IsPrintableAscii(text); }

int Two(std::string_view text, size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); }

char* PutTwo(char* to, int value) {
  to[0] = static_cast<char>('0' + value / 10);
  to[1] = static_cast<char>('0' + value % 10);
  return to + 2;
}

// HHMM with an hour 00-23 and a minute 00-59.
bool IsTime(std::string_view text) {
  return text.size() == 4 && AllAsciiDigits(text) && Two(text, 0) < 24 && Two(text, 2) < 60;
}

// "<TAG:" of an item, kept in 24 bytes (the longest tag is APP_Vondal_CALLSIGN).
using Opening = ItemOpening<24>;
constexpr Opening Open(std::string_view tag) { return OpeningOf<24>(tag); }

constexpr Opening kQsoDate = Open("QSO_DATE"), kTimeOn = Open("TIME_ON"), kTimeOff = Open("TIME_OFF"),
                  kCall = Open("CALL"), kFreq = Open("FREQ"), kBand = Open("BAND"), kMode = Open("MODE"),
                  kSubmode = Open("SUBMODE"), kRstSent = Open("RST_SENT"), kRstRcvd = Open("RST_RCVD"),
                  kStxString = Open("STX_STRING"), kSrxString = Open("SRX_STRING"),
                  kContestId = Open("CONTEST_ID"), kQth = Open("QTH"), kQthIntl = Open("QTH_INTL"),
                  kName = Open("NAME"), kNameIntl = Open("NAME_INTL"), kRig = Open("RIG"),
                  kRigIntl = Open("RIG_INTL"), kComment = Open("COMMENT"),
                  kCommentIntl = Open("COMMENT_INTL"), kMyCity = Open("MY_CITY"),
                  kMyCityIntl = Open("MY_CITY_INTL"), kMyRig = Open("MY_RIG"),
                  kMyRigIntl = Open("MY_RIG_INTL"), kQslSent = Open("QSL_SENT"), kQslRcvd = Open("QSL_RCVD");

// The APP_ tags that keep a field's own text: "APP_Vondal_" and the field's name.
constexpr std::array<Opening, kStoredFieldCount> kAppOpenings = {
    Open("APP_Vondal_DATE"),     Open("APP_Vondal_START"), Open("APP_Vondal_END"),
    Open("APP_Vondal_CALLSIGN"), Open("APP_Vondal_FREQ"),  Open("APP_Vondal_MODE"),
    Open("APP_Vondal_sRST"),     Open("APP_Vondal_rRST"),  Open("APP_Vondal_QTH"),
    Open("APP_Vondal_NAME"),     Open("APP_Vondal_RIG"),   Open("APP_Vondal_CONTEST"),
    Open("APP_Vondal_REMARKS"),  Open("APP_Vondal_MyQTH"), Open("APP_Vondal_MyRIG"),
    Open("APP_Vondal_sQSL"),     Open("APP_Vondal_rQSL"),
};

// Items "<TAG:length>value" separated by blanks, gathered in a buffer that goes to `out` a
// record at a time.
class Items {
 public:
  explicit Items(std::string& out) : out_(out) {}
  ~Items() { Flush(); }

  void Add(const Opening& opening, std::string_view value) {
    const size_t n = value.size();
    if (n == 0) return;
    if (used_ + sizeof opening.text + n + 24 > sizeof buffer_) Flush();
    if (n >= 1000) {  // longer than any text of a record: spelt out straight to `out`
      ((((out_ += std::string_view(opening.text, opening.size)) += std::to_string(n)) += '>') += value) +=
          ' ';
      return;
    }
    char* p = buffer_ + used_;
    std::memcpy(p, opening.text, sizeof opening.text);
    p += opening.size;
    if (n >= 100) *p++ = static_cast<char>('0' + n / 100);
    if (n >= 10) *p++ = static_cast<char>('0' + n / 10 % 10);
    *p++ = static_cast<char>('0' + n % 10);
    *p++ = '>';
    p = CopyBytes(p, value);
    *p++ = ' ';
    used_ = static_cast<size_t>(p - buffer_);
  }

  // A CP932 text in UTF-8.
  void AddUtf8(const Opening& opening, std::string_view cp932) {
    if (cp932.size() > kLongestText) {
      std::string utf8 = Cp932ToUtf8(cp932);
      Add(opening, utf8);
      return;
    }
    char utf8[3 * kLongestText];
    Add(opening, std::string_view(utf8, static_cast<size_t>(Cp932ToUtf8At(utf8, cp932) - utf8)));
  }

  void End() {
    if (used_ > 0) --used_;  // the blank behind the last item
    if (used_ + 7 > sizeof buffer_) Flush();
    std::memcpy(buffer_ + used_, "<EOR>\r\n", 7);
    used_ += 7;
  }

 private:
  static constexpr size_t kLongestText = 256;  // no stored field holds more

  void Flush() {
    out_.append(buffer_, used_);
    used_ = 0;
  }

  std::string& out_;
  char buffer_[2048];
  size_t used_ = 0;
};

// The fields of a record as the standard form writes them.
class RecordItems {
 public:
  RecordItems(std::string& out, const RecordTexts& texts, StandardAdifCounts& counts)
      : items_(out), texts_(texts), counts_(counts) {}

  Items& items() { return items_; }

  // The field's own text under its APP_ tag.
  void Keep(int field) { items_.AddUtf8(kAppOpenings[field], texts_[field]); }

  // A field whose text no standard field holds: kept under its APP_ tag, and counted.
  void KeepOnly(int field) {
    if (texts_[field].empty()) return;
    Keep(field);
    ++counts_.appOnly;
  }

  // A field of ADIF's ASCII-only kind without an _INTL counterpart.
  void Ascii(int field, const Opening& opening) {
    if (IsAdifAscii(texts_[field])) {
      items_.Add(opening, texts_[field]);
    } else {
      KeepOnly(field);
    }
  }

  // A field with an _INTL counterpart: ASCII in the field itself, anything else in UTF-8 in the
  // counterpart alone.
  void Text(int field, const Opening& opening, const Opening& intl) {
    const std::string_view text = texts_[field];
    if (IsAdifAscii(text)) {
      items_.Add(opening, text);
    } else {
      items_.AddUtf8(intl, text);
    }
  }

  // A QSL mark as an enumeration value: a mark that is one of `letters` (either case) stands for
  // itself, any other mark for Y (the card went out, or came in, by the way the mark names).
  void Qsl(int field, const Opening& opening, std::string_view letters) {
    const std::string_view mark = texts_[field];
    if (mark.empty()) return;
    char value = 'Y';
    if (mark.size() == 1) {
      const char upper = AsciiUpper(mark[0]);
      if (letters.find(upper) != std::string_view::npos) value = upper;
    }
    items_.Add(opening, std::string_view(&value, 1));
    // The join reads Y, R, Q and V back as marks, N and I as no mark at all.
    if (mark.size() != 1 || mark[0] != value || value == 'N' || value == 'I') Keep(field);
  }

 private:
  Items items_;
  const RecordTexts& texts_;
  StandardAdifCounts& counts_;
};

// The mode the join reads back from MODE and SUBMODE: the submode, except SSB's side bands and a
// letter behind the mode's name (JT65A), which say no more than the mode.
std::string_view ModeReadBack(const AdifMode& mode) {
  const bool letterBehind =
      mode.submode.size() == mode.mode.size() + 1 && mode.submode.starts_with(mode.mode);
  return mode.submode.empty() || mode.mode == "SSB" || letterBehind ? mode.mode : mode.submode;
}

// A FREQ text as ADIF's Number: its short form expanded, a "." that ends it dropped and one that
// begins it given a 0 ("10." is 10.100, "1200." 1260, ".5" 0.5), and its value in Hz. Empty when
// it is no number.
std::string_view FrequencyText(std::string_view freq, std::string& room, int64_t& hz) {
  std::string_view text = ExpandShortForm(freq);
  if (!text.empty() && text.back() == '.') text.remove_suffix(1);
  hz = FrequencyHz(text);
  if (hz < 0) return {};
  if (text.front() == '.') {
    room = "0";
    room += text;
    text = room;
  }
  return text;
}

}  // namespace

std::string AdifTimestamp(int64_t unixSeconds) {
  const std::time_t t = static_cast<std::time_t>(unixSeconds);
  std::tm utc{};
  gmtime_r(&t, &utc);
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02d %02d%02d%02d", utc.tm_year + 1900, utc.tm_mon + 1,
                utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
  return text;
}

std::string StandardAdifHeader(std::string_view created) {
  std::string header =
      std::string("Vondal ") + kProgramVersion + " ADIF " + kAdifVersion + ", times in UTC\r\n";
  const auto line = [&header](std::string_view tag, std::string_view value) {
    ((((header += '<') += tag) += ':') += std::to_string(value.size())) += '>';
    (header += value) += "\r\n";
  };
  line("ADIF_VER", kAdifVersion);
  line("PROGRAMID", "Vondal");
  line("PROGRAMVERSION", kProgramVersion);
  line("CREATED_TIMESTAMP", created);
  return header + "<EOH>\r\n";
}

void StandardAdifWriter::AppendRecord(std::string& out, const RecordTexts& texts) {
  ++counts_.records;
  RecordItems record(out, texts, counts_);
  Items& items = record.items();

  // QSO_DATE and TIME_ON from DATE and START, in UTC; both need a real date and time.
  const std::string_view date = texts[DATE], start = texts[START];
  if (date.size() == 6 && CheckDate(date) == 0 && IsTime(start)) {
    int year = FullYear(Two(date, 0)), month = Two(date, 2), day = Two(date, 4), hour = Two(start, 0);
    if (!logInUtc_ && (hour -= 9) < 0) {
      hour += 24;
      if (--day < 1) {
        if (--month < 1) {
          month = 12;
          --year;
        }
        day = DaysInMonth(year, month);
      }
    }
    char qsoDate[8], timeOn[4];
    PutTwo(PutTwo(PutTwo(PutTwo(qsoDate, year / 100), year % 100), month), day);
    PutTwo(PutTwo(timeOn, hour), Two(start, 2));
    items.Add(kQsoDate, std::string_view(qsoDate, 8));
    items.Add(kTimeOn, std::string_view(timeOn, 4));
  } else {
    record.KeepOnly(DATE);
    record.KeepOnly(START);
  }
  if (IsTime(texts[END])) {
    int hour = Two(texts[END], 0);
    if (!logInUtc_ && (hour -= 9) < 0) hour += 24;
    char timeOff[4];
    PutTwo(PutTwo(timeOff, hour), Two(texts[END], 2));
    items.Add(kTimeOff, std::string_view(timeOff, 4));
  } else {
    record.KeepOnly(END);
  }

  record.Ascii(CALLSIGN, kCall);

  // FREQ in MHz and the band that holds it.
  std::string room;
  int64_t hz = 0;
  const std::string_view freq = FrequencyText(texts[FREQ], room, hz);
  if (!freq.empty()) {
    items.Add(kFreq, freq);
    if (freq != texts[FREQ]) record.Keep(FREQ);
    items.Add(kBand, AdifBandName(AdifBandOfHz(hz)));
  } else {
    record.KeepOnly(FREQ);
  }

  // MODE and SUBMODE; a text that reads back otherwise (in other letters) is kept too. Logs
  // repeat a few modes: the last one's answer is kept.
  if (texts[MODE] != lastModeText_) {
    lastModeText_.assign(texts[MODE]);
    lastMode_ = AdifModeOf(texts[MODE]);
    lastModeKept_ = lastMode_ && ModeReadBack(*lastMode_) != texts[MODE];
    lastPhone_ = lastMode_ && (lastMode_->mode == "SSB" || lastMode_->mode == "FM" ||
                               lastMode_->mode == "AM" || lastMode_->mode == "DIGITALVOICE");
  }
  const std::optional<AdifMode>& mode = lastMode_;
  if (mode) {
    items.Add(kMode, mode->mode);
    items.Add(kSubmode, mode->submode);
    if (lastModeKept_) record.Keep(MODE);
  } else if (!texts[MODE].empty()) {
    record.Keep(MODE);
    ++counts_.unknownModes;
  }

  // Reports; in a contest the exchange behind the report's digits (two in phone, three
  // otherwise) goes to STX_STRING and SRX_STRING.
  const bool contest = !texts[CONTEST].empty() && IsAdifAscii(texts[CONTEST]);
  const size_t digits = lastPhone_ ? 2 : 3;
  std::string_view exchange[2];
  for (int k = 0; k < 2; ++k) {
    const int field = k == 0 ? sRST : rRST;
    std::string_view report = texts[field];
    if (!IsAdifAscii(report)) {
      record.KeepOnly(field);
      continue;
    }
    if (contest && report.size() > digits && AllAsciiDigits(report.substr(0, digits))) {
      exchange[k] = report.substr(digits);
      report = report.substr(0, digits);
    }
    items.Add(k == 0 ? kRstSent : kRstRcvd, report);
  }
  items.Add(kStxString, exchange[0]);
  items.Add(kSrxString, exchange[1]);
  record.Ascii(CONTEST, kContestId);

  record.Text(QTH, kQth, kQthIntl);
  record.Text(NAME, kName, kNameIntl);
  record.Text(RIG, kRig, kRigIntl);
  record.Text(REMARKS, kComment, kCommentIntl);
  record.Text(MyQTH, kMyCity, kMyCityIntl);
  record.Text(MyRIG, kMyRig, kMyRigIntl);
  record.Qsl(sQSL, kQslSent, "YNRQI");
  record.Qsl(rQSL, kQslRcvd, "YNRIV");
  items.End();
}

}  // namespace vondal

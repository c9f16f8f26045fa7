#include "adif/standard_writer.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>

#include "adif/adif_enumerations.h"
#include "app/text/charset.h"
#include "app/text/text_helpers.h"
#include "app/text/version.h"
#include "log/date_time.h"
#include "log/field_table.h"

namespace vondal {
namespace {

constexpr char kAdifVersion[] = "3.1.4";

// ADIF's String and MultilineString hold the printable ASCII characters (a log text never holds
// a line end).
bool IsAdifAscii(std::string_view text) {
  for (char c : text) {
    if (c < 0x20 || c > 0x7E) return false;
  }
  return true;
}

bool AllDigits(std::string_view text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

int Two(std::string_view text, size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); }

char* PutTwo(char* to, int value) {
  to[0] = static_cast<char>('0' + value / 10);
  to[1] = static_cast<char>('0' + value % 10);
  return to + 2;
}

// HHMM with an hour 00-23 and a minute 00-59.
bool IsTime(std::string_view text) {
  return text.size() == 4 && AllDigits(text) && Two(text, 0) < 24 && Two(text, 2) < 60;
}

// The APP_ tag that keeps a field's own text: "APP_Vondal_" and the field's name.
const std::array<std::string, kStoredFieldCount>& AppTags() {
  static const std::array<std::string, kStoredFieldCount> tags = [] {
    std::array<std::string, kStoredFieldCount> t;
    for (int i = 0; i < kStoredFieldCount; ++i)
      t[i] = std::string("APP_Vondal_") + DefaultFieldTable()[i].name;
    return t;
  }();
  return tags;
}

// Items "<TAG:length>value" separated by blanks, gathered in a buffer that goes to `out` a
// record at a time.
class Items {
 public:
  explicit Items(std::string& out) : out_(out) {}
  ~Items() { Flush(); }

  void Add(std::string_view tag, std::string_view value) {
    if (value.empty()) return;
    const size_t need = tag.size() + value.size() + 26;
    if (used_ + need > sizeof buffer_) Flush();
    if (need > sizeof buffer_) {  // longer than any record's text: straight to `out`
      out_ += '<';
      out_ += tag;
      out_ += ':';
      out_ += std::to_string(value.size());
      out_ += '>';
      out_ += value;
      out_ += ' ';
      return;
    }
    char* p = buffer_ + used_;
    *p++ = '<';
    std::memcpy(p, tag.data(), tag.size());
    p += tag.size();
    *p++ = ':';
    char digits[20];
    size_t count = 0;
    for (size_t rest = value.size(); rest > 0; rest /= 10)
      digits[count++] = static_cast<char>('0' + rest % 10);
    while (count > 0) *p++ = digits[--count];
    *p++ = '>';
    std::memcpy(p, value.data(), value.size());
    p += value.size();
    *p++ = ' ';
    used_ = static_cast<size_t>(p - buffer_);
  }

  void End() {
    if (used_ > 0) --used_;  // the blank behind the last item
    if (used_ + 7 > sizeof buffer_) Flush();
    std::memcpy(buffer_ + used_, "<EOR>\r\n", 7);
    used_ += 7;
  }

 private:
  void Flush() {
    out_.append(buffer_, used_);
    used_ = 0;
  }

  std::string& out_;
  char buffer_[1536];
  size_t used_ = 0;
};

// The fields of a record as the standard form writes them.
class RecordItems {
 public:
  RecordItems(std::string& out, const RecordTexts& texts, std::string& utf8, StandardAdifCounts& counts)
      : items_(out), texts_(texts), utf8_(utf8), counts_(counts) {}

  Items& items() { return items_; }

  // A CP932 text under `tag`, in UTF-8.
  void AddUtf8(std::string_view tag, std::string_view cp932) {
    utf8_.clear();
    AppendCp932AsUtf8(utf8_, cp932);
    items_.Add(tag, utf8_);
  }

  // The field's own text under its APP_ tag.
  void Keep(int field) { AddUtf8(AppTags()[field], texts_[field]); }

  // A field whose text no standard field holds: kept under its APP_ tag, and counted.
  void KeepOnly(int field) {
    if (texts_[field].empty()) return;
    Keep(field);
    ++counts_.appOnly;
  }

  // A field of ADIF's ASCII-only kind without an _INTL counterpart.
  void Ascii(int field, std::string_view tag) {
    if (IsAdifAscii(texts_[field])) {
      items_.Add(tag, texts_[field]);
    } else {
      KeepOnly(field);
    }
  }

  // A field with an _INTL counterpart: ASCII in the field itself, anything else in UTF-8 in the
  // counterpart alone.
  void Text(int field, std::string_view tag, std::string_view intlTag) {
    const std::string_view text = texts_[field];
    if (IsAdifAscii(text)) {
      items_.Add(tag, text);
    } else {
      AddUtf8(intlTag, text);
    }
  }

  // A QSL mark as an enumeration value: a mark that is one of `letters` (either case) stands for
  // itself, any other mark for Y (the card went out, or came in, by the way the mark names).
  void Qsl(int field, std::string_view tag, std::string_view letters) {
    const std::string_view mark = texts_[field];
    if (mark.empty()) return;
    char value = 'Y';
    if (mark.size() == 1) {
      const char upper = mark[0] >= 'a' && mark[0] <= 'z' ? static_cast<char>(mark[0] - 'a' + 'A') : mark[0];
      if (letters.find(upper) != std::string_view::npos) value = upper;
    }
    items_.Add(tag, std::string_view(&value, 1));
    if (mark != std::string_view(&value, 1)) Keep(field);
  }

 private:
  Items items_;
  const RecordTexts& texts_;
  std::string& utf8_;
  StandardAdifCounts& counts_;
};

// A FREQ text as ADIF's Number: its short form expanded, a "." that ends it dropped and one that
// begins it given a 0 ("10." is 10.100, "1200." 1260, ".5" 0.5). Empty when it is no number.
std::string_view FrequencyText(std::string_view freq, std::string& room) {
  std::string_view text = ExpandShortForm(freq);
  if (!text.empty() && text.back() == '.') text.remove_suffix(1);
  if (!text.empty() && text.front() == '.') {
    room = "0";
    room += text;
    text = room;
  }
  if (!AdifNumberToHz(text)) return {};
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
  RecordItems record(out, texts, utf8_, counts_);
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
    items.Add("QSO_DATE", std::string_view(qsoDate, 8));
    items.Add("TIME_ON", std::string_view(timeOn, 4));
  } else {
    record.KeepOnly(DATE);
    record.KeepOnly(START);
  }
  if (IsTime(texts[END])) {
    int hour = Two(texts[END], 0);
    if (!logInUtc_ && (hour -= 9) < 0) hour += 24;
    char timeOff[4];
    PutTwo(PutTwo(timeOff, hour), Two(texts[END], 2));
    items.Add("TIME_OFF", std::string_view(timeOff, 4));
  } else {
    record.KeepOnly(END);
  }

  record.Ascii(CALLSIGN, "CALL");

  // FREQ in MHz and the band that holds it.
  std::string room;
  const std::string_view freq = FrequencyText(texts[FREQ], room);
  if (!freq.empty()) {
    items.Add("FREQ", freq);
    if (freq != texts[FREQ]) record.Keep(FREQ);
    items.Add("BAND", AdifBandOfHz(*AdifNumberToHz(freq)));
  } else {
    record.KeepOnly(FREQ);
  }

  // MODE and SUBMODE; a text that reads back otherwise (in other letters) is kept too.
  const std::optional<AdifMode> mode = AdifModeOf(texts[MODE]);
  if (mode) {
    items.Add("MODE", mode->mode);
    items.Add("SUBMODE", mode->submode);
    if ((mode->submode.empty() ? mode->mode : mode->submode) != texts[MODE]) record.Keep(MODE);
  } else if (!texts[MODE].empty()) {
    record.Keep(MODE);
    ++counts_.unknownModes;
  }

  // Reports; in a contest the exchange behind the report's digits (two in phone, three
  // otherwise) goes to STX_STRING and SRX_STRING.
  const bool contest = !texts[CONTEST].empty() && IsAdifAscii(texts[CONTEST]);
  const bool phone = mode && (mode->mode == "SSB" || mode->mode == "FM" || mode->mode == "AM" ||
                              mode->mode == "DIGITALVOICE");
  const size_t digits = phone ? 2 : 3;
  std::string_view exchange[2];
  for (int k = 0; k < 2; ++k) {
    const int field = k == 0 ? sRST : rRST;
    std::string_view report = texts[field];
    if (!IsAdifAscii(report)) {
      record.KeepOnly(field);
      continue;
    }
    if (contest && report.size() > digits && AllDigits(report.substr(0, digits))) {
      exchange[k] = report.substr(digits);
      report = report.substr(0, digits);
    }
    items.Add(k == 0 ? "RST_SENT" : "RST_RCVD", report);
  }
  items.Add("STX_STRING", exchange[0]);
  items.Add("SRX_STRING", exchange[1]);
  record.Ascii(CONTEST, "CONTEST_ID");

  record.Text(QTH, "QTH", "QTH_INTL");
  record.Text(NAME, "NAME", "NAME_INTL");
  record.Text(RIG, "RIG", "RIG_INTL");
  record.Text(REMARKS, "COMMENT", "COMMENT_INTL");
  record.Text(MyQTH, "MY_CITY", "MY_CITY_INTL");
  record.Text(MyRIG, "MY_RIG", "MY_RIG_INTL");
  record.Qsl(sQSL, "QSL_SENT", "YNRQI");
  record.Qsl(rQSL, "QSL_RCVD", "YNRIV");
  items.End();
}

}  // namespace vondal

#include "output/export_format.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "app/text/copy_bytes.h"
#include "app/text/version.h"
#include "log/field_table.h"
#include "log/log_format.h"
#include "output/band_table.h"

namespace vondal {
namespace {

constexpr std::string_view kAdifTags[kStoredFieldCount] = {
    "QSO_DATE", "TIME_ON", "TIME_OFF",   "CALL",    "FREQ",    "MODE",   "RST_SENT", "RST_RCVD", "QTH",
    "NAME",     "RIG",     "CONTEST_ID", "COMMENT", "MY_CITY", "MY_RIG", "QSL_S",    "QSL_R",
};

// "<TAG:" of an item with a tag of at most 14 characters, kept in 16 bytes.
using Opening = ItemOpening<16>;

constexpr std::array<Opening, kStoredFieldCount> kFieldOpenings = [] {
  std::array<Opening, kStoredFieldCount> openings;
  for (int i = 0; i < kStoredFieldCount; ++i) openings[i] = OpeningOf<16>(kAdifTags[i]);
  return openings;
}();
constexpr Opening kBandOpening = OpeningOf<16>("BAND");
constexpr Opening kStxOpening = OpeningOf<16>("STX_STRING");
constexpr Opening kSrxOpening = OpeningOf<16>("SRX_STRING");

bool AllDigits(std::string_view text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

int Two(std::string_view text, size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); }

void AppendTwoDigits(std::string& out, int value) {
  out += static_cast<char>('0' + value / 10 % 10);
  out += static_cast<char>('0' + value % 10);
}

// The texts as the outputs write them: views of the record's texts, DATE, START and END
// converted (into the object's own strings) when asked.
class OutputTexts {
 public:
  OutputTexts(const RecordTexts& texts, bool jstToUtc) {
    for (int i = 0; i < kStoredFieldCount; ++i) views_[i] = texts[i];
    if (jstToUtc) {
      date_ = texts[DATE];
      start_ = texts[START];
      end_ = texts[END];
      JstToUtc(date_, start_, end_);
      views_[DATE] = date_;
      views_[START] = start_;
      views_[END] = end_;
    }
  }
  std::string_view operator[](int field) const { return views_[field]; }
  void Set(int field, std::string_view text) { views_[field] = text; }

 private:
  std::array<std::string_view, kStoredFieldCount> views_;
  std::string date_, start_, end_;
};

// Items appended to `out`, wrapped before an item that would pass column 80.
class AdifItems {
 public:
  explicit AdifItems(std::string& out) : out_(out) {}
  ~AdifItems() { Flush(); }
  void Add(std::string_view tag, std::string_view value) {
    if (!value.empty()) AddItem(tag, value);
  }
  void Add(const Opening& opening, std::string_view value) {
    if (!value.empty()) AddItem(opening, value);
  }
  // An item of a fixed tag: the same item as AddItem(tag, value) writes, the common case of a
  // value under 100 bytes that fits the buffer written without a loop or a call.
  void AddItem(const Opening& opening, std::string_view value) {
    const size_t n = value.size();
    if (n >= 100 || used_ + opening.size + n + 16 + 6 > sizeof buffer_) {
      AddItem(opening.Tag(), value);
      return;
    }
    const size_t size = n + opening.size + 2;
    const bool wrap = running_ != 0 && running_ + size > 80;
    running_ = wrap ? size : running_ + size;
    char* p = buffer_ + used_;
    if (wrap) {
      *p++ = '\r';
      *p++ = '\n';
    }
    std::memcpy(p, opening.text, sizeof opening.text);
    p += opening.size;
    if (n >= 10) *p++ = static_cast<char>('0' + n / 10);
    *p++ = static_cast<char>('0' + n % 10);
    *p++ = '>';
    p = CopyBytes(p, value);
    *p++ = ' ';
    used_ = static_cast<size_t>(p - buffer_);
  }
  void AddItem(std::string_view tag, std::string_view value) {
    const size_t size = value.size() + tag.size() + 4;
    const bool wrap = running_ != 0 && running_ + size > 80;
    running_ = wrap ? size : running_ + size;
    // "<TAG:n>value " gathered in the buffer, which goes to `out` a record at a time.
    char digits[24];
    size_t digitCount = 0;
    if (value.size() < 100) {  // nearly every text
      digits[sizeof digits - 1] = static_cast<char>('0' + value.size() % 10);
      digits[sizeof digits - 2] = static_cast<char>('0' + value.size() / 10);
      digitCount = value.size() < 10 ? 1 : 2;
    } else {
      for (size_t rest = value.size(); rest > 0; rest /= 10) {
        digits[sizeof digits - ++digitCount] = static_cast<char>('0' + rest % 10);
      }
    }
    const size_t need = tag.size() + digitCount + value.size() + 6;
    if (used_ + need > sizeof buffer_) Flush();
    if (need > sizeof buffer_) {  // a tag or value longer than any field holds: never split
      if (wrap) out_ += "\r\n";
      ((((out_ += '<') += tag) += ':') +=
       std::string_view(digits + sizeof digits - digitCount, digitCount)) += '>';
      (out_ += value) += ' ';
      return;
    }
    char* p = buffer_ + used_;
    if (wrap) {
      *p++ = '\r';
      *p++ = '\n';
    }
    *p++ = '<';
    p = CopyBytes(p, tag);
    *p++ = ':';
    p = CopyBytes(p, std::string_view(digits + sizeof digits - digitCount, digitCount));
    *p++ = '>';
    p = CopyBytes(p, value);
    *p++ = ' ';
    used_ = static_cast<size_t>(p - buffer_);
  }
  void Finish() {
    if (used_ + 7 > sizeof buffer_) Flush();
    std::memcpy(buffer_ + used_, "<EOR>\r\n", 7);
    used_ += 7;
    Flush();
  }

 private:
  void Flush() {
    out_.append(buffer_, used_);
    used_ = 0;
  }

  std::string& out_;
  size_t running_ = 0;
  char buffer_[2048];
  size_t used_ = 0;
};

}  // namespace

void JstToUtc(std::string& date, std::string& start, std::string& end) {
  if (date.size() == 6 && AllDigits(date) && start.size() == 4 && AllDigits(start)) {
    int yy = Two(date, 0), mm = Two(date, 2), dd = Two(date, 4);
    int hour = Two(start, 0) - 9;
    if (hour < 0) {
      hour += 24;
      if (--dd < 1) {
        if (--mm < 1) {
          mm = 12;
          yy = yy == 0 ? 99 : yy - 1;
        }
        static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        dd = mm == 2 && yy % 4 == 0 ? 29 : kDays[mm - 1];
      }
    }
    date.clear();
    AppendTwoDigits(date, yy);
    AppendTwoDigits(date, mm);
    AppendTwoDigits(date, dd);
    start[0] = static_cast<char>('0' + hour / 10);
    start[1] = static_cast<char>('0' + hour % 10);
  }
  if (end.size() == 4 && AllDigits(end)) {
    int hour = Two(end, 0) - 9;
    if (hour < 0) hour += 24;
    end[0] = static_cast<char>('0' + hour / 10);
    end[1] = static_cast<char>('0' + hour % 10);
  }
}

void AppendPackedLine(std::string& out, const RecordTexts& texts, bool high,
                      std::array<std::string, kStoredFieldCount>& previous, bool first) {
  const size_t begin = out.size();
  std::string& line = out;
  size_t lastText = begin;  // where the line ends behind the last field that is not an empty text
  for (int i = 0; i < kStoredFieldCount; ++i) {
    if (high && !first && texts[i] == previous[i]) {
      line += kForbidden;  // 0x1F: as in the line before
      lastText = line.size();
      continue;
    }
    if (high) previous[i].assign(texts[i]);
    line += texts[i];
    line += kSeparator;
    if (!texts[i].empty()) lastText = line.size();
  }
  if (high) line.resize(lastText);
  if (line.size() - begin == 199) line.pop_back();  // the line with its CR LF fits a log's 200 bytes
  line += "\r\n";
}

std::string CsvHeader(const FieldSelection& selection, const CsvOptions& options) {
  std::string line;
  const char* quote = options.quotes ? "\"" : "";
  for (size_t i = 0; i < selection.fields.size(); ++i) {
    if (i > 0) line += options.delimiter;
    const SelectedField& entry = selection.fields[i];
    line += quote + std::string(DefaultFieldTable()[entry.field].name);
    if (!entry.subfield.empty()) line += "." + entry.subfield;
    line += quote;
  }
  return line + "\r\n";
}

void AppendCsvLine(std::string& line, const RecordTexts& texts, const FieldSelection& selection,
                   const CsvOptions& options) {
  const OutputTexts copy(texts, options.jstToUtc);
  const std::string_view quote = options.quotes ? "\"" : "";
  for (size_t i = 0; i < selection.fields.size(); ++i) {
    if (i > 0) line += options.delimiter;
    const SelectedField& entry = selection.fields[i];
    const std::string_view value = copy[entry.field];
    line += quote;
    if (entry.subfield.empty()) {
      line += value;
    } else {
      line += ExtractSubfield(options.outer, OpeningOfSubfield(entry.subfield), value);
    }
    line += quote;
  }
  line += "\r\n";
}

bool CsvLineIsStoredTexts(const FieldSelection& selection, const CsvOptions& options) {
  if (options.quotes || options.jstToUtc || options.delimiter.size() != 1) return false;
  if (selection.fields.size() != kStoredFieldCount) return false;
  for (int i = 0; i < kStoredFieldCount; ++i) {
    if (selection.fields[i].field != i || !selection.fields[i].subfield.empty()) return false;
  }
  return true;
}

bool AppendStoredTextsLine(std::string& out, const char* image, const RecordTexts& texts, char delimiter) {
  // The texts were split from a copy of the image at the same offsets.
  const std::string_view last = texts[kStoredFieldCount - 1];
  const size_t end = static_cast<size_t>(last.data() + last.size() - texts[0].data());
  if (end > kTextArea) return false;
  const size_t begin = out.size();
  out.resize(begin + end + 2);
  char* line = out.data() + begin;
  for (size_t i = 0; i < end; ++i) line[i] = image[i] == kSeparator ? delimiter : image[i];
  line[end] = '\r';
  line[end + 1] = '\n';
  return true;
}

std::string AdifHeader(bool utcTimes) {
  return std::string("ADIF Export from Vondal ") + kProgramVersion + (utcTimes ? " (UTC)" : " (JST)") +
         "\r\n" + "<PROGRAMID:6>Vondal\r\n" + "<PROGRAMVERSION:7>" + kProgramVersion + "\r\n" +
         "<USERDEF1:5>QSL_S    Vondal's {sQSL} field\r\n" + "<USERDEF2:5>QSL_R    Vondal's {rQSL} field\r\n" +
         "<EOH>\r\n";
}

void AppendAdifRecord(std::string& out, const RecordTexts& texts, const FieldSelection& selection,
                      std::string_view outer, bool jstToUtc) {
  OutputTexts copy(texts, jstToUtc);
  // QSO_DATE in four-digit years.
  std::string qsoDate;
  if (copy[DATE].size() >= 2 && AllDigits(copy[DATE].substr(0, 2))) {
    const int yy = Two(copy[DATE], 0);
    qsoDate = yy < 50 ? "20" : "19";
    qsoDate += copy[DATE];
    copy.Set(DATE, qsoDate);
  }
  // Reports, and the exchange behind them in a contest.
  const size_t length = static_cast<size_t>(ReportLength(ModeOf(copy[MODE])));
  std::string_view exchange[2];
  for (int k = 0; k < 2; ++k) {
    const int field = k == 0 ? sRST : rRST;
    const std::string_view rst = copy[field];
    if (rst.size() < length || !AllDigits(rst.substr(0, length))) {  // "##*" or "###*"
      copy.Set(field, {});
    } else if (!copy[CONTEST].empty()) {
      exchange[k] = rst.substr(length);
      copy.Set(field, rst.substr(0, length));
    }
  }
  AdifItems items(out);
  bool written[kStoredFieldCount] = {};
  for (const SelectedField& entry : selection.fields) {
    if (entry.subfield.empty()) {
      items.Add(kFieldOpenings[entry.field], copy[entry.field]);
      written[entry.field] = true;
    } else {
      const std::string opening = OpeningOfSubfield(entry.subfield);
      const std::string tag =
          std::string("APP_Vondal_") + DefaultFieldTable()[entry.field].name + "." + entry.subfield;
      items.Add(tag, ExtractSubfield(outer, opening, copy[entry.field]));
    }
  }
  for (int field = DATE; field <= CONTEST; ++field) {
    if (!written[field]) items.Add(kFieldOpenings[field], copy[field]);
  }
  const int band = BandOf(copy[FREQ]);
  if (band >= 0) items.Add(kBandOpening, BandWavelength(band));  // a frequency in no band has no BAND
  items.Add(kStxOpening, exchange[0]);
  items.Add(kSrxOpening, exchange[1]);
  items.Finish();
}

}  // namespace vondal

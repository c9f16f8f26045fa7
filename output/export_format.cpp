#include "output/export_format.h"

#include <cstdio>

#include "app/text/version.h"
#include "app/text/wildcard.h"
#include "log/field_table.h"
#include "log/log_format.h"
#include "output/band_table.h"

namespace vondal {
namespace {

constexpr const char* kAdifTags[kStoredFieldCount] = {
    "QSO_DATE", "TIME_ON", "TIME_OFF", "CALL", "FREQ",       "MODE",    "RST_SENT", "RST_RCVD", "QTH",
    "NAME",     "RIG",     "CONTEST_ID", "COMMENT", "MY_CITY", "MY_RIG", "QSL_S",    "QSL_R",
};

bool AllDigits(std::string_view text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

int Two(std::string_view text, size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); }

std::string TwoDigits(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

// The texts as the outputs write them: copies, with DATE, START and END converted when asked.
std::array<std::string, kStoredFieldCount> Copies(const RecordTexts& texts, bool jstToUtc) {
  std::array<std::string, kStoredFieldCount> copy;
  for (int i = 0; i < kStoredFieldCount; ++i) copy[i] = std::string(texts[i]);
  if (jstToUtc) JstToUtc(copy[DATE], copy[START], copy[END]);
  return copy;
}

class AdifItems {
 public:
  void Add(std::string_view tag, std::string_view value) {
    if (value.empty()) return;
    const size_t size = value.size() + tag.size() + 4;
    if (running_ != 0 && running_ + size > 80) {
      out_ += "\r\n";
      running_ = size;
    } else {
      running_ += size;
    }
    out_ += "<" + std::string(tag) + ":" + std::to_string(value.size()) + ">" + std::string(value) + " ";
  }
  std::string Finish() { return out_ + "<EOR>\r\n"; }

 private:
  std::string out_;
  size_t running_ = 0;
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
    date = TwoDigits(yy) + TwoDigits(mm) + TwoDigits(dd);
    start = TwoDigits(hour) + start.substr(2);
  }
  if (end.size() == 4 && AllDigits(end)) {
    int hour = Two(end, 0) - 9;
    if (hour < 0) hour += 24;
    end = TwoDigits(hour) + end.substr(2);
  }
}

std::string PackedLine(const RecordTexts& texts, bool high, std::array<std::string, kStoredFieldCount>& previous,
                       bool first) {
  std::string line;
  size_t lastText = 0;  // the line's length behind the last field that is not an empty text
  for (int i = 0; i < kStoredFieldCount; ++i) {
    if (high && !first && texts[i] == previous[i]) {
      line += kForbidden;  // 0x1F: as in the line before
      lastText = line.size();
      continue;
    }
    if (high) previous[i] = std::string(texts[i]);
    line += texts[i];
    line += kSeparator;
    if (!texts[i].empty()) lastText = line.size();
  }
  if (high) line.resize(lastText);
  if (line.size() == 199) line.pop_back();  // the line with its CR LF fits a log's 200 bytes
  return line + "\r\n";
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

std::string CsvLine(const RecordTexts& texts, const FieldSelection& selection, const CsvOptions& options) {
  const auto copy = Copies(texts, options.jstToUtc);
  std::string line;
  const char* quote = options.quotes ? "\"" : "";
  for (size_t i = 0; i < selection.fields.size(); ++i) {
    if (i > 0) line += options.delimiter;
    const SelectedField& entry = selection.fields[i];
    const std::string& value = copy[entry.field];
    line += quote;
    line += entry.subfield.empty() ? value : ExtractSubfield(options.outer, OpeningOfSubfield(entry.subfield), value);
    line += quote;
  }
  return line + "\r\n";
}

std::string AdifHeader() {
  return std::string("ADIF Export from Vondal ") + kProgramVersion + "\r\n" + "<PROGRAMID:6>Vondal\r\n" +
         "<PROGRAMVERSION:7>" + kProgramVersion + "\r\n" + "<USERDEF1:5>QSL_S    Vondal's {sQSL} field\r\n" +
         "<USERDEF2:5>QSL_R    Vondal's {rQSL} field\r\n" + "<EOH>\r\n";
}

std::string AdifRecord(const RecordTexts& texts, const FieldSelection& selection, std::string_view outer,
                       bool jstToUtc) {
  auto copy = Copies(texts, jstToUtc);
  // QSO_DATE in four-digit years.
  if (copy[DATE].size() >= 2 && AllDigits(copy[DATE].substr(0, 2))) {
    const int yy = Two(copy[DATE], 0);
    copy[DATE] = std::to_string(yy < 50 ? 2000 + yy : 1900 + yy) + copy[DATE].substr(2);
  }
  // Reports, and the exchange behind them in a contest.
  const size_t length = static_cast<size_t>(ReportLength(ModeOf(copy[MODE])));
  const char* pattern = length == 2 ? "##*" : "###*";
  std::string exchange[2];
  for (int k = 0; k < 2; ++k) {
    std::string& rst = copy[k == 0 ? sRST : rRST];
    if (!jstrwldc(pattern, rst, false)) {
      rst.clear();
    } else if (!copy[CONTEST].empty()) {
      exchange[k] = rst.substr(length);
      rst.resize(length);
    }
  }
  AdifItems items;
  bool written[kStoredFieldCount] = {};
  for (const SelectedField& entry : selection.fields) {
    if (entry.subfield.empty()) {
      items.Add(kAdifTags[entry.field], copy[entry.field]);
      written[entry.field] = true;
    } else {
      const std::string opening = OpeningOfSubfield(entry.subfield);
      const std::string tag = std::string("APP_Vondal_") + DefaultFieldTable()[entry.field].name + "." + entry.subfield;
      items.Add(tag, ExtractSubfield(outer, opening, copy[entry.field]));
    }
  }
  for (int field = DATE; field <= CONTEST; ++field) {
    if (!written[field]) items.Add(kAdifTags[field], copy[field]);
  }
  const int band = BandOf(copy[FREQ]);
  if (band >= 0) items.Add("BAND", BandName(band, 'm'));  // a frequency in no band has no BAND
  items.Add("STX_STRING", exchange[0]);
  items.Add("SRX_STRING", exchange[1]);
  return items.Finish();
}

}  // namespace vondal

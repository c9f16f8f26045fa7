#include "output/table_field_reports.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/text/sjis.h"
#include "log/date_time.h"
#include "log/field_table.h"
#include "output/field_selection.h"
#include "output/table_word_specs.h"

namespace vondal {
namespace {

constexpr int kBlankRecords = 29;  // 区切りとみなす, 無視
constexpr int kBlankDates = 30;
constexpr int kLengths = 200;
constexpr int kKeptRecords = 100;

template <typename... Args>
std::string Format(const char* format, Args... args) {
  char text[256];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

// The subfield of a record the census and the continuity table read: nothing when it has none.
std::optional<std::string_view> ChosenValue(const OutputJob& job, const RecordTexts& texts,
                                            const std::string& subfield) {
  const int field = job.parameters[kWordField].choice;
  return FindSubfield(job.parameters[kOuterSeparator].value, subfield, texts[field]);
}

// A mean of total over count with three decimals cut off: "%5d.%03d".
std::string Mean(int64_t total, int64_t count) {
  return Format("%5lld.%03lld", static_cast<long long>(total / count),
                static_cast<long long>(total % count * 1000 / count));
}

// The number in decimal, right-aligned in width columns as "%*d" writes it.
void AppendRightAligned(std::string& out, int number, int width) {
  char digits[16];
  const char* end = std::to_chars(digits, digits + sizeof digits, number).ptr;
  const int length = static_cast<int>(end - digits);
  if (length < width) out.append(static_cast<size_t>(width - length), ' ');
  out.append(digits, static_cast<size_t>(length));
}

// A DATE kept beside a run: a date's few bytes in place, a longer text (no date) in a string.
class DateText {
 public:
  void Set(std::string_view date) {
    if (date.size() <= sizeof bytes_) {
      if (!date.empty()) std::memcpy(bytes_, date.data(), date.size());  // an empty view may hold no pointer
      size_ = date.size();
    } else {
      longer_.assign(date);
      size_ = kLonger;
    }
  }
  std::string_view View() const { return size_ == kLonger ? longer_ : std::string_view(bytes_, size_); }

 private:
  static constexpr size_t kLonger = ~size_t{0};
  char bytes_[8];
  size_t size_ = 0;
  std::string longer_;
};

// Whether date is the calendar day after last ("" follows a text that is no date).
bool FollowsOn(std::string_view last, std::string_view date) {
  char next[6];
  return NextDateOf(last, next) ? date == std::string_view(next, sizeof next) : date.empty();
}

}  // namespace

std::string NextDate(std::string_view date) {
  char next[6];
  return NextDateOf(date, next) ? std::string(next, sizeof next) : std::string();
}

bool NextDateOf(std::string_view date, char (&next)[6]) {
  if (CheckDate(date) != 0 || date.size() != 6) return false;
  int yy = (date[0] - '0') * 10 + (date[1] - '0');
  int mm = (date[2] - '0') * 10 + (date[3] - '0');
  int dd = (date[4] - '0') * 10 + (date[5] - '0') + 1;
  if (dd > DaysInMonth(FullYear(yy), mm)) {
    dd = 1;
    if (++mm > 12) {
      mm = 1;
      yy = (yy + 1) % 100;
    }
  }
  const int parts[] = {yy, mm, dd};
  for (int i = 0; i < 3; ++i) {
    next[2 * i] = static_cast<char>('0' + parts[i] / 10);
    next[2 * i + 1] = static_cast<char>('0' + parts[i] % 10);
  }
  return true;
}

void WriteContinuityTable(OutputJob& job) {
  const OutputParameters& p = job.parameters;
  const std::string subfield = OpeningOfSubfield(p[kSubfield].value);
  const bool ignoreBlankRecords = p[kBlankRecords].choice == 1;
  const bool blankDatesSplit = p[kBlankDates].choice == 0;
  std::string out = "開始日 終了日 交信数 " + p[kWordField].value + "\r\n";
  struct Run {
    bool open = false;
    std::string value;
    DateText start;
    DateText last;
    int count = 0;
  } run;
  auto close = [&]() {
    if (!run.open) return;
    // Every record may end a run: the line goes straight into the buffer.
    out += run.start.View();
    out += ' ';
    out += run.last.View() == run.start.View() ? std::string_view("      ") : run.last.View();
    out += ' ';
    AppendRightAligned(out, run.count, 6);
    out += ' ';
    out += run.value;
    out += "\r\n";
    run.open = false;
    if (out.size() > kOutputBufferBytes / 2) {
      job.file->Append(out);
      out.clear();
    }
  };
  auto open = [&](std::string_view value, std::string_view date) {
    run.open = true;
    run.value.assign(value);
    run.start.Set(date);
    run.last.Set(date);
    run.count = 1;
  };
  int days = 0;
  int contacts = 0;
  std::string lastDataDate;
  const int count = job.context.log.RecordCount();
  for (int n = 0; n < count; ++n) {
    const RecordTexts* texts = job.Target(n);
    if (!texts) continue;
    const std::optional<std::string_view> value = ChosenValue(job, *texts, subfield);
    if (!value) continue;
    const std::string_view date = (*texts)[DATE];
    if (!value->empty()) {
      ++contacts;
      if (date != lastDataDate) {
        ++days;
        lastDataDate = date;
      }
    } else if (ignoreBlankRecords) {
      continue;
    }
    if (run.open && run.value == *value) {
      if (blankDatesSplit && date != run.last.View() && !FollowsOn(run.last.View(), date)) {
        close();
        open(*value, date);
      } else {
        ++run.count;
        run.last.Set(date);
      }
      continue;
    }
    close();
    if (!value->empty()) open(*value, date);
  }
  close();
  out += Format("合計%6d日%8d交信\r\n", days, contacts);
  job.file->Append(out);
}

void WriteDataVolumeTable(OutputJob& job) {
  constexpr int kRows = kStoredFieldCount + 1;  // the fields and their sum
  std::array<std::array<int, kLengths>, kRows> histograms{};
  struct Kept {
    int sum;
    int position;
    std::string callsign;
  };
  std::vector<Kept> kept;
  int records = 0;
  const int count = job.context.log.RecordCount();
  for (int n = 0; n < count; ++n) {
    const RecordTexts* texts = job.Target(n);
    if (!texts) continue;
    ++records;
    // Only the histograms per record: the totals, counts and extremes all follow from them.
    int sum = 0;
    for (int row = 0; row < kStoredFieldCount; ++row) {
      const int length = std::min(kLengths - 1, static_cast<int>((*texts)[row].size()));
      sum = std::min(kLengths - 1, sum + length);
      ++histograms[row][length];
    }
    ++histograms[kStoredFieldCount][sum];
    // Behind the records with the same sum that came before it.
    if (static_cast<int>(kept.size()) == kKeptRecords && kept.back().sum >= sum) continue;
    const auto at = std::upper_bound(kept.begin(), kept.end(), sum,
                                     [](int value, const Kept& k) { return value > k.sum; });
    kept.insert(at, Kept{sum, n, std::string((*texts)[CALLSIGN])});  // positions from 0
    if (static_cast<int>(kept.size()) > kKeptRecords) kept.pop_back();
  }
  std::array<int64_t, kRows> totals{};
  std::array<int, kRows> filled{};
  std::array<int, kRows> smallest;
  std::array<int, kRows> largest{};
  smallest.fill(kLengths);
  for (int row = 0; row < kRows; ++row) {
    for (int length = 0; length < kLengths; ++length) {
      const int withLength = histograms[row][length];
      if (withLength == 0) continue;
      totals[row] += static_cast<int64_t>(length) * withLength;
      if (length > 0) filled[row] += withLength;
      smallest[row] = std::min(smallest[row], length);
      largest[row] = length;
    }
  }
  const FieldTable& fields = ActiveFieldTable();
  auto name = [&](int row) { return Format("%-8s", row < kStoredFieldCount ? fields[row].name : "合計"); };
  std::string out = "         最小    平均A    平均B 最大     総量 実レコード\r\n";
  for (int row = 0; row < kRows; ++row) {
    out += name(row);
    if (records == 0) {
      out += "    0    -    ";
    } else {
      out += Format("%5d", smallest[row]) + Mean(totals[row], records);
    }
    if (row == kStoredFieldCount) {
      out += "         ";
    } else {
      out += filled[row] == 0 ? std::string("    -    ") : Mean(totals[row], filled[row]);
    }
    out += Format("%5d%9lld%11d\r\n", largest[row], static_cast<long long>(totals[row]), filled[row]);
  }
  out +=
      "\r\n  平均A:全レコードの平均\r\n  "
      "平均B:実レコード(そのフィールドが空でないレコード)の平均\r\n\r\nヒストグラム\r\n";
  for (int row = 0; row < kRows; ++row) {
    out += name(row);
    for (int length = 0; length <= largest[row]; ++length) out += Format(" %d", histograms[row][length]);
    out += "\r\n";
  }
  out += Format("\r\nデータ量の多いレコード（%d位まで）\r\n", kKeptRecords);
  out += "順位  量 レコード コールサイン\r\n";
  int rank = 0;
  for (size_t i = 0; i < kept.size(); ++i) {
    if (i == 0 || kept[i].sum != kept[i - 1].sum) rank = static_cast<int>(i) + 1;
    out += Format("%4d%4d%9d ", rank, kept[i].sum, kept[i].position) + kept[i].callsign + "\r\n";
  }
  job.file->Append(out);
}

void WriteCharacterTable(OutputJob& job) {
  const std::string subfield = OpeningOfSubfield(job.parameters[kSubfield].value);
  std::array<int64_t, 256> text{};
  std::array<int64_t, 256> binary{};
  std::vector<int64_t> doubleByte(65536);
  int64_t characters = 0;
  int64_t bytes = 0;
  const int count = job.context.log.RecordCount();
  for (int n = 0; n < count; ++n) {
    const RecordTexts* texts = job.Target(n);
    if (!texts) continue;
    const std::optional<std::string_view> value = ChosenValue(job, *texts, subfield);
    if (!value) continue;
    for (size_t i = 0; i < value->size(); i += CharLength(*value, i)) {
      const auto first = static_cast<unsigned char>((*value)[i]);
      ++characters;
      if (CharLength(*value, i) == 2) {
        const auto second = static_cast<unsigned char>((*value)[i + 1]);
        ++binary[first];
        ++binary[second];
        ++doubleByte[first * 256 + second];
        bytes += 2;
      } else {
        ++binary[first];
        ++text[first];
        ++bytes;
      }
    }
  }
  std::string out = Format("\r\n総文字数%15lld\r\n", static_cast<long long>(characters));
  out += Format("総バイト数%13lld\r\n", static_cast<long long>(bytes));
  out += "\r\ncode-ch----text----binary\r\n";
  for (int c = 0; c < 256; ++c) {
    if (text[c] == 0 && binary[c] == 0) continue;
    std::string shown = "  ";
    if (c < 0x20) {
      shown = {'^', static_cast<char>(c + 64)};
    } else if (c < 0x7F || IsHalfWidthKana(static_cast<unsigned char>(c))) {
      shown = {' ', static_cast<char>(c)};
    }
    out += Format("%02x   ", c) + shown +
           Format("%8lld%c%8lld\r\n", static_cast<long long>(text[c]), text[c] == binary[c] ? '=' : ' ',
                  static_cast<long long>(binary[c]));
  }
  bool anyDouble = false;
  for (int code = 0; code < 65536; ++code) {
    if (doubleByte[code] == 0) continue;
    if (!anyDouble) out += "\r\ncode-ch---kanji\r\n";
    anyDouble = true;
    out += Format("%02x%02x %c%c%8lld\r\n", code >> 8, code & 0xFF, code >> 8, code & 0xFF,
                  static_cast<long long>(doubleByte[code]));
  }
  job.file->Append(out);
}

}  // namespace vondal

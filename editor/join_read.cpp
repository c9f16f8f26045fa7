#include "editor/join_read.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "app/text/sjis.h"
#include "app/text/wildcard.h"
#include "editor/join_items.h"
#include "log/date_time.h"
#include "log/field_table.h"

namespace vondal {
namespace {

constexpr size_t kReadBufferSize = 1 << 20;
constexpr size_t kWriteBufferSize = 1000000;
constexpr int kBufferRecords = kWriteBufferSize / kRecordSize;
constexpr int kProgressStep = 10000;
constexpr char kStopped[] = "ので中断します";

bool Packed(JoinFormat format) {
  return format == JoinFormat::kPacked || format == JoinFormat::kPackedSafety;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string Number(long n) {
  char text[24];
  std::snprintf(text, sizeof text, "%ld", n);
  return text;
}

bool IsAscii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// A piece of a refused line as the detail row shows it: at most 30 bytes, cut between
// characters, control bytes shown as blanks.
std::string Shown(std::string_view text) {
  size_t size = 0;
  while (size < text.size() && size + CharLength(text, size) <= 30) size += CharLength(text, size);
  std::string shown(text.substr(0, size));
  for (char& c : shown) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  }
  return size < text.size() ? shown + ".." : shown;
}

// True when the line holds an ADIF tag with a length ("<CALL:6>"): an ADIF file under another name.
bool LooksLikeAdif(std::string_view line) {
  for (size_t at = line.find('<'); at != std::string_view::npos; at = line.find('<', at + 1)) {
    size_t p = at + 1;
    while (p < line.size() && (std::isalnum(static_cast<unsigned char>(line[p])) || line[p] == '_')) ++p;
    if (p > at + 1 && p + 1 < line.size() && line[p] == ':' && IsDigit(line[p + 1])) return true;
  }
  return false;
}

constexpr char kAdifHint[] = "ADIFﾌｧｲﾙのようです(名前を*.ADIにすると結合できます)";

// What the line's text for field `field` must be, for the detail of a refusal.
std::string FieldRule(int field, std::string_view text) {
  switch (field) {
    case DATE:
      return "DATEはYYMMDD(6桁の数字)です: " + Shown(text);
    case START:
      return "STARTはHHMM(4桁の数字)です: " + Shown(text);
    case END:
      return "ENDは4文字です: " + Shown(text);
    case CALLSIGN:
      return "CALLSIGNは2文字以上です: " + Shown(text);
    default:
      return std::string(DefaultFieldTable()[field].name) + "がありません";
  }
}

// The journal while the records are appended: its size before the join, to cut it back to.
struct Journal {
  std::unique_ptr<File> file;
  int64_t sizeBefore = -1;
};

// The bytes of a line (at most kTextArea) that end a text, the separator, 0x1E or 0x1F, as one bit
// each, and whether the line holds a NUL byte.
class LineStops {
 public:
  LineStops(std::string_view line, char separator) : size_(line.size()) {
    alignas(16) char padded[kWords * 64];
    std::memcpy(padded, line.data(), line.size());
    std::memset(padded + line.size(), 'A', sizeof padded - line.size());  // ends nothing
#if defined(__SSE2__)
    const __m128i wanted[3] = {_mm_set1_epi8(separator), _mm_set1_epi8(kSeparator),
                               _mm_set1_epi8(kForbidden)};
    unsigned nul = 0;
    for (size_t at = 0; at < line.size(); at += 16) {
      const __m128i bytes = _mm_load_si128(reinterpret_cast<const __m128i*>(padded + at));
      const __m128i ends =
          _mm_or_si128(_mm_cmpeq_epi8(bytes, wanted[0]),
                       _mm_or_si128(_mm_cmpeq_epi8(bytes, wanted[1]), _mm_cmpeq_epi8(bytes, wanted[2])));
      bits_[at / 64] |= static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(ends))) << (at % 64);
      nul |= static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_setzero_si128())));
    }
    nul_ = nul != 0;
#else
    for (size_t i = 0; i < line.size(); ++i) {
      const char c = padded[i];
      if (c == separator || c == kSeparator || c == kForbidden) bits_[i / 64] |= uint64_t{1} << (i % 64);
      nul_ |= c == '\0';
    }
#endif
  }
  bool nul() const { return nul_; }
  // Calls visit(at) for the stops in order while it returns true.
  template <typename Visit>
  void Each(Visit visit) const {
    for (size_t word = 0; word < kWords; ++word) {
      for (uint64_t bits = bits_[word]; bits != 0; bits &= bits - 1) {
        if (!visit(word * 64 + static_cast<size_t>(__builtin_ctzll(bits)))) return;
      }
    }
  }
  // The first stop at or after `from`, or the line's size.
  size_t Next(size_t from) const {
    size_t word = from / 64;
    if (word >= kWords) return size_;
    uint64_t bits = bits_[word] & (~uint64_t{0} << (from % 64));
    while (bits == 0) {
      if (++word == kWords) return size_;
      bits = bits_[word];
    }
    return std::min(size_, word * 64 + static_cast<size_t>(__builtin_ctzll(bits)));
  }

 private:
  static constexpr size_t kWords = (kTextArea + 63) / 64;
  size_t size_;
  uint64_t bits_[kWords] = {};
  bool nul_ = false;
};

}  // namespace

JoinFormat JoinFormatOf(std::string_view name) {
  static constexpr std::pair<const char*, JoinFormat> kPatterns[] = {
      {"*.VD", JoinFormat::kLog},           {"*.VDS", JoinFormat::kSafety}, {"*.VDP", JoinFormat::kPacked},
      {"*.VDT", JoinFormat::kPackedSafety}, {"*.CSV", JoinFormat::kCsv},    {"*.ADI", JoinFormat::kAdif},
      {"*.ADIF", JoinFormat::kAdif},
  };
  for (const auto& [pattern, format] : kPatterns) {
    if (jstrwldc(pattern, name, true)) return format;
  }
  return JoinFormat::kNone;
}

JoinChecker::JoinChecker(JoinFormat format)
    : format_(format), separator_(format == JoinFormat::kCsv ? '\t' : kSeparator) {}

std::string JoinChecker::Refuse(const char* reason, std::string_view line, int field, size_t at) {
  const std::string_view why = reason;
  if (why == kJoinBadLineLength) {
    const bool exact = format_ == JoinFormat::kLog || format_ == JoinFormat::kSafety;
    detail_ = field >= 0 ? "行の中にNUL(0x00)があります"
                         : std::string(exact ? "1行は198ﾊﾞｲﾄちょうどです" : "1行は198ﾊﾞｲﾄまでです") +
                               "(この行は" + Number(static_cast<long>(line.size())) + "ﾊﾞｲﾄ)";
  } else if (LooksLikeAdif(line)) {
    detail_ = kAdifHint;
  } else if (why == kJoinFieldTooLong) {
    const std::string_view text = line.substr(at);
    detail_ = field == DATE
                  ? "DATEはYYMMDD(6桁の数字)、区切りはTABかｺﾝﾏです: " + Shown(text)
                  : std::string(DefaultFieldTable()[field].name) + "は" +
                        Number(ActiveFieldTable()[field].maxLength) + "ﾊﾞｲﾄまでです: " + Shown(text);
  } else if (why == kJoinBadSeparator) {
    detail_ = field < 0
                  ? "前のﾚｺｰﾄﾞがないのに同じ印(0x1F)があります"
                  : std::string(DefaultFieldTable()[field].name) + "の中に区切り記号(0x1Eか0x1F)があります";
  } else if (why == kJoinRecordTooLong) {
    detail_ = "17項目の合計は182ﾊﾞｲﾄまでです";
  }
  return reason;
}

std::string JoinChecker::Check(std::string_view line, JoinLineKind& kind, char* image) {
  detail_.clear();
  const bool exact = format_ == JoinFormat::kLog || format_ == JoinFormat::kSafety;
  if (exact ? line.size() != kTextArea : line.size() > kTextArea) return Refuse(kJoinBadLineLength, line);
  // A NUL byte ends the line for every text reader: the line is not what it seems.
  const LineStops stops(line, separator_);
  if (stops.nul()) return Refuse(kJoinBadLineLength, line, 0);
  if (format_ == JoinFormat::kCsv && !dataSeen_) {
    if (headers_ == 0 && (!jstrwldc("######?####*", line, false) || IsDigit(line[6]))) {
      ++headers_;
      kind = JoinLineKind::kHeader;
      return "";
    }
    if (line.size() > 6 && line[6] == ',') {
      separator_ = ',';
      dataSeen_ = true;
      return Check(line, kind, image);  // the stops again, at the commas
    }
  }
  dataSeen_ = true;

  // The fields: each ends at the separator; in the packed formats a ditto byte standing alone
  // at a field's start is that field of the record before, and ends it.
  const bool packed = Packed(format_);
  const FieldTable& table = ActiveFieldTable();
  std::array<std::string_view, kStoredFieldCount> fields;
  size_t pos = 0;
  size_t textEnd = 0;  // where the last text ends in the line
  int field = 0;
  if (packed) {
    for (; field < kStoredFieldCount && pos < line.size(); ++field) {
      if (line[pos] == kForbidden) {
        if (!hasPrevious_) return Refuse(kJoinBadSeparator, line);
        fields[field] = previous_[field];
        ++pos;
        continue;
      }
      const size_t end = stops.Next(pos);
      // A 0x1E or 0x1F inside a text would end it in the log and move every field after it.
      if (end < line.size() && line[end] != separator_) return Refuse(kJoinBadSeparator, line, field);
      if (end - pos > table[field].maxLength) return Refuse(kJoinFieldTooLong, line, field, pos);
      fields[field] = line.substr(pos, end - pos);
      pos = end + 1;
    }
  } else {
    // The texts follow each other: the line is the record's text area, its separators made 0x1E.
    std::memcpy(image, line.data(), line.size());
    const bool converted = separator_ != kSeparator;
    const char* failure = nullptr;
    stops.Each([&](size_t end) {
      if (line[end] != separator_)
        failure = kJoinBadSeparator;
      else if (end - pos > table[field].maxLength)
        failure = kJoinFieldTooLong;
      if (failure) return false;
      fields[field] = line.substr(pos, end - pos);
      if (converted) image[end] = kSeparator;
      textEnd = end;
      pos = end + 1;
      return ++field < kStoredFieldCount;
    });
    if (failure) return Refuse(failure, line, field, pos);
    if (field < kStoredFieldCount && pos < line.size()) {  // the last text runs to the line's end
      if (line.size() - pos > table[field].maxLength) return Refuse(kJoinFieldTooLong, line, field, pos);
      fields[field++] = line.substr(pos);
      textEnd = line.size();
    }
  }
  const int parsed = field;
  for (; field < kStoredFieldCount; ++field) fields[field] = {};

  if (fields[END] == "----" && fields[CALLSIGN] == "------") {
    ++timeRecords_;
    kind = JoinLineKind::kTimeRecord;
    return "";
  }
  const bool lengths[] = {fields[DATE].size() == 6,     fields[START].size() == 4, fields[END].size() == 4,
                          fields[CALLSIGN].size() >= 2, !fields[FREQ].empty(),     !fields[MODE].empty()};
  for (int f = DATE; f <= MODE; ++f) {
    if (!lengths[f]) {
      detail_ = LooksLikeAdif(line) ? kAdifHint : FieldRule(f, fields[f]);
      return kJoinBadFieldLength;
    }
  }
  char* p = image;
  if (packed) {
    size_t total = 0;
    for (std::string_view text : fields) total += text.size() + 1;
    // A record whose last separator would be byte 199 loses it under the line end.
    if (total > kTextArea + 1) return Refuse(kJoinRecordTooLong, line);
    for (int i = 0; i < kStoredFieldCount; ++i) {
      if (!fields[i].empty())
        std::memcpy(p, fields[i].data(), fields[i].size());  // an empty view may hold no pointer
      p += fields[i].size();
      if (p - image < kTextArea) *p++ = kSeparator;
    }
  } else {
    // The line up to the end of its last text is in place: then a separator for the last text
    // and for each the line lacks.
    const int appended = kStoredFieldCount - std::max(parsed - 1, 0);
    if (textEnd + appended > kTextArea + 1) return Refuse(kJoinRecordTooLong, line);
    p += textEnd;
    for (int i = 0; i < appended && p - image < kTextArea; ++i) *p++ = kSeparator;
  }
  std::memset(p, ' ', kTextArea - (p - image));
  image[kTextArea] = '\r';
  image[kTextArea + 1] = '\n';
  // Only the packed formats look back; a field that repeated the previous one is the same text
  // (assigning a text its own bytes leaves it as it is).
  if (packed) {
    for (int i = 0; i < kStoredFieldCount; ++i) previous_[i].assign(fields[i]);
  }
  hasPrevious_ = true;
  ++records_;
  kind = JoinLineKind::kRecord;
  return "";
}

JoinLines::JoinLines(File& file) : file_(file), buffer_(kReadBufferSize) {}

bool JoinLines::Next(std::string_view& line) {
  for (;;) {
    const char* data = buffer_.data();
    const void* lf = std::memchr(data + begin_, '\n', end_ - begin_);
    size_t stop = lf ? static_cast<const char*>(lf) - data : end_;
    if (!lf && stop - begin_ < kJoinLineLimit && !atEnd_) {
      // Not a whole line yet: the rest moves to the front and more is read behind it.
      std::memmove(buffer_.data(), data + begin_, end_ - begin_);
      end_ -= begin_;
      begin_ = 0;
      const int64_t got = file_.ReadAt(offset_, buffer_.data() + end_, buffer_.size() - end_);
      if (got < 0) {
        failed_ = true;
        return false;
      }
      if (got == 0) atEnd_ = true;
      offset_ += got;
      end_ += static_cast<size_t>(got);
      continue;
    }
    if (begin_ == end_) return false;
    size_t next = lf ? stop + 1 : stop;
    if (stop - begin_ > kJoinLineLimit) stop = next = begin_ + kJoinLineLimit;
    size_t lineEnd = stop;
    if (atEnd_ && next == end_ && lineEnd > begin_ && data[lineEnd - 1] == '\x1A') --lineEnd;  // Ctrl-Z
    if (lineEnd > begin_ && data[lineEnd - 1] == '\r' && (lf || atEnd_)) --lineEnd;
    line = std::string_view(data + begin_, lineEnd - begin_);
    lineOffset_ = offset_ - static_cast<int64_t>(end_ - begin_);
    begin_ = next;
    return true;
  }
}

namespace {

// The lines of a file as the join's items.
class LineItems : public JoinItems {
 public:
  LineItems(File& file, JoinFormat format, TextCharset charset, std::vector<JoinNote>* notes)
      : file_(file),
        lines_(file),
        checker_(format),
        csv_(format == JoinFormat::kCsv),
        charset_(charset),
        notes_(notes) {}

  bool Next(std::string& reason, JoinLineKind& kind, char* image) override {
    std::string_view line;
    if (!lines_.Next(line)) return false;
    ++number_;
    if (number_ == 1 && csv_ && line.starts_with(kUtf8Bom)) {
      line.remove_prefix(kUtf8Bom.size());
      charset_ = TextCharset::kUtf8;
    }
    reason.clear();
    if (line.empty()) {
      kind = JoinLineKind::kEmpty;
      return true;
    }
    int replaced = 0;
    if (csv_ && !IsAscii(line)) {
      if (charset_ == TextCharset::kAscii) charset_ = GuessFrom(lines_.lineOffset());
      if (charset_ == TextCharset::kUtf8) {
        converted_ = Utf8ToCp932(line, replaced);
        line = converted_;
      }
    }
    reason = checker_.Check(line, kind, image);
    if (replaced > 0 && notes_ && reason.empty() && kind == JoinLineKind::kRecord) {
      std::string_view texts[CALLSIGN + 1];
      LeadingTexts(image, CALLSIGN + 1, texts);
      notes_->push_back({number_, std::string(texts[CALLSIGN]), std::string(texts[DATE]),
                         "CP932にない文字" + std::to_string(replaced) + "個を?に置換"});
    }
    return true;
  }
  bool failed() const override { return lines_.failed(); }
  std::string detail() const override { return checker_.detail(); }
  void Count(JoinResult& result) const override {
    result.records = checker_.records();
    result.timeRecords = checker_.timeRecords();
    result.headers = checker_.headers();
    result.charset = charset_;
  }

 private:
  // The charset of the file from the first line that is not ASCII on (its bytes decide, and the
  // bytes of the lines behind it).
  TextCharset GuessFrom(int64_t offset) {
    std::string bytes(64 * 1024, '\0');
    const int64_t got = file_.ReadAt(offset, bytes.data(), bytes.size());
    bytes.resize(got > 0 ? static_cast<size_t>(got) : 0);
    const TextCharset guessed = GuessCharset(bytes);
    return guessed == TextCharset::kAscii ? TextCharset::kCp932 : guessed;
  }

  File& file_;
  JoinLines lines_;
  JoinChecker checker_;
  bool csv_;
  TextCharset charset_;
  std::vector<JoinNote>* notes_;
  long number_ = 0;
  std::string converted_;
};

// An ADIF file's whole text: mapped where the file allows, else read into `copy`. False when the
// file cannot be read.
bool WholeText(File& file, std::string& copy, std::string_view& text) {
  text = file.MapForReading();
  if (!text.empty()) return true;
  copy.clear();
  char buffer[1 << 16];
  for (int64_t offset = 0;;) {
    const int64_t got = file.ReadAt(offset, buffer, sizeof buffer);
    if (got < 0) return false;
    if (got == 0) break;
    copy.append(buffer, static_cast<size_t>(got));
    offset += got;
  }
  text = copy;
  return true;
}

}  // namespace

std::unique_ptr<JoinItems> JoinLineItems(File& file, JoinFormat format, TextCharset charset,
                                         std::vector<JoinNote>* notes) {
  return std::make_unique<LineItems>(file, format, charset, notes);
}

JoinResult JoinRead(JoinContext& context, File& file, JoinFormat format, WorkRows& rows) {
  JoinResult result;
  LogFile& log = context.log;
  const int firstRow = context.firstRow;
  const int secondRow = firstRow + 2;
  auto stop = [&](int row, const std::string& reason) {
    result.reason = reason;
    rows.Put(row, 17, reason + kStopped);
    if (!result.detail.empty()) rows.Put(row + 1, 17, result.detail);
    rows.Flush();
    return result;
  };
  char image[kRecordSize];
  JoinLineKind kind;

  // An ADIF file is read whole by the first pass, which keeps its contacts for the second.
  const bool adif = format == JoinFormat::kAdif;
  AdifJoin adifJoin;
  std::string copy;
  adifJoin.logClock = context.logClock;
  adifJoin.twoStretchesFrom = context.adifTwoStretchesFrom;
  auto items = [&](bool first) {
    std::vector<JoinNote>* notes = first ? &result.notes : nullptr;
    return adif ? JoinAdifItems(adifJoin, notes) : JoinLineItems(file, format, result.charset, notes);
  };

  // The first pass only reads: any fault leaves everything untouched.
  rows.Put(firstRow, 1, "検査中..");
  rows.Flush();
  // The first record the join appends: the write-ahead record knows the join by it.
  RecordImage first{};
  bool haveFirst = false;
  if (adif) {
    if (!WholeText(file, copy, adifJoin.text)) return stop(firstRow, kJoinCannotRead);
    if (context.index.size() > 0)
      adifJoin.finder = std::make_unique<DuplicateFinder>(context.index, log, true);
  }
  JoinResult counted;
  {
    std::unique_ptr<JoinItems> check = items(true);
    long count = 0;
    for (std::string reason; check->Next(reason, kind, image);) {
      if (++count % kProgressStep == 0) {
        rows.Put(firstRow, 9, Number(count));
        rows.Flush();
      }
      if (!reason.empty()) {
        rows.Put(firstRow, 9, Number(count));
        result.detail = check->detail();
        result.notes.clear();
        return stop(firstRow, reason);
      }
      if (kind == JoinLineKind::kRecord && !haveFirst) {
        std::memcpy(first.data(), image, kRecordSize);
        haveFirst = true;
      }
    }
    rows.Put(firstRow, 9, Number(count));
    if (check->failed()) return stop(firstRow, kJoinCannotRead);
    check->Count(counted);
    result.charset = counted.charset;
  }
  // The counts below the second pass's row.
  auto showCounts = [&] {
    result.joined = true;
    result.records = counted.records;
    result.timeRecords = counted.timeRecords;
    result.headers = counted.headers;
    result.duplicates = counted.duplicates;
    const bool csv = format == JoinFormat::kCsv;
    const int col = csv ? 15 : 19;
    rows.Put(secondRow + 2, 1, "結合レコード数");
    rows.Put(secondRow + 2, col, Number(result.records));
    if (adif) {
      rows.Put(secondRow + 3, 1, "重複レコード数");
      rows.Put(secondRow + 3, col, Number(result.duplicates));
    } else {
      rows.Put(secondRow + 3, 1, csv ? "ヘッダ数" : "時刻記録レコード数");
      rows.Put(secondRow + 3, col, Number(csv ? result.headers : result.timeRecords));
    }
    rows.Flush();
    return result;
  };
  const int before = log.RecordCount();
  if (static_cast<long>(before) + counted.records > log.RecordLimit())
    return stop(firstRow, kJoinTooManyRecords);
  // An ADIF file whose every contact is in the log already has nothing to add, and nothing wrong.
  if (counted.records == 0 && counted.duplicates > 0) return showCounts();
  if (counted.records == 0) return stop(firstRow, kJoinEmpty);

  // The second pass appends. The counters, the index and the journal go back with the log when
  // it fails.
  rows.Put(secondRow, 1, "結合中..");
  rows.Flush();
  const WriteCounters countersBefore = context.counters;
  SafetyFile* safety = context.safety && context.safety->configured() ? context.safety : nullptr;
  Journal journal;
  if (safety) {
    if (std::unique_ptr<File> opened = safety->OpenSafety()) journal.sizeBefore = opened->Size();
    safety->WriteMarker("＜結合読み込み開始＞");
    journal.file = safety->OpenSafety();
  }
  auto takeBack = [&](const std::string& reason) {
    log.CancelJoin();
    context.index.Shrink(before);
    if (journal.file && journal.sizeBefore >= 0) {
      journal.file->Truncate(journal.sizeBefore);
      journal.file->Sync();
    }
    context.counters = countersBefore;
    result.notes.clear();
    stop(secondRow, reason);
    rows.Put(secondRow + 2, 1, "ﾛｸﾞは結合前のままです");
    rows.Flush();
    return result;
  };
  if (safety && !journal.file) return takeBack(kJoinCannotWriteSafety);
  context.index.RetireFile();
  if (!log.BeginJoin(counted.records, first)) return takeBack(kJoinCannotWriteLog);

  std::vector<char> buffer(kWriteBufferSize);
  int filled = 0;
  int64_t journalAt = journal.sizeBefore;
  std::string failure;
  auto flush = [&] {
    if (filled == 0) return true;
    if (!log.AppendJoined(buffer.data(), filled)) {
      failure = kJoinCannotWriteLog;
      return false;
    }
    if (journal.file) {
      const size_t size = static_cast<size_t>(filled) * kRecordSize;
      if (journal.file->WriteAt(journalAt, buffer.data(), size) != static_cast<int64_t>(size)) {
        failure = kJoinCannotWriteSafety;
        return false;
      }
      journalAt += static_cast<int64_t>(size);
      context.counters[kCountSafety] += filled;
    }
    filled = 0;
    return true;
  };
  std::unique_ptr<JoinItems> again = items(false);
  long count = 0;
  int taken = 0;
  // Only the records the first pass counted: the file may have grown meanwhile (it may even be
  // the log or the journal itself).
  for (std::string reason; taken < counted.records &&
                           again->Next(reason, kind, &buffer[static_cast<size_t>(filled) * kRecordSize]);) {
    if (++count % kProgressStep == 0) {
      rows.Put(secondRow, 9, Number(count));
      rows.Flush();
    }
    if (!reason.empty()) return takeBack(reason);
    if (kind != JoinLineKind::kRecord) continue;
    const char* slot = &buffer[static_cast<size_t>(filled) * kRecordSize];
    // A file changed since the first pass would join other records than the ones checked.
    if (taken == 0 && std::memcmp(slot, first.data(), kRecordSize) != 0) return takeBack(kJoinBadLineLength);
    std::string_view texts[kStoredFieldCount];
    LeadingTexts(slot, CALLSIGN + 1, texts);
    if (!context.index.SetIndexEntry(before + taken, DateTimeKey(texts[DATE], texts[START]), texts[CALLSIGN],
                                     IndexMode::kWrite)) {
      takeBack(kJoinCannotWriteLog);
      result.fatal = kIndexOutOfMemory;
      return result;
    }
    ++taken;
    if (++filled == kBufferRecords && !flush()) return takeBack(failure);
  }
  rows.Put(secondRow, 9, Number(count));
  if (again->failed()) return takeBack(kJoinCannotRead);
  if (taken < counted.records) return takeBack(kJoinBadLineLength);  // the file was cut meanwhile
  if (!flush()) return takeBack(failure);
  if (journal.file && !journal.file->Sync()) return takeBack(kJoinCannotWriteSafety);
  if (!log.CommitJoin()) return takeBack(kJoinCannotWriteLog);
  journal.file.reset();

  result.fatal = log.ReopenLog();
  showCounts();
  if (safety) safety->WriteMarker("＜結合読み込み終了＞");
  return result;
}

}  // namespace vondal

#include "editor/join_read.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "app/text/wildcard.h"
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
      {"*.VDT", JoinFormat::kPackedSafety}, {"*.CSV", JoinFormat::kCsv},
  };
  for (const auto& [pattern, format] : kPatterns) {
    if (jstrwldc(pattern, name, true)) return format;
  }
  return JoinFormat::kNone;
}

JoinChecker::JoinChecker(JoinFormat format)
    : format_(format), separator_(format == JoinFormat::kCsv ? '\t' : kSeparator) {}

std::string JoinChecker::Check(std::string_view line, JoinLineKind& kind, char* image) {
  const bool exact = format_ == JoinFormat::kLog || format_ == JoinFormat::kSafety;
  if (exact ? line.size() != kTextArea : line.size() > kTextArea) return kJoinBadLineLength;
  // A NUL byte ends the line for every text reader: the line is not what it seems.
  const LineStops stops(line, separator_);
  if (stops.nul()) return kJoinBadLineLength;
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
        if (!hasPrevious_) return kJoinBadSeparator;
        fields[field] = previous_[field];
        ++pos;
        continue;
      }
      const size_t end = stops.Next(pos);
      // A 0x1E or 0x1F inside a text would end it in the log and move every field after it.
      if (end < line.size() && line[end] != separator_) return kJoinBadSeparator;
      if (end - pos > table[field].maxLength) return kJoinFieldTooLong;
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
    if (failure) return failure;
    if (field < kStoredFieldCount && pos < line.size()) {  // the last text runs to the line's end
      if (line.size() - pos > table[field].maxLength) return kJoinFieldTooLong;
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
  if (fields[DATE].size() != 6 || fields[START].size() != 4 || fields[END].size() != 4 ||
      fields[CALLSIGN].size() < 2 || fields[FREQ].empty() || fields[MODE].empty()) {
    return kJoinBadFieldLength;
  }
  char* p = image;
  if (packed) {
    size_t total = 0;
    for (std::string_view text : fields) total += text.size() + 1;
    // A record whose last separator would be byte 199 loses it under the line end.
    if (total > kTextArea + 1) return kJoinRecordTooLong;
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
    if (textEnd + appended > kTextArea + 1) return kJoinRecordTooLong;
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
    if (lineEnd > begin_ && data[lineEnd - 1] == '\r' && (lf || atEnd_)) --lineEnd;
    line = std::string_view(data + begin_, lineEnd - begin_);
    begin_ = next;
    return true;
  }
}

JoinResult JoinRead(JoinContext& context, File& file, JoinFormat format, WorkRows& rows) {
  JoinResult result;
  LogFile& log = context.log;
  const int firstRow = context.firstRow;
  const int secondRow = firstRow + 2;
  auto stop = [&](int row, const std::string& reason) {
    result.reason = reason;
    rows.Put(row, 17, reason + kStopped);
    rows.Flush();
    return result;
  };
  char image[kRecordSize];
  JoinLineKind kind;

  // The first pass only reads: any fault leaves everything untouched.
  rows.Put(firstRow, 1, "検査中..");
  rows.Flush();
  JoinChecker check(format);
  // The first record the join appends: the write-ahead record knows the join by it.
  RecordImage first{};
  {
    JoinLines lines(file);
    long count = 0;
    for (std::string_view line; lines.Next(line);) {
      if (++count % kProgressStep == 0) {
        rows.Put(firstRow, 9, Number(count));
        rows.Flush();
      }
      if (std::string reason = check.Check(line, kind, image); !reason.empty()) {
        rows.Put(firstRow, 9, Number(count));
        return stop(firstRow, reason);
      }
      if (kind == JoinLineKind::kRecord && check.records() == 1)
        std::memcpy(first.data(), image, kRecordSize);
    }
    rows.Put(firstRow, 9, Number(count));
    if (lines.failed()) return stop(firstRow, kJoinCannotRead);
  }
  const int before = log.RecordCount();
  if (static_cast<long>(before) + check.records() > log.RecordLimit())
    return stop(firstRow, kJoinTooManyRecords);
  if (check.records() == 0) return stop(firstRow, kJoinEmpty);

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
    stop(secondRow, reason);
    rows.Put(secondRow + 2, 1, "ﾛｸﾞは結合前のままです");
    rows.Flush();
    return result;
  };
  if (safety && !journal.file) return takeBack(kJoinCannotWriteSafety);
  context.index.RetireFile();
  if (!log.BeginJoin(check.records(), first)) return takeBack(kJoinCannotWriteLog);

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
  JoinChecker again(format);
  JoinLines lines(file);
  long count = 0;
  int taken = 0;
  // Only the records the first pass counted: the file may have grown meanwhile (it may even be
  // the log or the journal itself).
  for (std::string_view line; taken < check.records() && lines.Next(line);) {
    if (++count % kProgressStep == 0) {
      rows.Put(secondRow, 9, Number(count));
      rows.Flush();
    }
    char* slot = &buffer[static_cast<size_t>(filled) * kRecordSize];
    if (std::string reason = again.Check(line, kind, slot); !reason.empty()) return takeBack(reason);
    if (kind != JoinLineKind::kRecord) continue;
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
  if (lines.failed()) return takeBack(kJoinCannotRead);
  if (taken < check.records()) return takeBack(kJoinBadLineLength);  // the file was cut meanwhile
  if (!flush()) return takeBack(failure);
  if (journal.file && !journal.file->Sync()) return takeBack(kJoinCannotWriteSafety);
  if (!log.CommitJoin()) return takeBack(kJoinCannotWriteLog);
  journal.file.reset();

  result.joined = true;
  result.records = check.records();
  result.timeRecords = check.timeRecords();
  result.headers = check.headers();
  result.fatal = log.ReopenLog();
  const bool csv = format == JoinFormat::kCsv;
  const int col = csv ? 15 : 19;
  rows.Put(secondRow + 2, 1, "結合レコード数");
  rows.Put(secondRow + 2, col, Number(result.records));
  rows.Put(secondRow + 3, 1, csv ? "ヘッダ数" : "時刻記録レコード数");
  rows.Put(secondRow + 3, col, Number(csv ? result.headers : result.timeRecords));
  rows.Flush();
  if (safety) safety->WriteMarker("＜結合読み込み終了＞");
  return result;
}

}  // namespace vondal

// Join read: the records of another file appended to the open log, its index and its journal.
// The file may be a log or a safety file (".VD", ".VDS"), a packed one (".VDP", ".VDT", where
// the ditto byte 0x1F repeats the field of the record before) or a CSV separated by TAB or ","
// (".CSV", no quoting, an optional heading line). The whole file is checked first and nothing is
// written when a line is faulty; the appends then run behind the log's write-ahead record, so
// that a failure or a kill leaves the log with all of the file's records or with none.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/work_rows.h"
#include "log/file_system.h"
#include "log/log_file.h"
#include "log/log_format.h"
#include "log/record_index.h"
#include "log/safety_file.h"
#include "log/write_counters.h"

namespace vondal {

enum class JoinFormat { kNone, kLog, kSafety, kPacked, kPackedSafety, kCsv };

// The format a file name asks for, by its extension in either case; kNone for any other.
JoinFormat JoinFormatOf(std::string_view name);

// What a line was.
enum class JoinLineKind { kRecord, kTimeRecord, kHeader };

// The reasons a join stops ("ので中断します" follows each on the screen).
inline constexpr char kJoinBadLineLength[] = "行長が不正な";
inline constexpr char kJoinFieldTooLong[] = "ﾌｨｰﾙﾄﾞのﾃﾞｰﾀ量が制限を超える";
inline constexpr char kJoinBadSeparator[] = "ﾌｨｰﾙﾄﾞ区切り記号が不正な";
inline constexpr char kJoinBadFieldLength[] = "ﾌｨｰﾙﾄﾞのﾃﾞｰﾀ長が不正な";
inline constexpr char kJoinRecordTooLong[] = "ﾚｺｰﾄﾞ長が制限を超える";
inline constexpr char kJoinCannotWriteLog[] = "ﾛｸﾞﾌｧｲﾙに書込めない";
inline constexpr char kJoinCannotWriteSafety[] = "ｾｰﾌﾃｨﾌｧｲﾙに書込めない";
inline constexpr char kJoinTooManyRecords[] = "ﾚｺｰﾄﾞ数制限を超える";
inline constexpr char kJoinEmpty[] = "ﾌｧｲﾙが空な";
inline constexpr char kJoinCannotRead[] = "ﾌｧｲﾙを読込めない";

// The line rules of one pass over a file: each line (without its line end) in file order.
class JoinChecker {
 public:
  explicit JoinChecker(JoinFormat format);

  // Checks one line. "" or the reason; on "" `kind` says what the line was and, for a record,
  // `image` holds its 200-byte log line.
  std::string Check(std::string_view line, JoinLineKind& kind, char* image);

  int records() const { return records_; }
  int timeRecords() const { return timeRecords_; }
  int headers() const { return headers_; }

 private:
  JoinFormat format_;
  char separator_;
  bool dataSeen_ = false;     // a line was taken as data (CSV: the heading can come no more)
  bool hasPrevious_ = false;  // a record supplied the fields a ditto byte repeats
  std::array<std::string, kStoredFieldCount> previous_;  // the packed formats' record before
  int records_ = 0;
  int timeRecords_ = 0;
  int headers_ = 0;
};

// The lines of a file, read through one large buffer: without their line end (LF or CR LF); a
// line of more than kJoinLineLimit bytes comes in pieces of that size.
inline constexpr size_t kJoinLineLimit = 1000;

class JoinLines {
 public:
  explicit JoinLines(File& file);
  // The next line; false at the end of the file or on a read error (failed() says which).
  bool Next(std::string_view& line);
  bool failed() const { return failed_; }

 private:
  File& file_;
  std::vector<char> buffer_;
  size_t begin_ = 0;  // the unread bytes are buffer_[begin_, end_)
  size_t end_ = 0;
  int64_t offset_ = 0;  // the file's bytes read so far
  bool atEnd_ = false;
  bool failed_ = false;
};

struct JoinContext {
  LogFile& log;
  RecordIndex& index;
  SafetyFile* safety = nullptr;  // the journal; may be null or not configured
  WriteCounters& counters;
  int firstRow = 7;  // the first pass's row; the second is two rows below
};

struct JoinResult {
  bool joined = false;
  std::string reason;  // "" or why the join stopped
  std::string fatal;   // the program ends with this (the log cannot be reopened, no index memory)
  int records = 0;
  int timeRecords = 0;
  int headers = 0;
};

// Both passes over `file`, with their rows, progress and the counts at the end.
JoinResult JoinRead(JoinContext& context, File& file, JoinFormat format, WorkRows& rows);

}  // namespace vondal

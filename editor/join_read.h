// Join read: the records of another file appended to the open log, its index and its journal.
// The file may be a log or a safety file (".VD", ".VDS"), a packed one (".VDP", ".VDT", where
// the ditto byte 0x1F repeats the field of the record before), a CSV separated by TAB or ","
// (".CSV", no quoting, an optional heading line; CP932 or UTF-8) or an ADIF file (".ADI",
// ".ADIF"; contacts already in the log are skipped). The whole file is checked first and nothing is
// written when a line or record is faulty; the appends then run behind the log's write-ahead
// record, so that a failure or a kill leaves the log with all of the file's records or with none.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "adif/adif_time.h"
#include "app/text/charset.h"
#include "editor/work_rows.h"
#include "log/file_system.h"
#include "log/log_file.h"
#include "log/log_format.h"
#include "log/record_index.h"
#include "log/safety_file.h"
#include "log/write_counters.h"

namespace vondal {

enum class JoinFormat { kNone, kLog, kSafety, kPacked, kPackedSafety, kCsv, kAdif };

// The format a file name asks for, by its extension in either case; kNone for any other.
JoinFormat JoinFormatOf(std::string_view name);

// What a line (or an ADIF record) was. Empty lines and a Ctrl-Z (0x1A) ending the file are
// passed over; a duplicate is an ADIF contact the log holds already.
enum class JoinLineKind { kRecord, kTimeRecord, kHeader, kEmpty, kDuplicate };

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
  // After a refusal: what is wrong with the line, in the words of its fields ("DATEはYYMMDD(6桁
  // の数字)です: 2024/01/01"), for the row below the reason.
  const std::string& detail() const { return detail_; }

  int records() const { return records_; }
  int timeRecords() const { return timeRecords_; }
  int headers() const { return headers_; }

 private:
  // The reason, with the detail made from the line: `field` the field at fault (for a NUL byte any
  // field, -1 for none), `at` where its text begins.
  std::string Refuse(const char* reason, std::string_view line, int field = -1, size_t at = 0);

  JoinFormat format_;
  char separator_;
  bool dataSeen_ = false;     // a line was taken as data (CSV: the heading can come no more)
  bool hasPrevious_ = false;  // a record supplied the fields a ditto byte repeats
  std::array<std::string, kStoredFieldCount> previous_;  // the packed formats' record before
  int records_ = 0;
  int timeRecords_ = 0;
  int headers_ = 0;
  std::string detail_;
};

// The lines of a file, read through one large buffer: without their line end (LF or CR LF); a
// line of more than kJoinLineLimit bytes comes in pieces of that size. A Ctrl-Z (0x1A) that ends
// the file, as old DOS and Windows programs write one, is no part of the last line.
inline constexpr size_t kJoinLineLimit = 1000;

class JoinLines {
 public:
  explicit JoinLines(File& file);
  // The next line; false at the end of the file or on a read error (failed() says which).
  bool Next(std::string_view& line);
  bool failed() const { return failed_; }
  // Where in the file the line Next gave last begins.
  int64_t lineOffset() const { return lineOffset_; }

 private:
  File& file_;
  std::vector<char> buffer_;
  size_t begin_ = 0;  // the unread bytes are buffer_[begin_, end_)
  size_t end_ = 0;
  int64_t offset_ = 0;  // the file's bytes read so far
  int64_t lineOffset_ = 0;
  bool atEnd_ = false;
  bool failed_ = false;
};

struct JoinContext {
  LogFile& log;
  RecordIndex& index;
  SafetyFile* safety = nullptr;  // the journal; may be null or not configured
  WriteCounters& counters;
  int firstRow = 7;                    // the first pass's row; the second is two rows below
  TimeZone logClock = TimeZone::kJst;  // the clock the log keeps (`logtime`), for ADIF's UTC
  // An ADIF file of this many bytes or more is mapped in two stretches side by side.
  size_t adifTwoStretchesFrom = 8u << 20;
};

// Something of the file the log did not take as it stood: a text cut or given "?" for a character
// CP932 lacks, a contact skipped as one the log holds, a value set aside. For the join's report.
struct JoinNote {
  long number = 0;       // the line (the record of an ADIF file), counting from 1
  std::string callsign;  // of the contact, as joined
  std::string date;      // DATE, as joined
  std::string text;      // what happened ("NAME: 切詰め「…」")
};

struct JoinResult {
  bool joined = false;
  std::string reason;  // "" or why the join stopped
  std::string detail;  // what is wrong with the line or record that stopped it, or ""
  std::string fatal;   // the program ends with this (the log cannot be reopened, no index memory)
  int records = 0;
  int timeRecords = 0;
  int headers = 0;
  int duplicates = 0;                         // ADIF contacts skipped as already in the log
  TextCharset charset = TextCharset::kAscii;  // of a CSV or ADIF file's texts
  std::vector<JoinNote> notes;                // of a file that was joined; the report lists them
};

// Both passes over `file`, with their rows, progress and the counts at the end.
JoinResult JoinRead(JoinContext& context, File& file, JoinFormat format, WorkRows& rows);

}  // namespace vondal

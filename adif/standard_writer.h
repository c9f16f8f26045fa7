// The standard form of ADIF 3.1, the export other loggers and the QSL services read
// (doc/adif.md): a header with ADIF_VER, PROGRAMID, PROGRAMVERSION and CREATED_TIMESTAMP, then one
// line a record. QSO_DATE, TIME_ON and TIME_OFF are UTC; BAND, MODE and SUBMODE come from ADIF's
// enumerations; the fields ADIF keeps ASCII carry ASCII only, and a Japanese text goes to the
// field's _INTL counterpart in UTF-8, its length counting bytes; QSL_SENT and QSL_RCVD stand for
// sQSL and rQSL. Whatever the standard fields cannot give back exactly as the log holds it is
// kept too, as the log's own text, in APP_Vondal_<field> (APP_Vondal_MODE, APP_Vondal_sQSL …),
// so that nothing of the log is lost on the way.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "adif/adif_modes.h"
#include "log/record.h"

namespace vondal {

// What the standard fields could not say, over the records written so far.
struct StandardAdifCounts {
  int64_t records = 0;
  // MODE texts that are neither a mode nor a submode of ADIF: no MODE item, only APP_Vondal_MODE.
  int64_t unknownModes = 0;
  // Other texts no standard field can hold, only in their APP_Vondal_ field: a DATE, START or END
  // that is no date or time, a FREQ that is no number, Japanese in CALLSIGN, a report or CONTEST.
  int64_t appOnly = 0;
};

// CREATED_TIMESTAMP's form of a moment (seconds since 1970-01-01 00:00 UTC): "YYYYMMDD HHMMSS".
std::string AdifTimestamp(int64_t unixSeconds);

// The header, once at the top of a file: a line that names the program and says the times are
// UTC, ADIF_VER, PROGRAMID, PROGRAMVERSION, CREATED_TIMESTAMP (`created` as AdifTimestamp gives
// it), then <EOH>, each line ending CR LF.
std::string StandardAdifHeader(std::string_view created);

class StandardAdifWriter {
 public:
  // `logInUtc`: the log keeps its DATE, START and END in UTC already; otherwise they are JST and
  // go nine hours back (DATE a day back across midnight).
  explicit StandardAdifWriter(bool logInUtc) : logInUtc_(logInUtc) {}

  // Appends one record (the 17 stored texts, CP932): its items on one line and "<EOR>" CR LF.
  void AppendRecord(std::string& out, const RecordTexts& texts);

  const StandardAdifCounts& counts() const { return counts_; }

 private:
  bool logInUtc_;
  StandardAdifCounts counts_;
  // The last MODE text and what it is in ADIF: whether it is kept beside MODE, whether a phone
  // mode (reports of two digits).
  std::string lastModeText_;
  std::optional<AdifMode> lastMode_;
  bool lastModeKept_ = false;
  bool lastPhone_ = false;
};

}  // namespace vondal

// The items one pass of the join goes through: the lines of a log, safety file, packed file or
// CSV, or the records of an ADIF file, each checked and, when it is a contact, laid out as the
// log line it becomes. JoinRead runs two such passes over one file.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "adif/duplicates.h"
#include "editor/join_read.h"
#include "log/file_system.h"

namespace vondal {

class JoinItems {
 public:
  virtual ~JoinItems() = default;

  // The next item; false at the end of the file or on a read error (failed()). On true: `reason`
  // "" with `kind` and, for a record, its 200-byte log line in `image`; or the reason the item is
  // refused, and detail() says what is wrong with it.
  virtual bool Next(std::string& reason, JoinLineKind& kind, char* image) = 0;
  virtual bool failed() const { return false; }
  virtual std::string detail() const = 0;
  // The counts so far into `result` (records, time records, headers, duplicates, the charset).
  virtual void Count(JoinResult& result) const = 0;
};

// The lines of `file` in `format` (any but kAdif). A CSV's charset is decided at its first line
// that is not ASCII (kAscii: not yet); a UTF-8 CSV is converted to CP932 line by line. `notes`
// (may be null) gets a note for every line with a character CP932 lacks.
std::unique_ptr<JoinItems> JoinLineItems(File& file, JoinFormat format, TextCharset charset,
                                         std::vector<JoinNote>* notes);

// What mapping one stretch of an ADIF file's records gave (the file's records in one or two
// stretches, mapped side by side).
struct AdifStretch {
  // For each record mapped: the size of its text area in one byte, a byte that is 1 once the
  // contact is found in the log (the second pass passes it over), then the area.
  std::string kept;
  int records = 0;
  // What each record lost ("NAME: 切詰め「…」"), by the record's number in the stretch from 1.
  std::vector<JoinNote> notes;
  // The record behind the last one mapped is refused: why, and its own words.
  std::string refusal;
  std::string detail;
  size_t end = 0;       // where in the text the stretch's last record ends
  size_t leftOver = 0;  // bytes behind the last <EOR> that end no record (the last stretch)
};

// What the passes over an ADIF file share: its text (the file mapped or read), the contacts of
// the log found again, the log's clock, and what the first pass keeps for the second.
struct AdifJoin {
  std::string_view text;
  std::unique_ptr<DuplicateFinder> finder;  // null for an empty log
  TimeZone logClock = TimeZone::kJst;
  // A text of this many bytes or more is mapped in two stretches at once, on two threads.
  size_t twoStretchesFrom = 8u << 20;
  std::vector<AdifStretch> stretches;
};

// The records of an ADIF file. The first pass (`notes` not null) reads and maps them, asks the
// finder, notes what each record lost and keeps what it took in join.kept; the second pass (null)
// hands out what the first kept.
std::unique_ptr<JoinItems> JoinAdifItems(AdifJoin& join, std::vector<JoinNote>* notes);

}  // namespace vondal

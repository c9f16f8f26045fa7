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

// What the passes over an ADIF file share: its text (the file mapped or read), the contacts of
// the log found again, the log's clock, and what the first pass keeps for the second.
struct AdifJoin {
  std::string_view text;
  std::unique_ptr<DuplicateFinder> finder;  // null for an empty log
  TimeZone logClock = TimeZone::kJst;
  // For each record taken: the size of its text area in one byte, then the area; 0 alone for a
  // contact found in the log.
  std::string kept;
};

// The records of an ADIF file. The first pass (`notes` not null) reads and maps them, asks the
// finder, notes what each record lost and keeps what it took in join.kept; the second pass (null)
// hands out what the first kept.
std::unique_ptr<JoinItems> JoinAdifItems(AdifJoin& join, std::vector<JoinNote>* notes);

}  // namespace vondal

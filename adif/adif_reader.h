// Reading ADIF's tagged text (ADI): an optional header ended by <EOH>, then records of fields
// <NAME:length[:type]>value, each record ended by <EOR>. Tag names count in any case; lengths
// count the file's bytes; anything between fields is passed over. The reader only splits the
// text: it hands out each record's fields as they stand in the file, and says which charset and
// which clock the file's values are in. adif_record.h turns a record into a contact of the log.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "adif/adif_time.h"
#include "app/text/charset.h"

namespace vondal {

// One field of a record: views into the text given to the reader.
struct AdifField {
  std::string_view name;   // as written ("call", "QSO_DATE", "APP_Vondal_REMARKS.QSL[]")
  std::string_view value;  // the file's bytes, exactly `length` of them
};

// The first header line of the processing menu's own ADIF export. Its times are JST unless the
// rest of the line says "(UTC)" (the export converted them); its texts are CP932.
inline constexpr std::string_view kOwnExportLine = "ADIF Export from Vondal";

class AdifReader {
 public:
  // `text` is a whole ADI file (or message); it must outlive the reader and every field handed
  // out. The charset is decided here, from the text as a whole.
  explicit AdifReader(std::string_view text);

  // The charset of the values: CP932 in the processing menu's own export; otherwise UTF-8 when
  // the bytes are UTF-8 (or begin with its byte order mark), CP932 when they are not, ASCII when
  // there is no byte above 0x7F.
  TextCharset charset() const { return charset_; }
  // The clock of the file's times: UTC, except in the processing menu's own export (kOwnExportLine),
  // JST there unless its first line says "(UTC)".
  TimeZone clock() const { return clock_; }
  bool ownExport() const { return ownExport_; }

  // The fields of the next record, in file order, into `fields` (cleared first); false when no
  // record is left. A record is the fields up to an <EOR>; an <EOR> with no field before it ends
  // nothing.
  bool Next(std::vector<AdifField>& fields);
  // The records handed out so far: the number of the last one, counting from 1.
  int count() const { return count_; }
  // Once Next has returned false: the bytes from the first field of a record that no <EOR> ends
  // (or whose last value runs past the end of the text) to the end; 0 when the text ends whole.
  size_t leftOver() const { return leftOver_; }

  // Back to the first record.
  void Rewind();

  // Where the reader stands in the text: behind the last record handed out (its <EOR>).
  size_t position() const { return pos_; }
  // Goes on from `position` (behind an <EOR>, as a record's end), counting records from 1 again:
  // a second reader of the same text maps a later stretch of it.
  void Seek(size_t position) {
    pos_ = position;
    count_ = 0;
    leftOver_ = 0;
  }

 private:
  std::string_view text_;
  size_t recordsStart_ = 0;  // behind the header
  size_t pos_ = 0;
  int count_ = 0;
  size_t leftOver_ = 0;
  TextCharset charset_ = TextCharset::kAscii;
  TimeZone clock_ = TimeZone::kUtc;
  bool ownExport_ = false;
};

}  // namespace vondal

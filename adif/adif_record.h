// One ADIF record as a contact of the log: its fields (as the reader hands them out, or as a
// program that announces contacts gives them) mapped onto DATE … rQSL, its times moved to the
// log's clock, its texts converted to CP932 and fitted into the record; or the reason it cannot
// be one. doc/adif.md has the table of which field goes where.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "adif/adif_reader.h"
#include "adif/adif_time.h"
#include "app/text/charset.h"
#include "log/record.h"

namespace vondal {

struct AdifMapOptions {
  TextCharset charset = TextCharset::kUtf8;  // of the values (kAscii is read as UTF-8)
  TimeZone fileClock = TimeZone::kUtc;       // of QSO_DATE, TIME_ON and TIME_OFF
  TimeZone logClock = TimeZone::kJst;        // the clock the log keeps (`logtime`)
};

// A contact made from one record. Reused from record to record: MapAdifRecord overwrites all of it.
struct AdifContact {
  // DATE … rQSL in CP932; AUX1 and AUX2 stay empty. When `refusal` is empty: DATE six digits and
  // START four (a real date and time of 1950-2049 on the log's clock), END four bytes, CALLSIGN
  // of 2-24 bytes, FREQ and MODE not empty, no text longer than its field's maximum, all texts
  // together within the record budget, no control byte (so no 0x1E or 0x1F) anywhere.
  Record record;
  // "" or why the record cannot be a contact, in the words of the join's stop line (the text
  // reads on with "ので中断します"): "CALLがない", "QSO_DATEが日付でない", …
  std::string refusal;
  // What was cut, replaced by "?" or set aside, one CP932 text each, beginning with the field's
  // name in the log ("REMARKS: …"); empty when the record came over whole.
  std::vector<std::string> notes;
};

// Maps one record. `fields` are (name, value) pairs in any order and any case of the names; the
// first of two fields of one name counts. Values are in options.charset; a field built by hand
// gives its texts in UTF-8 (or ASCII), its times as ADIF writes them (QSO_DATE YYYYMMDD, TIME_ON
// HHMM or HHMMSS) and FREQ in MHz. Fields the log has no place for are left out, except those
// doc/adif.md names, which go into REMARKS as subfields.
void MapAdifRecord(std::span<const AdifField> fields, const AdifMapOptions& options, AdifContact& contact);

}  // namespace vondal

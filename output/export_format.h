// The lines the log outputs write, apart from files and screens: a packed line, a CSV line and its
// header, an ADIF record and the ADIF header; and the JST to UTC conversion CSV and ADIF share.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "log/record.h"
#include "output/field_selection.h"

namespace vondal {

// DATE (YYMMDD) and START (HHMM) nine hours back, a day back across midnight (the month's last
// day from the two-digit year, 00 back to 99); END (exactly four digits) nine hours back on the
// same date. Texts that are not six and four digits stay as they are.
void JstToUtc(std::string& date, std::string& start, std::string& end);

// A packed line: the 17 texts each behind its separator 0x1E, then CR LF. High packing writes
// 0x1F for a text equal to the previous line's and drops trailing separators; `previous` holds
// the texts of the line before (and is updated). A content of 199 bytes loses its last byte.
void AppendPackedLine(std::string& out, const RecordTexts& texts, bool high,
                      std::array<std::string, kStoredFieldCount>& previous, bool first);
inline std::string PackedLine(const RecordTexts& texts, bool high,
                              std::array<std::string, kStoredFieldCount>& previous, bool first) {
  std::string line;
  AppendPackedLine(line, texts, high, previous, first);
  return line;
}

struct CsvOptions {
  std::string delimiter = "\t";
  bool quotes = false;
  std::string outer = ";";  // the subfields' outer separator
  bool jstToUtc = false;
};

std::string CsvHeader(const FieldSelection& selection, const CsvOptions& options);
void AppendCsvLine(std::string& out, const RecordTexts& texts, const FieldSelection& selection,
                   const CsvOptions& options);
inline std::string CsvLine(const RecordTexts& texts, const FieldSelection& selection,
                           const CsvOptions& options) {
  std::string line;
  AppendCsvLine(line, texts, selection, options);
  return line;
}
// True when a CSV line is the stored texts as they lie in the record: every stored field once, in
// field order and whole, without quotes or time conversion, behind a one-byte delimiter.
bool CsvLineIsStoredTexts(const FieldSelection& selection, const CsvOptions& options);
// The line of such a selection taken straight from the record's image, its separators turned into
// the delimiter (a separator is never a trail byte). False, with `out` untouched, when the texts do
// not all lie within the image's text area (a record that fills its budget to the last byte).
bool AppendStoredTextsLine(std::string& out, const char* image, const RecordTexts& texts, char delimiter);

// The six header lines, each with CR LF. The first says the clock of the times written, "(JST)"
// or "(UTC)", so that a join of the file takes them back as they were.
std::string AdifHeader(bool utcTimes);
// One record: the selected fields, the rest of DATE … CONTEST, BAND, STX_STRING and SRX_STRING,
// "<EOR>" CR LF; items wrapped so that a line passes 80 columns only with a single item.
void AppendAdifRecord(std::string& out, const RecordTexts& texts, const FieldSelection& selection,
                      std::string_view outer, bool jstToUtc);
inline std::string AdifRecord(const RecordTexts& texts, const FieldSelection& selection,
                              std::string_view outer, bool jstToUtc) {
  std::string record;
  AppendAdifRecord(record, texts, selection, outer, jstToUtc);
  return record;
}

}  // namespace vondal

// The log record as stored: see doc/log_format.md. The log, the safety file and the logs of
// Vonrix and Vonfill all use it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "log/record.h"

namespace vondal {

inline constexpr int kRecordSize = 200;   // bytes of one record in the file
inline constexpr int kTextArea = 198;     // bytes 0-197: texts and separators, then spaces
inline constexpr char kSeparator = 0x1E;  // ends every stored text
inline constexpr char kForbidden = 0x1F;  // never inside a text either
inline constexpr int kMaxRecords = 1000000;
inline constexpr int kCompatibleMaxRecords = 500000;

using RecordImage = std::array<char, kRecordSize>;

// Lays the 17 stored texts of `record` out as a record image: each text followed by its
// separator, spaces to byte 197, CR LF. The texts must sum to at most kRecordBudget bytes (a
// record of exactly the budget loses its last separator under the CR).
RecordImage EncodeRecord(const Record& record);
// The same, laid out in the kRecordSize bytes at `image` (a writer's buffer).
void EncodeRecord(const Record& record, char* image);

// The first `count` texts of a record image, without copying: each ends at the next separator
// or at byte 198. The same texts RecordReader gives, for readers that need only the first few
// fields (the index rebuild reads DATE, START and CALLSIGN of every record).
void LeadingTexts(const char* image, int count, std::string_view* texts);

// The 17 stored texts of a record image, as the reader sees them.
class RecordReader {
 public:
  // Splits the first 198 bytes of `image` into the 17 texts: separators are appended after
  // them, so a record whose last separator was overwritten by the line end still has all 17
  // texts. The returned views stay valid until the next Split.
  const RecordTexts& Split(const char* image);

  const RecordTexts& texts() const { return texts_; }

 private:
  // The text area, the separators put behind it, and room to look at it 16 bytes at a time.
  static constexpr size_t kSplitBytes = (kTextArea + kStoredFieldCount + 15) / 16 * 16;
  char buffer_[kSplitBytes] = {};
  RecordTexts texts_{};
};

}  // namespace vondal

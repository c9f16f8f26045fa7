// The field set of a record and the field table that describes each field: where it stands on
// the edit screen, how long it may be, which keys end its input, and nine attribute letters.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vondal {

// Fields in record order. DATE … rQSL are stored in the log; AUX1 and AUX2 live only in the
// working record.
enum Field : int {
  DATE,
  START,
  END,
  CALLSIGN,
  FREQ,
  MODE,
  sRST,
  rRST,
  QTH,
  NAME,
  RIG,
  CONTEST,
  REMARKS,
  MyQTH,
  MyRIG,
  sQSL,
  rQSL,
  AUX1,
  AUX2,
};

inline constexpr int kFieldCount = 19;
inline constexpr int kStoredFieldCount = 17;

// Positions of the nine attribute letters.
enum AttributePosition : int {
  kWidthClass = 0,          // S 標準, L 拡大, C 条件
  kCursorOnEntry = 1,       // H 先頭, T 末尾
  kReserved = 2,            // N F J D K; nothing reads it
  kCaseConversion = 3,      // U L I R N
  kAutoFillSource = 4,      // D 規定ﾃﾞｰﾀ, P 前回ﾃﾞｰﾀ
  kAutoFillPrecedence = 5,  // O 現状無視, S 現状優先, C 現状保護
  kBlankRule = 6,           // A 可, B 不可
  kMaskType = 7,            // A plain matcher, C extended, c call-sign only
  kMaskCase = 8,            // S case-sensitive, I ignore case, c call-sign only
};

struct FieldEntry {
  uint8_t page;           // 0-2: the row pair of the edit area
  uint8_t column;         // screen column of the field's text
  uint8_t width;          // display width in columns
  uint8_t maxLength;      // the most bytes the field may hold
  uint8_t exitKeyOffset;  // where the field's exit keys start in kExitKeys
  char attributes[10];    // nine letters; " " where a position does not apply
  char name[9];           // up to 8 ASCII letters, NUL-padded
};

using FieldTable = std::array<FieldEntry, kFieldCount>;

// The fixed defaults and the active table every other part of the program reads.
const FieldTable& DefaultFieldTable();
FieldTable& ActiveFieldTable();

// The field the editor starts on; set to CALLSIGN by ResetFieldTable.
extern int homeField;

// Copies the default table whole into the active table and makes CALLSIGN the home field.
void ResetFieldTable();

// Recomputes the active table's columns and widths for a console `consoleWidth` columns wide.
// With `editwidth` on, up to 40 extra columns are shared out among the fields of each page;
// with it off, columns and widths are copied back from the defaults.
void FitFieldTable(int consoleWidth, bool editwidth);

// The exit-key lists: plain key codes up to the 0xFF separator, extended-key scan codes after
// it, a 0 at the end. kExitActions gives, entry by entry, the action code the editor receives.
extern const uint8_t kExitKeys[];
extern const uint8_t kExitActions[];
inline constexpr int kExitKeySeparator = 19;  // index of the 0xFF entry

// The action code for key `code` (0xFF00 + scan code for extended keys) in field `field`,
// or -1 when the key does not end the field's input.
int ExitAction(int field, int code);

// The legend list of the information screen: a column digit, the letter and its word.
extern const std::array<const char*, 23> kAttributeLegend;

}  // namespace vondal

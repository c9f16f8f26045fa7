#include "log/field_table.h"

#include <algorithm>

namespace vondal {
namespace {

// clang-format off
constexpr FieldTable kDefaults = {{
    //page col width max exit attributes     name
    {0,  1,  7,  16,  6, "STFNDOBAI", "DATE"},
    {0,  9,  5,  16,  6, "STFNDOBAI", "START"},
    {0, 15,  5,  16,  6, "STFNDOBAI", "END"},
    {0, 21, 14,  24,  0, "SHFUDCBcc", "CALLSIGN"},
    {0, 36,  8,  16, 10, "STFNDSBAI", "FREQ"},
    {0, 45,  4,  16, 10, "SHFUDOBAI", "MODE"},
    {0, 50, 14,  24, 10, "STFNDOAAI", "sRST"},
    {0, 65, 14,  24, 10, "STFNDOAAI", "rRST"},
    {1,  1, 25,  50, 10, "CHDIDOAAI", "QTH"},
    {1, 27, 15,  50, 10, "CHFIDOAAI", "NAME"},
    {1, 43, 19,  50, 10, "SHFNDOAAI", "RIG"},
    {1, 63, 16,  50, 10, "SHFNDOAAI", "CONTEST"},
    {2,  1, 40, 150, 10, "LTNNDOAAI", "REMARKS"},
    {2, 42,  8,  50, 10, "CHNNDSAAI", "MyQTH"},
    {2, 51,  8,  50, 10, "CHFNDSAAI", "MyRIG"},
    {2, 60,  6,  50, 10, "CHFNDOAAI", "sQSL"},
    {2, 67,  6,  50, 10, "CHFNDOAAI", "rQSL"},
    {2, 74,  5, 250, 10, "CHFN     ", "AUX1"},
    {2, 74,  5, 250, 10, "CHFN     ", "AUX2"},
}};
// clang-format on

FieldTable active = kDefaults;

// The fields among which the extra columns of a wide console are shared, page by page.
struct WidenRange {
  int first;
  int last;
};
constexpr WidenRange kWidenRanges[] = {{CALLSIGN, rRST}, {QTH, CONTEST}, {REMARKS, rQSL}};

constexpr int kMaxExtraColumns = 40;

}  // namespace

// clang-format off
const uint8_t kExitKeys[] = {
    '\\', ',', '.', ';', ':', ' ',
    '=', '-', '[', ']',
    0x03, 0x0A, 0x0B, 0x0F, 0x16, 0x04, 0x07, 0x09, 0x1B,
    0xFF,
    0x49, 0x51, 0x8D, 0x91, 0x50, 0x48,              // PgUp PgDn Ctrl+Up Ctrl+Down Down Up
    0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40, 0x41, 0x42,  // F1 … F8
    0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0x5B,  // Shift+F1 … Shift+F8
    0x4F, 0x85, 0x86,                                // End F11 F12
    0,
};
const uint8_t kExitActions[] = {
    '\\', ',', '.', ';', ':', ' ',
    '=', '=', '[', ']',
    0x03, 0x0A, 0x0B, 0x0F, 0x16, 0x04, 0x07, 0x09, 0x1B,
    0xFF,
    0x15, 0x0E, 0x01, 0x1A, '+', '-',
    '1', '2', '3', '4', '5', '6', '7', '8',
    'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h',
    'O', 0x18, 0x19,
    0,
};
// clang-format on
static_assert(sizeof kExitKeys == sizeof kExitActions);

const std::array<const char*, 23> kAttributeLegend = {
    "0S標準",     "0L拡大",       "0C条件",     "1H先頭",     "1T末尾",     "2U大文字",
    "2L小文字",   "2I大頭文字",   "2R大小反転", "2N無変換",   "3D規定ﾃﾞｰﾀ", "3P前回ﾃﾞｰﾀ",
    "4O現状無視", "4S現状優先",   "4C現状保護", "5A可",       "5B不可",     "6AA型",
    "6CC型",      "6cｺｰﾙｻｲﾝ専用", "7S大小区別", "7I大小無視", "7c",
};

int homeField = CALLSIGN;

const FieldTable& DefaultFieldTable() { return kDefaults; }
FieldTable& ActiveFieldTable() { return active; }

void ResetFieldTable() {
  active = kDefaults;
  homeField = CALLSIGN;
}

void FitFieldTable(int consoleWidth, bool editwidth) {
  for (int i = 0; i < kFieldCount; ++i) {
    active[i].column = kDefaults[i].column;
    active[i].width = kDefaults[i].width;
  }
  if (!editwidth || consoleWidth <= 80) return;
  const int extra = std::min(consoleWidth - 80, kMaxExtraColumns);
  for (const WidenRange& range : kWidenRanges) {
    int remaining = extra;
    int shift = 0;
    for (int i = range.first; i <= range.last; ++i) {
      const int fieldsLeft = range.last - i + 1;
      const int grow = (remaining + fieldsLeft - 1) / fieldsLeft;
      active[i].width = static_cast<uint8_t>(active[i].width + grow);
      active[i].column = static_cast<uint8_t>(active[i].column + shift);
      shift += grow;
      remaining -= grow;
    }
  }
  active[AUX1].column = static_cast<uint8_t>(active[AUX1].column + extra);
  active[AUX2].column = static_cast<uint8_t>(active[AUX2].column + extra);
}

int ExitAction(int field, int code) {
  bool extended = false;
  for (int i = active[field].exitKeyOffset; kExitKeys[i] != 0; ++i) {
    if (i == kExitKeySeparator) {
      extended = true;
      continue;
    }
    const int key = extended ? 0xFF00 + kExitKeys[i] : kExitKeys[i];
    if (key == code) return kExitActions[i];
  }
  return -1;
}

}  // namespace vondal

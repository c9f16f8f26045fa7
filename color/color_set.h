// The colour elements of the screen and the current colour set: one console attribute per
// element (low nibble foreground, high nibble background, bright in bits 3 and 7). Every screen
// takes its colours from here; the colour sets (color_sets.h) decide which table is current.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vondal {

// The elements in table order. Three families of eleven (e record fields, r macro comments,
// m macro texts) share one order, so the string editor is handed a family by its first element.
enum class ColorElement : int {
  Title,
  Version,
  MyCallsign,
  Opening,
  MacroBox,
  MacroKey,
  MacroNumber,
  MenuKey,
  MenuLabel,
  Date,
  DateNow,
  Calendar,
  TimeStart,
  TimeEnd,
  Callsign,
  Frequency,
  Mode,
  QSL,
  Contest,
  RST,
  QTH,
  Name,
  Remarks,
  MyQTH,
  CtrlCode,
  EndOfLog,
  Found,
  MaskInfo,
  Busy,
  Border,
  RecNumber,
  NewNumber,
  FieldName,
  eText,
  eCtrl,
  eBlank,
  eEdge,
  eMenuKey,
  eMenuLabel,
  eError,
  eTextEnd,
  eCtrlEnd,
  eBlankEnd,
  eEdgeEnd,
  rText,
  rCtrl,
  rBlank,
  rEdge,
  rMenuKey,
  rMenuLabel,
  rError,
  rTextEnd,
  rCtrlEnd,
  rBlankEnd,
  rEdgeEnd,
  mText,
  mCtrl,
  mBlank,
  mEdge,
  mMenuKey,
  mMenuLabel,
  mError,
  mTextEnd,
  mCtrlEnd,
  mBlankEnd,
  mEdgeEnd,
};

inline constexpr int kColorElementCount = 66;
using ColorTable = std::array<uint8_t, kColorElementCount>;

// The letters of the 16 nibble values: the letter of nibble n is its n-th character.
inline constexpr char kColorLetters[] = "kcgbrmywKCGBRMYW";

// The names of the colour indices 0-7 (the bright variant is index + 8). The order is the
// console's: 1 COBALT and 3 BLUE are the terminal's blue and cyan (doc/color_file_format.md).
inline constexpr std::string_view kColorNames[8] = {"BLACK", "COBALT",  "GREEN",  "BLUE",
                                                    "RED",   "MAGENTA", "YELLOW", "WHITE"};
inline constexpr uint8_t kBrightBit = 0x08;  // in each nibble

// The built-in default set, used when no colour file can be read.
const ColorTable& DefaultColorTable();
inline constexpr char kDefaultSetName[] = "白馬岳の頂に憩う（規定色セット）";
inline constexpr char kDefaultSetAuthor[] = "QZ0ZZQ";

// The element's name as the colour file's text export and the colour editor show it ("Title",
// "eText", ...).
std::string_view ColorElementName(ColorElement element);
// The letters of the screens the element is used on ("C", "OD", "r" ...), the description the
// colour editor shows, and its note ("" for most).
std::string_view ColorElementGroups(ColorElement element);
std::string_view ColorElementDescription(ColorElement element);
std::string_view ColorElementNote(ColorElement element);
// The name of a screen letter: 'C' "共通", 'O' "ｵｰﾌﾟﾆﾝｸﾞ" ... ("" for any other letter).
std::string_view ColorGroupName(char letter);

// The attribute of an element in the current set.
uint8_t ColorOf(ColorElement element);
const ColorTable& CurrentColorTable();

// Makes `table` the current set's table; the menu line, message line and report lines follow.
void SetCurrentColorTable(const ColorTable& table);

// The two letters the text viewer is started with: background then foreground of Border.
std::string ViewerColorLetters();

}  // namespace vondal

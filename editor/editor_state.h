// What the record editor keeps for the whole run: its mode, the ten faces, the record slots, the
// select list, the display settings and the search conditions the header line shows. Leaving the
// editor keeps all of it; entering again continues on the same face.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "editor/condition/condition.h"
#include "editor/search_summary.h"
#include "log/field_table.h"
#include "log/record.h"

namespace vondal {

// The editor's state machine, by the letters the program uses.
enum class EditorMode : char {
  kEdit = 'C',    // field input runs in the edit area
  kNew = 'N',     // the edit area is prepared for a new record
  kMask = 'M',    // the imitation mask record is loaded for editing
  kReload = 'R',  // a record just read from the log goes into the edit area
  kSelect = 'S',  // the cursor is in the select area
};

inline constexpr int kFaceCount = 10;
inline constexpr int kMaxSelectLines = 72;

struct DisplaySettings {
  int recordBase = 0;            // record numbers shown from 0 or 1 (1strecordnr)
  bool oneLine = false;          // one-line edit area (editheight)
  bool wideEdit = false;         // wide edit area (editwidth)
  bool functionKeys = false;     // the function-key table (functionkey)
  bool multiplierTable = false;  // the multiplier table's three rows (multilist)
  bool highlight = false;        // date/time highlight (hilight) from record highlightFirst on
  int highlightFirst = 0;
  // The select-area settings and their defaults (restored by R of the display menu).
  bool weekday = true;      // showcalendar
  bool endColumn = false;   // showendtime
  int freqDigits = 3;       // -1: the integer part only; 1-5 digits after the point
  int modeWidth = 1;        // 0-5 columns
  bool rstColumn = false;   // showsignal
  int myqthWidth = 4;       // 0-18 columns
  bool myqthLeft = false;   // myqthleft: MyQTH always in its full width
  bool searchList = false;  // showbmlist: the search-list summary

  void RestoreSelectDefaults();
};

// The search conditions every search applies (set by the search and mask menus, shown in the
// header line).
struct SearchConditions {
  bool upward = false;       // searches run upwards
  char firstOccurrence = 0;  // 'A' whole call sign, 'B' body, 'P' prefix, 'S' suffix; 0 off
  char markCondition = 0;    // '*' marked only, ' ' unmarked only, 0 off
  char jaDx = 'W';           // 'J' JA only, 'D' DX only, 'W' off
  char maskType = 0;         // the active mask: 'M' imitation, 'C' calculation, 0 off
  char lastMaskType = 'M';   // the type "mask on" returns to
  bool dateFrom = false;     // the date/time-from condition, from record dateFromRecord on
  int dateFromRecord = 0;
  Record mask;             // the imitation mask record (DATE … rQSL are patterns)
  std::string expression;  // the calculation mask as typed
  Condition calculation;   // and compiled
};

// One face: a record being edited or looked at, with where the cursor was.
struct Face {
  int record = -1;  // -1: a new record
  int field = -1;   // -1: the home field
  int cursor = 0;   // the string editor's cursor and scroll offset in that field
  int offset = 0;
  Record slot;  // the texts of DATE … rQSL (AUX1 and AUX2 are not kept per face)
};

// The select area's lines: a record number per line from top to bottom (negative: an empty line
// above record 0), the last line being the current line, and a state byte per line (1 the line
// before the first hit of a call-sign search, 2 the line before the record a date search found).
struct SelectList {
  std::vector<int> records;
  std::vector<char> states;
  int cursor = 0;  // the cursor line in mode Select

  int lines() const { return static_cast<int>(records.size()); }
  int current() const { return records.empty() ? -1 : records.back(); }
};

struct EditorState {
  EditorMode mode = EditorMode::kNew;
  int current = 0;  // the record in the edit area; the record count means a new record
  Record working;   // the edit area

  std::array<Face, kFaceCount> faces;
  int face = 0;
  int markedFace = 0;
  int previousFace = 0;

  // Field input: the field the cursor is in, the last field (the one it was in before: blank in
  // the field-move menu goes back there) and the one "[" remembered.
  int field = CALLSIGN;
  int lastField = CALLSIGN;
  int markedField = CALLSIGN;
  // The field the face's cursor and scroll offsets belong to: field input puts the cursor at its
  // start place when it enters another one (-1: whichever it enters).
  int cursorField = CALLSIGN;

  // Record slots beside the faces' own.
  Record templateSlot;  // the template record (雛形)
  bool templateOn = false;
  Record maskSlot;  // the imitation mask record
  Record undoCopy;  // the edit area as it was before the editor moved to another record

  SelectList list;
  SelectList remembered;  // the view M remembers and R recalls
  int lastIns = -1;       // the record of the previous Ins and Del (Shift ranges start there)
  int lastDel = -1;
  int markedCount = 0;
  int markChannel = 0;  // the mark memory the memory menu works on, 0-7

  DisplaySettings display;
  SearchConditions conditions;
  std::string callsignSearch;  // the call-sign search buffer: CALLSIGN when field input ended
  bool presearch = false;      // searches count their hits first ("ﾌﾟﾘ検索")
  bool pageMode = false;       // a search pauses at every new page of hits
  std::string searchCount;     // the last search's count text, at column 21 of the header line
  SearchSummary summary;       // the last search's hits by band and mode
  bool entered = false;        // the editor has run before in this run
};

// The editor state of the run.
EditorState& TheEditor();

}  // namespace vondal

// The state of one string-editor session (`EditState`), the six-character edit style the caller
// hands in (`EditStyle`), the input modes keys are read in, and the buffers every session shares.
//
// Text is CP932 bytes: a lead byte (0x81-0x9F, 0xE0-0xFC) and the byte after it are one
// character, which no command, movement or drawing ever splits.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "color/color_set.h"

namespace vondal {

// How a key is read (see key_translation.h).
enum class InputMode : int {
  kEdit = 0,          // editing, with the command menu on the message line
  kEditNoMenu = 1,    // editing without it (the replace editors: replace cannot nest)
  kRangeEnd = 2,      // choosing the end of a range
  kSearchTarget = 3,  // typing a search target
  kRaw = 4,           // any key, untranslated
  kMenuKey = 5,       // a menu key: letters folded to upper case
};

// Six characters: the left edge, the fill below the maximum length, the fill beyond it, the right
// edge, the case mode ("I", "L", "R", "U", anything else none) and the highest letter that may
// follow Ctrl+] (control codes up to that letter - 64 may be typed).
struct EditStyle {
  char leftEdge = '[';
  char blank = ' ';
  char beyond = ' ';
  char rightEdge = ']';
  char caseMode = 'N';
  char controlLimit = '@';  // "@": no control code can be typed

  EditStyle() = default;
  // `six` holds exactly six single-byte characters, as the callers write them ("[･<] _").
  explicit EditStyle(std::string_view six);
};

// The keys that end editing and the code each returns. `keys` holds character codes, then the
// byte 0xFF, then scan codes of extended keys; `codes` holds, entry by entry, the exit code (the
// entry under the 0xFF is unused). The field table keeps its lists in this form.
struct ExitKeyList {
  std::string keys;
  std::string codes;

  // The exit code of a character key, or -1.
  int CharacterExit(int code) const;
  // The exit code of an extended key with this scan code, or -1.
  int ScanExit(int scan) const;
};

// The eleven colours of a family, in the order of the colour set (eText ... eEdgeEnd).
enum class EditColor : int {
  kText,
  kCtrl,
  kBlank,
  kEdge,
  kMenuKey,
  kMenuLabel,
  kError,
  kTextEnd,
  kCtrlEnd,
  kBlankEnd,
  kEdgeEnd,
};

// The longest text the editor takes: a macro text.
inline constexpr int kMaxEditBytes = 255;

struct EditState {
  std::string text;      // the line being edited
  std::string undelete;  // what the last delete command removed; emptied by every insertion
  ExitKeyList exits;
  EditStyle style;

  int messageRow = -1;  // the row of the message line; -1: the console's (H - 3)
  int row = 0;          // screen place of the first visible character
  int col = 0;
  int width = 1;      // visible columns
  int maxLength = 0;  // the most bytes the text may hold (at most kMaxEditBytes)
  int cursor = 0;     // byte index in the text
  int offset = 0;     // byte index of the first visible character
  bool modified = false;
  // The first colour of the family the line is drawn in: eText (record fields and prompts),
  // rText (macro comments) or mText (macro texts).
  ColorElement family = ColorElement::eText;

  // While Edit runs: the editing mode (kEdit or kEditNoMenu), the prompts stacked on the message
  // line ("置換前>複写>") and the key menu of the innermost step.
  bool editing = false;
  InputMode editMode = InputMode::kEdit;
  std::string prompts;
  std::string keyMenu;

  uint8_t Color(EditColor role) const;
  int MessageRow() const;
  int TextLength() const { return static_cast<int>(text.size()); }
};

// The state the program's menus and the record editor share.
EditState& TheEditState();

// The copy buffer ("ﾊﾞｯﾌｧ"), shared by every session; at most kCopyBufferBytes bytes.
inline constexpr int kCopyBufferBytes = 255;
std::string& CopyBuffer();

// The two strings of the last replace, offered again by the next one; each at most 64 bytes.
inline constexpr int kReplaceStringBytes = 64;
struct ReplaceStrings {
  std::string before;
  std::string after;
};
ReplaceStrings& TheReplaceStrings();

}  // namespace vondal

#include "macro/macro_editor.h"

#include <algorithm>
#include <cstdio>

#include "app/text/sjis.h"
#include "color/color_set.h"
#include "console/console.h"
#include "console/key_source.h"
#include "console/menu_line.h"
#include "macro/edit_display.h"
#include "macro/edit_error.h"
#include "macro/help_pages.h"
#include "macro/label_table.h"
#include "macro/macro_editor_session.h"
#include "macro/macro_notation.h"
#include "macro/macro_player.h"
#include "macro/string_editor.h"

namespace vondal {
namespace {

constexpr std::string_view kCommentStyle = ":･<] /";  // no control code can be typed
constexpr std::string_view kTextStyle = "[･<] _";     // every one, with Ctrl+]

// The exit codes of the keys that end the editing of a line. An extended key's code is what a
// macro writes after 14 to press it (Up is 14 "-", as in field input).
constexpr int kExitUp = '-';
constexpr int kExitDown = '+';
constexpr int kExitPgUp = 0x15;
constexpr int kExitPgDn = 0x0E;
constexpr int kExitEnd = 'O';
constexpr int kExitF12 = 0x19;
constexpr int kExitCtrlUp = 0x01;
constexpr int kExitCtrlDown = 0x1A;
constexpr int kExitF1 = '1';  // F1-F9 are "1"-"9", F10 is "0"
constexpr int kExitF10 = '0';

ExitKeyList LineExits() {
  ExitKeyList exits;
  exits.keys = {9, 27, '\xFF'};
  exits.codes = {9, 27, 0};
  const int scans[] = {scan::kUp,  scan::kDown, scan::kPgUp,   scan::kPgDn,
                       scan::kEnd, scan::kF12,  scan::kCtrlUp, scan::kCtrlDown};
  const int codes[] = {kExitUp,  kExitDown, kExitPgUp,   kExitPgDn,
                       kExitEnd, kExitF12,  kExitCtrlUp, kExitCtrlDown};
  for (size_t i = 0; i < std::size(scans); ++i) {
    exits.keys.push_back(static_cast<char>(scans[i]));
    exits.codes.push_back(static_cast<char>(codes[i]));
  }
  for (int f = 0; f < 10; ++f) {
    exits.keys.push_back(static_cast<char>(scan::kF1 + f));
    exits.codes.push_back(static_cast<char>(f == 9 ? kExitF10 : kExitF1 + f));
  }
  return exits;
}

// The built-in macros in the notation of macro_notation.h: F1-F4 insert Ctrl+A-Ctrl+D, F5 and F6
// the exits 13 27 and 13 9 of field input, F7 a comment pair with the cursor inside, F8 a label
// with a no-op as the place of its name; F9 a label call with such a place, F10 a pause. Ctrl+Up
// and Ctrl+Down, on a text line only, move the macro's text one macro up or down: it is cut, the
// neighbour's text exchanged for it, and the neighbour's put where it was.
constexpr std::string_view kBuiltInNotation[kBuiltInCount] = {
    "^@A",
    "^@B",
    "^@C",
    "^@D",
    "^@M^@[",
    "^@M^@I",
    "^@\\^@\\C-",
    "^@L^@_C-",
    "^@M^@G^@_C-",
    "^@P",
    "M[@A-@CBeAN-N-BxAN+N+]N-N-",
    "M[@A-@CBeAN+N+BxAN-N-]N+N+",
};

}  // namespace

MacroEditorMemory& TheMacroEditorMemory() {
  static MacroEditorMemory memory;
  return memory;
}

void ResetMacroEditor() { TheMacroEditorMemory() = MacroEditorMemory(); }

int RunMacroEditor(MacroEditorContext& context) { return MacroEditor(context, TheMacroEditorMemory()).Run(); }

MacroEditor::MacroEditor(MacroEditorContext& context, MacroEditorMemory& memory)
    : context_(context), memory_(memory), store_(TheMacroStore()) {}

int MacroEditor::Run() {
  store_.TakeOnEntry();
  ThePlayer().SetRecordingState(kRecordingOff);
  if (!memory_.builtInsReady) {
    for (int i = 0; i < kBuiltInCount; ++i) memory_.builtIns[i] = FromMacroNotation(kBuiltInNotation[i]);
    memory_.builtInsReady = true;
  }
  KeepInList();
  ShowMenu("");
  for (;;) {
    const int result = Act(EditCurrent());
    if (result >= 0) {
      ShowMenu("");
      // The program's menus find the shared state as they expect it; the undelete buffer stays.
      EditState& state = TheEditState();
      std::string undelete = std::move(state.undelete);
      state = EditState();
      state.undelete = std::move(undelete);
      return result;
    }
  }
}

int MacroEditor::ShownLines() const {
  // Rows 2 up to the message line, in pairs.
  return std::max(2, (MessageRow() - kFirstRow) / 2 * 2);
}

std::string_view MacroEditor::LineText(int line) const {
  return IsTextLine(line) ? store_.TextView(MacroOf(line)) : store_.Comment(MacroOf(line));
}

int MacroEditor::LineMax(int line) const {
  return IsTextLine(line) ? macro_format::kMaxTextBytes : MacroStore::MaxCommentBytes(MacroOf(line));
}

void MacroEditor::SetLineText(int line, std::string_view text) {
  const std::string_view cut = CutAtCharacter(text.substr(0, text.find('\0')), LineMax(line));
  if (cut == LineText(line)) return;
  if (IsTextLine(line)) {
    store_.SetText(MacroOf(line), cut);
  } else {
    store_.SetComment(MacroOf(line), cut);
  }
  store_.Changed();
}

void MacroEditor::SetUpLine(EditState& state, int line) {
  const bool text = IsTextLine(line);
  state.text = std::string(LineText(line));
  state.style = EditStyle(text ? kTextStyle : kCommentStyle);
  state.family = text ? ColorElement::mText : ColorElement::rText;
  state.maxLength = LineMax(line);
  state.width = text ? TheScreen().Width() - 4 : state.maxLength + 1;
  state.row = RowOf(line);
  state.col = kTextColumn;
  state.exits = LineExits();
  state.messageRow = -1;
  state.modified = false;
  const LinePlace& place = Place(line);
  state.cursor = std::clamp(place.cursor, 0, state.TextLength());
  if (!IsCharStart(state.text, state.cursor)) --state.cursor;
  state.offset = std::clamp(place.offset, 0, state.cursor);
}

void MacroEditor::KeepInList() {
  memory_.line = std::clamp(memory_.line, 0, LineCount() - 1);
  memory_.mark = std::clamp(memory_.mark, 0, LineCount() - 1);
  memory_.jumpOrigin = std::clamp(memory_.jumpOrigin, 0, LineCount() - 1);
  FollowCurrent();
}

void MacroEditor::FollowCurrent() {
  const int shown = ShownLines();
  int& first = memory_.first;
  // A pair never splits: the first line shown is always a comment line.
  if (Current() < first) first = Current() - Current() % 2;
  if (Current() >= first + shown) first = Current() - shown + 1 + (Current() - shown + 1) % 2;
  first = std::clamp(first, 0, std::max(0, LineCount() - shown));
  first -= first % 2;
}

void MacroEditor::DrawLine(int line) {
  Screen& screen = TheScreen();
  const int row = RowOf(line);
  const int n = MacroOf(line);
  screen.ClearRows(row, row);
  char number[16];
  std::snprintf(number, sizeof number, "%02d", n);
  const uint8_t numberAttr = ColorOf(ColorElement::MacroNumber);
  screen.PutTextToEnd(number, row, 0, numberAttr, numberAttr);
  if (n == MacroOf(Current())) screen.ReverseCells(row, 0, 1);
  EditState shown;
  SetUpLine(shown, line);
  DrawEditLine(shown, true);
  const uint8_t keyAttr = ColorOf(ColorElement::MacroKey);
  const int slotColumn = screen.Width() - 7;
  if (line == 0) {
    screen.PutTextToEnd("ｷｰﾏｸﾛ ", row, slotColumn, keyAttr, keyAttr);
  } else if (!IsTextLine(line) && store_.SlotOf(n) >= 0) {
    screen.PutTextToEnd(SlotName(store_.SlotOf(n)), row, slotColumn, keyAttr, keyAttr);
  }
}

void MacroEditor::DrawAll() {
  Screen& screen = TheScreen();
  FollowCurrent();
  screen.ClearRows(0, MessageRow() - 1);
  screen.PutTextToEnd(context_.fileName, 1, kTextColumn, ColorOf(ColorElement::Title),
                      ColorOf(ColorElement::Title));
  const int last = std::min(LineCount(), memory_.first + ShownLines());
  for (int line = memory_.first; line < last; ++line) DrawLine(line);
  Flush();
}

void MacroEditor::GoTo(int line, bool jump) {
  if (jump) memory_.jumpOrigin = memory_.line;
  memory_.line = std::clamp(line, 0, LineCount() - 1);
}

void MacroEditor::GoToPlace(int line, int cursor) {
  GoTo(line, true);
  Place(Current()) = {cursor, std::max(0, cursor - 8)};
}

void MacroEditor::ResetPlaces() { memory_.places.fill({}); }

void MacroEditor::Error(std::string_view text) { ShowMessage(text, TheEditState()); }

int MacroEditor::EditCurrent() {
  DrawAll();
  EditState& state = TheEditState();
  EditState fresh;
  SetUpLine(fresh, Current());
  std::string undelete = std::move(state.undelete);  // the undelete buffer outlives the line
  state = std::move(fresh);
  state.undelete = std::move(undelete);
  const int exit = Edit(state, InputMode::kEdit);
  Place(Current()) = {state.cursor, state.offset};
  if (state.modified) SetLineText(Current(), state.text);
  return exit;
}

void MacroEditor::PlayBuiltIn(int which) {
  ThePlayer().StartMacro(TheEditState(), memory_.builtIns[which].c_str());
}

int MacroEditor::Act(int exit) {
  const int step = ShownLines() - 2;
  switch (exit) {
    case 13:
      return kIntoRecordEditor;
    case 9:
      MoveMenu();
      return -1;
    case 27:
      return EscMenu();
    case kExtendedKey + kExitUp:
      GoTo(Current() == 0 ? LineCount() - 1 : Current() - 1, false);
      return -1;
    case kExtendedKey + kExitDown:
      GoTo(Current() == LineCount() - 1 ? 0 : Current() + 1, false);
      return -1;
    case kExtendedKey + kExitPgUp:
      GoTo(std::max(0, Current() - step), false);
      return -1;
    case kExtendedKey + kExitPgDn:
      GoTo(std::min(LineCount() - 1, Current() + step), false);
      return -1;
    case kExtendedKey + kExitEnd:
    case kExtendedKey + kExitF12:
      Help();
      return -1;
    case kExtendedKey + kExitCtrlUp:
      PlayBuiltIn(kBuiltInCtrlUp);
      return -1;
    case kExtendedKey + kExitCtrlDown:
      PlayBuiltIn(kBuiltInCtrlDown);
      return -1;
    default:
      break;
  }
  const int key = exit - kExtendedKey;
  if (key >= kExitF1 && key <= '9') {
    if (key <= '8' || TheConsoleSwitches().authorsuse) {
      PlayBuiltIn(key - kExitF1);
    } else {
      Beep();
    }
  } else if (key == kExitF10) {
    if (TheConsoleSwitches().authorsuse) {
      PlayBuiltIn(9);
    } else {
      Beep();
    }
  }
  return -1;
}

void MacroEditor::Help() {
  const int page = ShowHelpPages(context_.fs, context_.helpFile, memory_.helpPage);
  if (page >= 0) memory_.helpPage = page;
  ShowMenu("");
}

void MacroEditor::MoveMenu() {
  char menu[160];
  const int mark = memory_.mark;
  std::snprintf(menu, sizeof menu, ">移動> $00～%02d$ﾏｸﾛ# [ﾏｰｸ ]%02d:%s Lﾗﾍﾞﾙ", store_.Count() - 1,
                MacroOf(mark), IsTextLine(mark) ? "ﾏｸﾛ" : "注釈");
  ShowMenu(menu);
  const KeyEvent key = ReadKey();
  ShowMenu("");
  if (key.code >= '0' && key.code <= '9') {
    std::snprintf(menu, sizeof menu, ">移動>ﾏｸﾛ番号> $%c_$", static_cast<char>(key.code));
    ShowMenu(menu);
    const KeyEvent second = ReadKey();
    ShowMenu("");
    if (second.code == 27) return;
    if (second.code < '0' || second.code > '9') {
      RejectKey(second.code);
      return;
    }
    const int n = (key.code - '0') * 10 + (second.code - '0');
    if (n >= store_.Count()) {
      Error("番号が不正です");
      return;
    }
    GoTo(TextLine(n), true);
    return;
  }
  switch (key.upper) {
    case '[':
      memory_.mark = Current();
      return;
    case ']':
      GoTo(memory_.mark, true);
      return;
    case 9:
    case ' ':
      GoTo(memory_.jumpOrigin, true);
      return;
    case 'L':
      MoveByLabel();
      return;
    default:
      RejectKey(key.code);
      return;
  }
}

void MacroEditor::MoveByLabel() {
  if (!IsTextLine(Current())) {
    Error("ﾏｸﾛ行ではありません");
    return;
  }
  const int n = MacroOf(Current());
  const int cursor = Place(Current()).cursor;
  LabelTable labels;
  labels.Build(store_);
  for (const LabelCall& call : LabelCalls(store_)) {
    if (call.macro != n || cursor < call.position ||
        cursor >= call.position + 2 + static_cast<int>(call.name.size()))
      continue;
    const int found = labels.Find(call.name);
    if (found < 0) {
      Error("ﾗﾍﾞﾙがありません");
      return;
    }
    const LabelEntry& label = labels.entries()[found];
    GoToPlace(TextLine(label.macro), label.position);
    return;
  }
  for (const LabelEntry& label : labels.entries()) {
    if (label.macro != n || cursor < label.position ||
        cursor > label.position + static_cast<int>(label.name.size()))
      continue;
    if (label.mark != LabelEntry::kCalled) {
      Error("呼ばれていないﾗﾍﾞﾙです");
      return;
    }
    ChooseCall(label.name);
    return;
  }
  Error("ﾗﾍﾞﾙ命令ではありません");
}

void MacroEditor::ChooseCall(const std::string& name) {
  std::vector<LabelCall> calls;
  for (LabelCall& call : LabelCalls(store_)) {
    if (call.name == name) calls.push_back(std::move(call));
  }
  Screen& screen = TheScreen();
  const int row = MenuRow();
  const int limit = screen.Width() - 1;
  int chosen = 0;
  for (;;) {
    int col = ShowMenu(">移動>ﾗﾍﾞﾙ呼出命令> $Enter$移動");
    const int perLine = std::max(1, (limit - col) / 7);
    const int from = chosen / perLine * perLine;
    for (int i = from; i < static_cast<int>(calls.size()) && i < from + perLine; ++i) {
      char item[16];
      std::snprintf(item, sizeof item, "%02d:%3d", calls[i].macro, calls[i].position + 1);
      const uint8_t attr = ColorOf(ColorElement::MenuLabel);
      const int start = col + 1;
      col = screen.PutText(item, row, start, limit, attr, attr);
      if (i == chosen) screen.ReverseCells(row, start, col - 1);
    }
    Flush();
    const KeyEvent key = ReadKey();
    const int count = static_cast<int>(calls.size());
    if (key.code == 27) break;
    if (key.code == 13) {
      GoToPlace(TextLine(calls[chosen].macro), calls[chosen].position);
      break;
    }
    if (key.code == kExtendedKey + scan::kLeft || key.code == kExtendedKey + scan::kUp) {
      chosen = (chosen + count - 1) % count;
    } else if (key.code == kExtendedKey + scan::kRight || key.code == kExtendedKey + scan::kDown) {
      chosen = (chosen + 1) % count;
    } else {
      RejectKey(key.code);
    }
  }
  ShowMenu("");
}

}  // namespace vondal

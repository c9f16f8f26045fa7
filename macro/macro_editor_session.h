// The macro editor at work, shared by macro_editor.cpp (the lines, the keys of a line, the move
// menu), macro_editor_menus.cpp (the Esc menu) and macro_editor_lists.cpp (the assignment list
// and the label list).
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "macro/edit_state.h"
#include "macro/macro_editor.h"
#include "macro/macro_format.h"
#include "macro/macro_store.h"

namespace vondal {

// The built-in macros that keys of the editor are: F1-F10, Ctrl+Up, Ctrl+Down.
inline constexpr int kBuiltInCount = 12;
inline constexpr int kBuiltInCtrlUp = 10;
inline constexpr int kBuiltInCtrlDown = 11;

struct LinePlace {
  int cursor = 0;
  int offset = 0;
};

// What the editor keeps between entries.
struct MacroEditorMemory {
  int line = 1;        // the current line: 2k the comment, 2k + 1 the text of macro k
  int first = 0;       // the first line shown (even)
  int mark = 1;        // set with "[" in the move menu
  int jumpOrigin = 1;  // the line the last jump left
  char labelFilter = 'A';
  char labelSort = 'P';
  int helpPage = 0;
  std::array<LinePlace, 2 * macro_format::kMaxRecords> places{};
  std::array<std::string, kBuiltInCount> builtIns;  // macro bytes, converted on the first entry
  bool builtInsReady = false;
};

MacroEditorMemory& TheMacroEditorMemory();

class MacroEditor {
 public:
  MacroEditor(MacroEditorContext& context, MacroEditorMemory& memory);
  int Run();

 private:
  // Lines.
  int LineCount() const { return 2 * store_.Count(); }
  static int MacroOf(int line) { return line / 2; }
  static bool IsTextLine(int line) { return line % 2 == 1; }
  static int TextLine(int n) { return 2 * n + 1; }
  int ShownLines() const;
  int RowOf(int line) const { return kFirstRow + line - memory_.first; }
  int Current() const { return memory_.line; }
  LinePlace& Place(int line) { return memory_.places[line]; }
  void SetUpLine(EditState& state, int line);
  // The text of a line and the most it may hold.
  std::string_view LineText(int line) const;
  int LineMax(int line) const;
  // Stores a line's new text; a change is counted.
  void SetLineText(int line, std::string_view text);

  void FollowCurrent();
  void DrawAll();
  void DrawLine(int line);
  // Makes `line` current; a jump remembers the line it left.
  void GoTo(int line, bool jump);
  void GoToPlace(int line, int cursor);
  void ResetPlaces();
  void KeepInList();

  // The keys of a line.
  int EditCurrent();
  int Act(int exit);
  void PlayBuiltIn(int which);
  void MoveMenu();
  void MoveByLabel();
  void ChooseCall(const std::string& name);
  void Help();

  // The Esc menu (macro_editor_menus.cpp); -1 to go on editing, else what Run returns.
  int EscMenu();
  void Tidy();
  void AssignMenu();
  void CheckMenu();
  void GetMenu();
  void ExternalAccess();
  void SizeMenu();
  void FileMenu();
  void Assumption();
  void EditBuiltIns();

  // The lists (macro_editor_lists.cpp).
  void DrawAssignmentList();
  void LabelList();

  // A message that stops whatever plays (an error); ShowNote shows one that stays until the next key.
  void Error(std::string_view text);

  static constexpr int kFirstRow = 2;
  static constexpr int kTextColumn = 3;

  MacroEditorContext& context_;
  MacroEditorMemory& memory_;
  MacroStore& store_;
};

}  // namespace vondal

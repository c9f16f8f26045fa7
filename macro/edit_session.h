// One run of the string editor over an editing state: the commands of the macro language, shared
// by string_editor.cpp (the loop, insertion, movement, deletion, search), range_command.cpp and
// replace_all.cpp.
#pragma once

#include <string_view>

#include "macro/edit_state.h"
#include "macro/macro_player.h"

namespace vondal {

class EditSession {
 public:
  EditSession(EditState& state, InputMode mode);
  // Runs until an exit command; returns the exit code.
  int Run();

 private:
  int Read(InputMode mode) { return player_.ReadKey(state_, mode); }
  // One command whose first byte `code` was read in the session's mode.
  void Execute(int code);
  // A byte that means nothing here: beep; the second byte of a pair or of an extended key goes too.
  void Reject(int code, InputMode mode);
  void DropSecondByte(int code, InputMode mode);

  // Inserts at the cursor; "文字列が溢れます" when the text would grow beyond the maximum.
  bool Insert(std::string_view bytes);
  void InsertCharacter(int first);
  void InsertControlCode(int letter, InputMode mode);

  // Reads a count (digits; none is 1) and the byte after it.
  int ReadCount(InputMode mode, int* param);
  void Movement(InputMode mode);
  void Search();
  void Deletion();
  // Removes [from, to) into the undelete buffer; the cursor goes to `from`.
  void Remove(int from, int to);

  void RangeCommand(int op);
  // The range [from, to) taken by `op`; `first` and `offset` are where the command started.
  void ApplyRange(int op, int from, int to, int first, int offset);
  void ReplaceAll();
  // Edits one of the replace strings in a nested editor; false when left with Esc.
  bool EditReplaceString(std::string_view prompt, std::string& text);

  // Moves the window so that the cursor stays visible.
  void FollowCursor();
  void Redraw(int rangeFrom = -1);

  EditState& state_;
  InputMode mode_;
  MacroPlayer& player_;
};

}  // namespace vondal

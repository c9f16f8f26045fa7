// The macro editor (main-menu key M): the macro store as a list of lines, two for each macro (its
// comment, then its text), each edited with the string editor, and an Esc menu with the tidy,
// assignment, syntax-check, label-list, get, external-file, size, file and assumption commands.
// Where it stood (the current line, the marks, each line's cursor, the label list's filter and
// sort, the help page) is kept for the next entry.
#pragma once

#include <string>

#include "log/external_file.h"
#include "log/file_system.h"

namespace vondal {

struct MacroEditorContext {
  FileSystem& fs;
  ExternalFile& external;
  std::string fileName;  // the macro file, shown on row 1
  std::string helpFile;  // Ru2Macro.TXT in the program's folder
};

// What Enter returns: the main menu goes on into the record editor ("e").
inline constexpr int kIntoRecordEditor = 'e';

// Runs the editor. Returns 0 (Q), kIntoRecordEditor (Enter), or Tab, ":" or "@" for the main
// menu to act on.
int RunMacroEditor(MacroEditorContext& context);

// Back to the state of the first entry (tests).
void ResetMacroEditor();

}  // namespace vondal

// The editor's small switch menus: the template menu (P) and the Other menu (O) with the
// pre-search, limited-save and sound switches, the contest mode, the reset of every editor
// switch, the external file, time records and the assumption test of key macros.
#pragma once

#include "editor/edit_screen.h"
#include "editor/editor_context.h"
#include "editor/editor_state.h"

namespace vondal {

// What the editor must do after a menu.
enum class OtherEffect { kNone, kLayout };

void TemplateMenu(EditorState& editor);

// The Other menu's line for the switches as they stand.
std::string OtherMenuLine(const EditorState& editor, bool limitedsave, bool sound, bool authorsuse);

OtherEffect OtherMenu(const EditorContext& context, const EditLayout& layout, EditorState& editor);

// Every editor switch back to its start: conditions released, display defaults, layouts off,
// field table restored, pre-search and limited save off, sound off.
void ResetEditorSwitches(const EditorContext& context, EditorState& editor);

}  // namespace vondal

// The editor's settings menus: the display settings (D) and the input-field settings (A).
#pragma once

#include "editor/edit_screen.h"
#include "editor/editor_context.h"
#include "editor/editor_state.h"

namespace vondal {

// What a settings menu changed, so that the editor draws again what it must.
enum class MenuEffect {
  kNone,
  kSelectArea,  // the select lines look otherwise
  kLayout,      // the screen is laid out again
};

// ">表示>": record-number base, the edit area's layout, the select area's columns, the search list.
MenuEffect DisplayMenu(const EditorContext& context, EditorState& editor);

// ">入力欄>" for the current field: its attribute letters, the home field, the defaults again.
MenuEffect FieldSettingsMenu(const EditLayout& layout, EditorState& editor);

// The first record whose date-time key is not below that of the edit area's DATE and START (the
// record count when there is none).
int PositionOfEditDate(const EditorContext& context, const EditorState& editor, bool withStart);

}  // namespace vondal

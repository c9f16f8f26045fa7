// Field input, the editor's mode C: the cursor moves from field to field of the edit area and the
// string editor edits one field at a time, ended by the field's exit keys. Also auto-fill (End),
// the field-move menu (Tab) and the weekday beside DATE.
#pragma once

#include "console/key_event.h"
#include "editor/edit_screen.h"
#include "editor/editor_context.h"
#include "editor/editor_state.h"

namespace vondal {

// Returned by field input when the field-move menu asked for the face menu, and when the terminal
// was resized (the text typed so far is in the working record).
inline constexpr int kFaceMenuKey = 9;
inline constexpr int kResizedKey = kExtendedKey + scan::kResize;

// Runs field input from editor.field until a result goes back to the editor: Enter (13), Esc
// (27), Ctrl+D (4), a search key ("\" "," "." ";" ":" blank "=" "[" "]") or kFaceMenuKey. The
// CALLSIGN text is copied into the call-sign search buffer before it returns.
int RunFieldInput(const EditorContext& context, const EditLayout& layout, EditorState& editor);

// Auto-fill of field f, as End does it. The field to go on with: the next one, `field` itself
// (stay) or DATE (START could not fill DATE first). Messages go to the message line.
int AutoFill(const EditorContext& context, const EditLayout& layout, EditorState& editor, int field);

// The value auto-fill takes for field f from its source (attribute 4): "D" today, now, the mode
// of the FREQ's segment, 59/599; "P" and every other field the previous data.
std::string AutoFillValue(const EditorState& editor, const Record& previous, int field);

}  // namespace vondal

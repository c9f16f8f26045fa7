// The marks menu (editor menu T): mark sets built by call-sign search, JA/DX or all records and
// combined with the marks there are (new, narrow, add, invert, release); and the eight mark
// memories that keep further sets.
#pragma once

#include "editor/edit_screen.h"
#include "editor/editor_context.h"
#include "editor/editor_state.h"

namespace vondal {

// The new mark of a record from its old mark and whether it was selected, for operation N, A, O,
// X or D.
bool MarkAfter(char operation, bool old, bool selected);

// Operation `operation` with mark memory channel `channel` (R S E A O X D C) on every entry of
// the index.
void ApplyMemoryOperation(RecordIndex& index, int channel, char operation);

void MarksMenu(const EditorContext& context, const EditLayout& layout, EditorState& editor);

}  // namespace vondal

// The search-mask menu (editor menu M): the imitation and calculation masks, the JA/DX, date/time-
// from, mark and first-occurrence conditions.
#pragma once

#include "editor/edit_screen.h"
#include "editor/editor_context.h"
#include "editor/editor_state.h"

namespace vondal {

// Whether the menu asked to edit the imitation mask (the editor then goes to mode Mask).
enum class MaskMenuResult { kDone, kEditMask };

MaskMenuResult MaskMenu(const EditorContext& context, const EditLayout& layout, EditorState& editor);

// Compiles the current field's text as the calculation mask (menu key C): on success the mask is
// type C and on; on an error it is off, the message is shown and the field's cursor goes to the
// error position. True on success.
bool CompileCalculationMask(const EditLayout& layout, EditorState& editor);

}  // namespace vondal

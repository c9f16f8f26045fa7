// The ten faces: each keeps a record being edited with its field and cursor, so that a contact can
// be left half-typed on one face while another is looked up or written on the next.
#pragma once

#include "editor/edit_screen.h"
#include "editor/editor_state.h"

namespace vondal {

// Keeps the edit area and its place in the current face (the record -1 when it is new).
void SaveFace(EditorState& editor, int recordCount);

// Goes to face `to`: the face left is saved and becomes the previous face, the new face's slot
// comes into the edit area with its record (the new record when it had none), field and offsets.
void ChangeFace(EditorState& editor, int to, int recordCount);

// The face menu (Tab Tab): ">面> [ﾏｰｸ ]?面" and the faces with their call signs. Returns true when
// the face changed (the caller draws the edit area again).
bool FaceMenu(EditorState& editor, int width, int recordCount);

// The face menu's line for a screen `width` columns wide.
std::string FaceMenuLine(const EditorState& editor, int width);

}  // namespace vondal

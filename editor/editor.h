// The record editor: the edit screen with the select area, the header line and the edit area, its
// main loop over the modes C N M R S, and the editor menu (Esc).
#pragma once

#include "editor/editor_context.h"

namespace vondal {

// Runs the editor until the user leaves it. Returns 0 (Q) or the key the main menu then acts on
// (Tab, ":", "@", "^"). The log's write-protect flag says whether records can be written.
int RunEditor(EditorContext& context);

}  // namespace vondal

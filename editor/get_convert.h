// The Get menu (editor menu G), which puts a text computed from the record or the city list into
// the string editor's copy buffer for pasting, and the Convert menu (editor menu E), which
// rewrites the current field in place. A refused operation leaves the field as it was.
#pragma once

#include "editor/edit_screen.h"
#include "editor/editor_context.h"
#include "editor/editor_state.h"

namespace vondal {

void GetMenu(const EditorContext& context, const EditLayout& layout, EditorState& editor);
void ConvertMenu(const EditLayout& layout, EditorState& editor);

// The number of the city, gun or ward named in `text` (cut at "(", from its first two-byte
// character), in the call area of `callsign`; "" or the refusal.
std::string CityNumberOfName(std::string_view text, std::string_view callsign, std::string& number);
// The name of the number around the first digit left of byte `cursor`; "" or the refusal.
std::string CityNameAtCursor(std::string_view text, size_t cursor, bool withPrefecture, std::string& name);

}  // namespace vondal

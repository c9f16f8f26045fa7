// The pieces of the colour editor, each a screen of its own over the element grid.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "color/color_editor.h"
#include "console/screen.h"

namespace vondal {

inline constexpr int kColorEditorElementsPerColumn = 11;

// Columns of a set line (the box's bottom edge and the rows of the set list).
inline constexpr int kSetStandardCol = 3;
inline constexpr int kSetNumberCol = 6;
inline constexpr int kSetNameCol = 11;
inline constexpr int kSetAuthorCol = 62;
inline constexpr int kSetDateCol = 73;

// The editor's screen: the box in the Border colour with the set line on its bottom edge, the
// 66 element names each in its own attribute with ">" before the one at `element`, and the
// description of that element below the box.
void DrawColorEditor(const ColorSets& sets, int element);

// A set's line as the box's bottom edge and the set list show it: "標" for the standard set, the
// number in the set's own Title colour, then name, author and edit date in the colours of
// `colors` (Title, MyCallsign, Date), or in the plain attribute when it is null.
void DrawColorSetLine(Screen& screen, int row, const ColorSets& sets, int number, const ColorTable* colors);

// Sets the element's attribute; when that changes it, the change is counted, the set's edit
// date becomes today and every screen takes the new colours.
void ChangeAttribute(ColorEditorContext& context, int element, uint8_t value);
// The same bookkeeping after any other change of the current set's colours.
void CountColorEdit(ColorEditorContext& context);

// Refusals go through the context, or to the message line with a beep.
void ShowColorError(ColorEditorContext& context, std::string_view text);

// Space: the 8 × 8 palette of the element.
void RunPalette(ColorEditorContext& context, int element);
// I: the instant corrections.
void RunInstantFixes(ColorEditorContext& context);
// S: the usage spectrum of the eight colours, until a key is pressed.
void ShowSpectrum(const ColorTable& table);
// N: name, author and (in developer mode) edit date of the current set.
void EditSetName(ColorEditorContext& context);
// L: the set list.
void RunSetList(ColorEditorContext& context, int element);
// Esc: the file menu. The code to leave the editor with, or nothing to go back to the grid.
std::optional<int> RunColorFileMenu(ColorEditorContext& context);

// The code the editor leaves with for Enter, Tab, ":" and "^"; nothing for any other key.
std::optional<int> LeavingCode(int code);

}  // namespace vondal

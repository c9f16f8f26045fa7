// The colour editor (main menu C): edits the current colour set element by element with the
// effect visible at once, and manages the sets (choose, make standard, copy, delete, reorder),
// their names, a usage spectrum, instant corrections and the colour file menu.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "color/color_sets.h"

namespace vondal {

// What the colour editor needs from the program around it. Text is typed with the string
// editor, which lives in a library above this one, so the program hands in its two uses.
struct ColorEditorContext {
  ColorSets& sets;
  // A line typed after `prompt` on the menu line, starting as `initial`, at most `maxBytes`;
  // nothing when the user gave up with Esc.
  std::function<std::optional<std::string>(std::string_view prompt, std::string_view initial,
                                           size_t maxBytes)>
      inputLine;
  // Edits `text` in place at (row, col), `width` columns, at most `maxBytes`; returns the key
  // that ended editing: 13 Enter, 27 Esc, or kExtendedKey + scan::kUp / scan::kDown.
  std::function<int(std::string& text, int row, int col, int width, size_t maxBytes)> editField;
  // Shows a refusal (a file error, a set that cannot be deleted); by default on the message line
  // with a beep. The program stops a running macro here as well.
  std::function<void(std::string_view text)> showError;
  // Today as year mod 100, month, day; by default the clock's.
  std::function<std::array<uint8_t, 3>()> today;
};

// Runs the editor until the user leaves. Returns 'e' (101) for Enter, which goes on into the
// record editor, 0 for Q in the file menu, or the key Tab, ":" or "^" for the main menu to act on.
int RunColorEditor(ColorEditorContext& context);

// What the editor keeps for the whole run: the element under the cursor and the picked colour
// (-1: none picked).
struct ColorEditorMemory {
  int element = 0;
  int picked = -1;
};
ColorEditorMemory& TheColorEditorMemory();

}  // namespace vondal

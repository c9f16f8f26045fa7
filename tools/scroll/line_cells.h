// How a line of the file looks on screen: one byte per cell, a two-byte character in two cells.
// Tabs go to the next multiple of four columns ("･" in the first cell, blanks after it), control
// characters show as "^", bytes that are no character as "?", and a two-byte character cut at
// the edge of what is shown as "~". The cells never hold half a character or a raw control
// byte, so they can go to the terminal as they are.
#pragma once

#include <string>
#include <string_view>

namespace vondal::scroll {

inline constexpr int kTabWidth = 4;

// Appends the cells of columns [from, to) of the expanded line to `out`: exactly to - from
// bytes, blanks past the end of the line.
void AppendColumns(std::string_view line, int from, int to, std::string* out);

// The `width` cells of a row of a view scrolled sideways by `offset` columns. Unscrolled, the
// line from column 0. Scrolled, the first `fixed` columns stay, then "|", then the line from
// column offset + fixed (0 <= fixed <= width - 2).
std::string LineCells(std::string_view line, int offset, int fixed, int width);
// The same appended to `out`.
void AppendCells(std::string_view line, int offset, int fixed, int width, std::string* out);

// The columns the whole line takes on screen.
int ExpandedWidth(std::string_view line);

}  // namespace vondal::scroll

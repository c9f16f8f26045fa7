// The help pages of the macro editor: the file Ru2Macro.TXT in the program's folder, in pages of
// 3,364 bytes. A page is 21 lines of 160 bytes, each 78 bytes of text and 2 more, then 78 colour
// digits and 2 more (a digit d is the colour of element d of the current set, a blank that of
// rTextEnd), and 4 bytes that end the page.
#pragma once

#include <string>
#include <string_view>

#include "log/file_system.h"

namespace vondal {

inline constexpr int kHelpPageBytes = 3364;
inline constexpr int kHelpLines = 21;
inline constexpr int kHelpLineBytes = 160;
inline constexpr int kHelpTextBytes = 78;
inline constexpr int kHelpColorOffset = 80;
inline constexpr char kHelpFileName[] = "Ru2Macro.TXT";

// Shows the pages of `path` from `page` on, until Esc or Enter: Up the previous page (from the
// first to the last), Down the next (from the last to the first), a digit that page. Returns the
// page shown last, or -1 with "Ru2Macro.TXTが読めません" shown when the file cannot be read.
int ShowHelpPages(FileSystem& fs, const std::string& path, int page);

// The pages of a help file's bytes (a last page cut short is left out).
int HelpPageCount(std::string_view bytes);

}  // namespace vondal

// Showing a text file in the viewer scroll: the one way Vondal starts it (the external file's
// view, the processing outputs).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vondal {

// The arguments scroll is started with for `fileName` (CP932): the program, the file name and
// "-Vondal/" with the two colour letters (background, then foreground of the Border colour). The
// program is scroll in the program's own folder when it is there, else the one beside the
// running executable (an installed program's bin/), else "scroll" as PATH finds it. A name that
// begins with "-" gets "./" in front, so that scroll does not take it for an option.
std::vector<std::string> ViewerArguments(std::string_view fileName, std::string_view colorLetters);

// Runs scroll on `fileName` and waits for it. The program is started directly with its argument
// list, never through a shell, so that no character of a file name (quotes, "$", ";", "`") can
// run a command. The terminal is handed over with the program's screen kept, so that scroll
// scrolls it away as on the console, and is taken back and repainted afterwards.
//
// Returns scroll's exit status: 13 left with Enter, 27 with Esc, 1 after an error; or
// kViewerNotStarted when scroll could not be started, which the message line then says
// ("scrollを起動できません").
inline constexpr int kViewerNotStarted = 127;
int RunViewer(std::string_view fileName, std::string_view colorLetters);

}  // namespace vondal

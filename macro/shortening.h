// Shortening a macro text (the macro editor's 整理): runs of the same cursor movement or deletion
// become one command with the summed count, and counts are written in their shortest form. What
// the macro does stays the same.
#pragma once

#include <string>

namespace vondal {

// Rewrites `text` in place and returns the number of bytes saved (never negative). Labels with
// their names, label calls with theirs, comments, the byte after an exit code (13, 14), after a
// range command (2) or a control-code command (30), and the target of a search (3 "w") are copied
// unchanged: they are no counts, whatever their bytes.
int ShortenMacro(std::string& text);

}  // namespace vondal

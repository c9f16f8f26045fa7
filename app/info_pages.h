// The pages of the information screen, each drawn by one function from row 2 down. Inside the
// information screen's own files only.
#pragma once

#include "app/info_layout.h"

namespace vondal {

struct RunState;

// Page S goes on in views when its rows do not fit: `view` is the one shown (wrapped to the first
// after the last).
void DrawBasicPage(InfoWriter& out, const RunState& run);                // I
void DrawConsolePage(InfoWriter& out, const RunState& run);              // C
void DrawSettingsPage(InfoWriter& out, const RunState& run, int& view);  // S
void DrawUpdatesPage(InfoWriter& out, const RunState& run);              // R
void DrawDictionaryPage(InfoWriter& out, const RunState& run);           // D
void DrawAutoFillPage(InfoWriter& out, const RunState& run, int view);   // A
void DrawFieldPage(InfoWriter& out, const RunState& run);                // F
void DrawKeyMacroPage(InfoWriter& out, const RunState& run, int view);   // K
void DrawMemoryPage(InfoWriter& out, const RunState& run);               // M
void DrawSwitchPage(InfoWriter& out, const RunState& run);               // T

}  // namespace vondal

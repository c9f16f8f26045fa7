// The menu line (row H-2) and the message line (row H-3): the menu markup, messages, the fatal
// message, the key-wait prompt, the invalid-key response, the beep and the report lines of
// start-up and quit.
//
// Menu markup: an optional path ">path>" drawn in the reverse of the label colour, then items,
// each introduced by " " (shown, one blank before it), "_" (shown, joined to the one before by a
// "_"), "!" (hidden) or directly by its key. The key is "$name$" or one character and is drawn in
// the key colour; the label runs to the next blank, "_", "!" or "$" and is drawn in the label
// colour. " E編集 R閲覧" shows the keys E and R and the labels 編集 and 閲覧.
#pragma once

#include <string_view>

#include "console/key_event.h"

namespace vondal {

// Draws `menu` on `row` from column 0 (the row is not cleared) and returns the column after the
// last item drawn.
int DrawMenuMarkup(std::string_view menu, int row);

// Hides the cursor, clears the menu line, draws the menu, flushes. Returns the column after the
// last item.
int ShowMenu(std::string_view menu);

// Draws `text` at column 0 of the message line in the message colour and flushes. A text that
// begins with a digit, one more character and ")" shows that numbered prefix only in developer
// mode. (The form with an editing state, which first runs the string editor's error response,
// comes with the string editor.)
void ShowMessage(std::string_view text);

// The text ShowMessage would draw.
std::string_view MessageShown(std::string_view text);

// Shows `text` as a message, puts the cursor on the menu line, shows it with its start-up size
// and ends the program with status 1.
[[noreturn]] void FatalMessage(std::string_view text);

// Shows ">確認> $何かｷｰを押してください$" (only ">確認>" with the guide off) and reads one key.
KeyEvent WaitAnyKey();

// The response to a key a menu does not take: Esc is ignored, any other key beeps; after a lone
// lead byte or 0xFF the next key is read and dropped too.
void RejectKey(int code);

// Sounds the bell while the sound switch is on.
void Beep();

// Writes `text` at column 1 of the current report row and moves the row on by `step`; a negative
// step goes back to row 1 without drawing. Flushes each time.
void ReportLine(std::string_view text, int step);

}  // namespace vondal

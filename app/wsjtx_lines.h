// Live logging from WSJT-X and its kin in the program frame, shown only in a run with the `wsjtx`
// key: the listener opened at start-up with its line, the key wait's watch on its socket, the
// contacts written from the main menu, and page C's section on the information screen.
#pragma once

#include "app/info_layout.h"
#include "station/wsjtx_listener.h"

namespace vondal {

struct RunState;

// Start-up: the listener of the `wsjtx` key, opened unless this run cannot write the log; its line
// "WSJT-X=<address>" with "受信中" or, in the error colour, why it does not listen, at row offset
// `rowOffset`. A listener that listens is watched by every key wait from here on.
void StartWsjtx(RunState& run, int rowOffset);

// The main menu, between keys: writes the contacts waiting, draws the background again with
// `drawBackground` (may be null) when any was written, and says what happened on the message line.
void WriteWsjtxContacts(RunState& run, void (*drawBackground)(RunState&));

// Page C's "□WSJT-X": the address or why nothing is received, the counts, and the last contact
// dropped and the refusal of those waiting, with when.
void DrawWsjtxSection(InfoWriter& out, const WsjtxListener& listener);

}  // namespace vondal

// The radio on the start-up screen and on the information screen's page C, shown only in a run
// with the `rig` key.
#pragma once

#include <string>

#include "app/info_layout.h"
#include "station/rig.h"

namespace vondal {

struct RunState;

// "14.074000MHz PKTUSB": the radio's own frequency and mode word.
std::string RigReadingText(const RigReading& reading);

// Start-up: the rig of the `rig` key, asked once; its line "ﾘｸﾞ=<address>" with the reading or,
// in the error colour, why there is none, at row offset `rowOffset`.
void StartRig(RunState& run, int rowOffset);

// Page C's "□ﾘｸﾞ": the address, the last reading and when, the last failure and when.
void DrawRigSection(InfoWriter& out, const Rig& rig);

}  // namespace vondal

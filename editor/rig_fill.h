// The radio as the default data of FREQ and MODE (doc/rig.md). With the `rig` key set, a new
// record takes FREQ and MODE from the radio where they are empty, and End in either asks the
// radio again; auto-fill's own rules stand wherever the radio gives no value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "editor/editor_state.h"
#include "station/rig.h"

namespace vondal {

// FREQ as the operator writes it: MHz with `digits` digits after the point (1-5, the select
// area's FREQ digits; 3 for any other value). Cut, not rounded, so that a frequency at a band's
// upper edge stays in its band.
std::string RigFreqText(int64_t hz, int digits);

// MODE for a reading: the auto-fill mode of the radio's mode word; for a data mode the mode of
// the first `mode` line that holds the frequency (inside a band), else `dataMode`; empty for a
// mode word the log has no word for.
std::string RigModeText(const RigReading& reading, std::string_view dataMode);

// Whether the radio is the default data of `field`: a rig is set, the field is FREQ or MODE and
// its auto-fill source (attribute 4) is D.
bool RigFills(const Rig* rig, int field);

struct RigValues {
  std::string freq;  // empty: the radio gave no value
  std::string mode;
  std::string message;  // for the message line, when not empty
};

// One ask of the radio, as FREQ and MODE texts.
RigValues AskRig(Rig& rig, int freqDigits);

// Shows a failure of the radio on the message line until the next key, as a note: without the
// beep, and a playing macro goes on. Nothing for an empty message.
void ShowRigMessage(std::string_view message);

// A new record: FREQ and MODE that the radio fills and that are empty take its values (as far as
// the record budget lets them). The failure message, if any, for the message line.
std::string FillNewRecordFromRig(Rig* rig, EditorState& editor);

}  // namespace vondal

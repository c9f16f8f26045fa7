#include "editor/rig_fill.h"

#include <cstdio>

#include "console/menu_line.h"
#include "log/field_table.h"
#include "log/record.h"
#include "macro/macro_player.h"
#include "output/band_table.h"
#include "station/rig_protocol.h"

namespace vondal {

std::string RigFreqText(int64_t hz, int digits) {
  if (digits < 1 || digits > 5) digits = 3;
  int64_t unit = 1;
  for (int i = digits; i < 6; ++i) unit *= 10;
  const int64_t fraction = hz % 1000000 / unit;
  char text[40];
  std::snprintf(text, sizeof text, "%lld.%0*lld", static_cast<long long>(hz / 1000000), digits,
                static_cast<long long>(fraction));
  return text;
}

std::string RigModeText(const RigReading& reading, std::string_view dataMode) {
  const RigMode mode = ModeOfRigWord(reading.mode);
  if (mode.kind == RigModeKind::kPlain) return std::string(mode.mode);
  if (mode.kind == RigModeKind::kNone) return "";
  // A data mode: the operator's own map may name the mode used on that frequency.
  const std::string freq = RigFreqText(reading.hz, 3);
  if (BandOf(freq) >= 0) {
    const int64_t khz = FrequencyOf(freq);
    for (const Segment& segment : UserSegments()) {
      if (khz >= segment.lowKhz && khz <= segment.highKhz)
        return std::string(ModeName(segment.segmentClass - 1));
    }
  }
  return std::string(dataMode);
}

bool RigFills(const Rig* rig, int field) {
  return rig != nullptr && (field == FREQ || field == MODE) &&
         ActiveFieldTable()[field].attributes[kAutoFillSource] == 'D';
}

RigValues AskRig(Rig& rig, int freqDigits) {
  RigAnswer answer = rig.Ask();
  RigValues values;
  values.message = std::move(answer.message);
  if (answer.reading) {
    values.freq = RigFreqText(answer.reading->hz, freqDigits);
    values.mode = RigModeText(*answer.reading, rig.Status().dataMode);
  }
  return values;
}

void ShowRigMessage(std::string_view message) {
  if (message.empty()) return;
  ShowMessage(message);
  ThePlayer().KeepMessage();
}

std::string FillNewRecordFromRig(Rig* rig, EditorState& editor) {
  Record& record = editor.working;
  const bool freq = RigFills(rig, FREQ) && record[FREQ].empty();
  const bool mode = RigFills(rig, MODE) && record[MODE].empty();
  if (!freq && !mode) return "";
  RigValues values = AskRig(*rig, editor.display.freqDigits);
  // Each value only where the record budget leaves room for it.
  auto put = [&record](int field, std::string& value) {
    if (static_cast<int>(value.size()) <= FieldLimit(field, record)) record[field] = std::move(value);
  };
  if (freq) put(FREQ, values.freq);
  if (mode) put(MODE, values.mode);
  return values.message;
}

}  // namespace vondal

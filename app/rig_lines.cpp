#include "app/rig_lines.h"

#include <cstdio>

#include "app/info_system.h"
#include "app/run_state.h"
#include "color/color_set.h"
#include "station/rig_client.h"

namespace vondal {

std::string RigReadingText(const RigReading& reading) {
  char text[48];
  std::snprintf(text, sizeof text, "%lld.%06lldMHz", static_cast<long long>(reading.hz / 1000000),
                static_cast<long long>(reading.hz % 1000000));
  return reading.mode.empty() ? text : text + (" " + reading.mode);
}

void StartRig(RunState& run, int rowOffset) {
  run.rig = std::make_unique<RigClient>(run.settings.rig);
  const std::string label = "ﾘｸﾞ=" + run.rig->Status().address;
  run.ui.StartupLine(rowOffset, 0, label);
  const RigAnswer answer = run.rig->Ask();
  const int col = static_cast<int>(label.size()) + 1;
  if (answer.reading) {
    run.ui.StartupLine(rowOffset, col, RigReadingText(*answer.reading));
  } else {
    const RigStatus& status = run.rig->Status();
    run.ui.StartupLine(rowOffset, col, RigFailureText(status.failure, status.report), true);
  }
}

void DrawRigSection(InfoWriter& out, const Rig& rig) {
  const RigStatus& status = rig.Status();
  out.Title("□ﾘｸﾞ");
  out.Next();
  out.Line(2, status.address);
  if (status.last) {
    const std::string reading = RigReadingText(*status.last);
    out.Put(2, reading);
    out.Line(static_cast<int>(reading.size()) + 4, LocalTimeText(status.last->when));
  }
  if (status.failure != RigFailure::kNone) {
    const std::string failure = RigFailureText(status.failure, status.report);
    out.Put(2, failure, ColorOf(ColorElement::eError));
    out.Line(static_cast<int>(failure.size()) + 4, LocalTimeText(status.failedAt));
  }
}

}  // namespace vondal

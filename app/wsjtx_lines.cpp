#include "app/wsjtx_lines.h"

#include "adif/adif_time.h"
#include "app/info_system.h"
#include "app/run_state.h"
#include "color/color_set.h"
#include "console/console.h"
#include "console/key_watch.h"
#include "console/menu_line.h"

namespace vondal {
namespace {

// The listener as the key wait sees it.
class WsjtxWatch final : public KeyWatch {
 public:
  explicit WsjtxWatch(WsjtxListener& listener) : listener_(listener) { SetKeyWatch(this); }
  ~WsjtxWatch() override {
    if (TheKeyWatch() == this) SetKeyWatch(nullptr);
  }
  int Descriptor() const override { return listener_.Descriptor(); }
  void Receive() override { listener_.Receive(); }
  int DueInMs() const override { return listener_.DueInMs(); }

 private:
  WsjtxListener& listener_;
};

}  // namespace

void StartWsjtx(RunState& run, int rowOffset) {
  const std::optional<TimeZone> logClock = LogTimeOf(run.settings.logtime);
  run.wsjtx = std::make_unique<WsjtxListener>(run.settings.wsjtx, logClock.value_or(TimeZone::kJst));
  const std::string label = "WSJT-X=" + run.wsjtx->Status().address;
  run.ui.StartupLine(rowOffset, 0, label);
  std::string failure;
  if (!logClock) {
    failure = kBadLogtime + std::string(run.settings.logtime);
  } else if (run.settings.toggles.readonly) {
    // Read-only (the toggle, or another program holds the log): nothing may be written.
    failure = "ﾛｸﾞ書込禁止のため受信しません";
  }
  if (failure.empty()) {
    failure = run.wsjtx->Open();
  } else {
    run.wsjtx->KeepClosed(failure);
  }
  const int col = static_cast<int>(label.size()) + 1;
  if (!failure.empty()) {
    run.ui.StartupLine(rowOffset, col, failure, true);
    return;
  }
  run.ui.StartupLine(rowOffset, col, "受信中");
  run.wsjtxWatch = std::make_unique<WsjtxWatch>(*run.wsjtx);
}

void WriteWsjtxContacts(RunState& run, void (*drawBackground)(RunState&)) {
  const WsjtxWrite write = run.wsjtx->WriteWaiting(run.log, run.index);
  if (write.fatal) FatalMessage(write.message);
  if (!write.written.empty() && drawBackground != nullptr) drawBackground(run);
  if (write.message.empty()) return;
  TheScreen().ClearRows(MessageRow(), MessageRow());
  ShowMessage(write.message);
}

void DrawWsjtxSection(InfoWriter& out, const WsjtxListener& listener) {
  const WsjtxStatus& status = listener.Status();
  out.Title("□WSJT-X");
  out.Next();
  const int col = out.Put(2, status.address);
  if (!status.openFailure.empty()) {
    out.Line(col + 2, status.openFailure);
    return;
  }
  out.Next();
  out.Line(2, "受信" + std::to_string(status.arrived) + " 記録" + std::to_string(status.written) + " 重複" +
                  std::to_string(status.duplicates) + " 破棄" + std::to_string(status.dropped) + " 未記録" +
                  std::to_string(listener.Waiting().size()));
  const uint8_t error = ColorOf(ColorElement::eError);
  if (!status.refusal.empty()) {
    out.Put(2, status.refusal, error);
    out.Line(static_cast<int>(status.refusal.size()) + 4, LocalTimeText(status.refusedAt));
  }
  if (!status.lastDropped.empty()) {
    const std::string dropped = "破棄: " + status.lastDropped;
    out.Put(2, dropped, error);
    out.Line(static_cast<int>(dropped.size()) + 4, LocalTimeText(status.droppedAt));
  }
}

}  // namespace vondal

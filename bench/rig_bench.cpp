// The radio's cost to the record editor, in this process through the screen buffer and a fake
// terminal:
// - starting a new record (editor menu N) with `rig` set to a local rigctld (-m 1, hamlib's dummy
//   radio), beside the same without a rig (goal: under 10 ms more a record);
// - typing in CALLSIGN (a call sign typed and rubbed out again, a new record first) with `rig` set
//   to an address where nobody listens, beside the same without a rig (goal within 1.2x).
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "color/color_set.h"
#include "console/console.h"
#include "console/fake_terminal.h"
#include "editor/editor.h"
#include "log/file_system.h"
#include "log/log_file.h"
#include "station/rig_client.h"
#include "station/rig_test_support.h"

using namespace vondal;

namespace {

struct EditorBench {
  EditorBench() : log(fs, counters, index, safety, ui) {
    if (!log.OpenLog("R.VD").empty()) std::exit(2);
    SetCurrentColorTable(DefaultColorTable());
    AttachConsole(&screen, &terminal);
    SetKeySource(&terminal);
    ResetFieldTable();
  }

  // Runs the editor over `keys`, then Esc Q.
  void Run(const std::vector<KeyEvent>& keys, Rig* rig) {
    for (const KeyEvent& key : keys) terminal.PushKey(key);
    terminal.PushKey(CharacterKey(27));
    terminal.PushKey(CharacterKey('Q'));
    EditorContext context{.log = log, .index = index, .callsign = "JA1ZZZ"};
    context.rig = rig;
    RunEditor(context);
  }

  MemoryFileSystem fs;
  WriteCounters counters;
  RecordIndex index{counters};
  SafetyFile safety{fs, counters};
  LogUi ui;
  LogFile log;
  Screen screen{80, 25};
  FakeTerminal terminal{80, 25};
};

std::vector<KeyEvent> NewRecords(int count) {
  std::vector<KeyEvent> keys;
  for (int i = 0; i < count; ++i) {
    keys.push_back(CharacterKey(27));
    keys.push_back(CharacterKey('N'));
  }
  return keys;
}

std::vector<KeyEvent> Typing(int calls) {
  std::vector<KeyEvent> keys = NewRecords(1);
  for (int i = 0; i < calls; ++i) {
    for (char c : std::string("JA1ABC")) keys.push_back(CharacterKey(c));
    for (int j = 0; j < 6; ++j) keys.push_back(CharacterKey(8));
  }
  return keys;
}

}  // namespace

int main() {
  EditorBench bench;
  rig_test::Rigctld rigctld;
  rigctld.Set({"F", "7025000", "M", "CW", "500"});
  RigClient radio(rigctld.address());
  if (!radio.Ask().reading) {
    std::fprintf(stderr, "rigctld at %s did not answer\n", rigctld.address().c_str());
    return 2;
  }

  constexpr int kRecords = 200;
  const std::vector<KeyEvent> newRecords = NewRecords(kRecords);
  const bench::BestPair records = bench::BestOfByTurns(
      5, [&] { bench.Run(newRecords, &radio); }, [&] { bench.Run(newRecords, nullptr); });
  if (radio.Status().failure != RigFailure::kNone) {
    std::fprintf(stderr, "rigctld stopped answering during the run\n");
    return 2;
  }
  const double withRig = records.subject / kRecords * 1e3;
  const double without = records.reference / kRecords * 1e3;
  std::printf("new record (editor menu N), %d a run\n", kRecords);
  std::printf("%-32s %8.3f ms   %-24s %8.3f ms   %+.3f ms\n", "with a local rigctld", withRig,
              "without a rig", without, withRig - without);
  std::printf("goal under 10 ms more a record: %s\n", withRig - without < 10 ? "met" : "NOT MET");

  RigClient dead("127.0.0.1:" + std::to_string(rig_test::FreePort()));
  constexpr int kCalls = 2000;
  const std::vector<KeyEvent> typing = Typing(kCalls);
  const bench::BestPair keys = bench::BestOfByTurns(
      5, [&] { bench.Run(typing, &dead); }, [&] { bench.Run(typing, nullptr); });
  const double keyCount = static_cast<double>(typing.size());
  std::printf("typing in CALLSIGN, %zu keys a run (a new record first)\n", typing.size());
  std::printf("%-32s %8.2f us   %-24s %8.2f us   ratio %6.2f  (goal within 1.2x: %s)\n",
              "per key, nobody at the address", keys.subject / keyCount * 1e6, "without a rig",
              keys.reference / keyCount * 1e6, keys.subject / keys.reference,
              keys.subject / keys.reference <= 1.2 ? "met" : "NOT MET");
  return 0;
}

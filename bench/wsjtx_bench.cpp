// What live logging costs:
// - from a contact's datagram sent (Logged ADIF, over UDP on this machine) to its record synced in
//   a log of 100,000 and of 999,000 records (received, decoded, mapped, looked for in the log,
//   written through WriteRecord), beside one durable record write of the same log in the same run
//   (goal within 2x); in a folder of $TMPDIR (or /tmp), which should be a disk and not a tmpfs;
// - typing in CALLSIGN in the record editor (in this process, through the screen buffer and a fake
//   terminal that watches the socket as the real one does) while another process sends 100
//   datagrams a second, as WSJT-X does on a busy band (decodes, a status now and then, a contact
//   announced both ways every second, written to a log in memory), beside the same typing in a
//   run without `wsjtx` (goal within 1.2x).
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "color/color_set.h"
#include "console/console.h"
#include "console/fake_terminal.h"
#include "console/key_watch.h"
#include "editor/editor.h"
#include "log/field_table.h"
#include "log/file_system.h"
#include "station/wsjtx_listener.h"
#include "station/wsjtx_test_support.h"

using namespace vondal;
using wsjtx_test::When;

namespace {

constexpr int kWrites = 40;  // contacts in one timed batch

// Contact n of the benchmark, on a day after every record of the generated logs.
When WhenOf(int n) { return {2024, 3, 1 + n / 1440 % 28, n / 60 % 24, n % 60, 0}; }
std::string CallOf(int n) {
  return "JR" + std::to_string(n % 10) + static_cast<char>('A' + n / 10 % 26) + "QX";
}

struct LiveLogBench {
  explicit LiveLogBench(const std::string& path) : log(path), port(wsjtx_test::FreeUdpPort()), sender(port) {
    listener = std::make_unique<WsjtxListener>("127.0.0.1:" + std::to_string(port), TimeZone::kJst);
    if (!listener->Open().empty()) std::exit(2);
  }

  // Each contact sent, received as the key wait receives it, and written.
  void Announced() {
    for (int i = 0; i < kWrites; ++i, ++next) {
      sender.Send(wsjtx_test::LoggedAdif(wsjtx_test::AdifOf(CallOf(next), WhenOf(next))));
      pollfd ready{listener->Descriptor(), POLLIN, 0};
      if (poll(&ready, 1, 1000) != 1) std::exit(2);
      listener->Receive();
      if (listener->WriteWaiting(log.log, log.index).written.size() != 1) std::exit(2);
    }
  }
  // The same number of durable record writes of contacts like them.
  void Written() {
    for (int i = 0; i < kWrites; ++i, ++next) {
      Record r;
      bench::MakeContact(next, r);
      r[DATE] = "240302";
      if (!log.log.WriteRecord(log.log.RecordCount(), r).written) std::exit(2);
    }
  }

  bench::OpenedLog log;
  int port;
  wsjtx_test::Sender sender;
  std::unique_ptr<WsjtxListener> listener;
  int next = 0;
};

void Announcements(const std::string& folder, int records) {
  const std::string path = folder + "/L" + std::to_string(records) + ".VD";
  bench::WriteLog(path, records, bench::MakeContact);
  LiveLogBench bench(path);
  bench.Written();  // the companion files exist, the caches are warm
  const bench::BestPair best = bench::BestOfByTurns(
      5, [&] { bench.Announced(); }, [&] { bench.Written(); });
  const double subject = best.subject / kWrites * 1e3;
  const double reference = best.reference / kWrites * 1e3;
  std::printf("%-7d records: %-22s %7.3f ms   %-22s %7.3f ms   ratio %5.2f  (goal within 2x: %s)\n", records,
              "datagram to synced", subject, "one durable write", reference, subject / reference,
              subject / reference <= 2 ? "met" : "NOT MET");
}

// WSJT-X on a busy band: 100 datagrams a second until killed.
[[noreturn]] void Traffic(int port) {
  wsjtx_test::Sender sender(port);
  const std::string decode = wsjtx_test::Datagram(2)
                                 .U8(1)
                                 .U32(25200000)
                                 .U32(static_cast<uint32_t>(-12))
                                 .U64(0x3fc999999999999aull)
                                 .U32(1234)
                                 .Text("~")
                                 .Text("CQ JA1ABC PM95")
                                 .U8(0)
                                 .U8(0)
                                 .bytes();
  const std::string status = wsjtx_test::Datagram(1).U64(7074000).Text("FT8").Text("JA1ABC").bytes();
  for (int n = 0;; ++n) {
    if (n % 100 == 0) {
      wsjtx_test::Qso qso;
      qso.call = CallOf(n / 100);
      qso.on = qso.off = WhenOf(n / 100);
      sender.Send(wsjtx_test::QsoLogged(qso));
      sender.Send(wsjtx_test::LoggedAdif(wsjtx_test::AdifOf(qso.call, qso.on)));
      ++n;
    } else {
      sender.Send(n % 25 == 0 ? status : decode);
    }
    usleep(10000);
  }
}

class ListenerWatch final : public KeyWatch {
 public:
  explicit ListenerWatch(WsjtxListener& listener) : listener_(listener) {}
  int Descriptor() const override { return listener_.Descriptor(); }
  void Receive() override { listener_.Receive(); }
  int DueInMs() const override { return listener_.DueInMs(); }

 private:
  WsjtxListener& listener_;
};

struct EditorBench {
  EditorBench() : log(fs, counters, index, safety, ui) {
    if (!log.OpenLog("W.VD").empty()) std::exit(2);
    SetCurrentColorTable(DefaultColorTable());
    AttachConsole(&screen, &terminal);
    SetKeySource(&terminal);
  }

  // Runs the editor over `keys`, then Esc Q.
  void Run(const std::vector<KeyEvent>& keys, WsjtxListener* listener) {
    for (const KeyEvent& key : keys) terminal.PushKey(key);
    terminal.PushKey(CharacterKey(27));
    terminal.PushKey(CharacterKey('Q'));
    EditorContext context{.log = log, .index = index, .callsign = "JA1ZZZ"};
    context.wsjtx = listener;
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

void Typing() {
  std::vector<KeyEvent> keys = {CharacterKey(27), CharacterKey('N')};
  constexpr int kCalls = 4000;
  for (int i = 0; i < kCalls; ++i) {
    for (char c : std::string("JA1ABC")) keys.push_back(CharacterKey(c));
    for (int j = 0; j < 6; ++j) keys.push_back(CharacterKey(8));
  }
  EditorBench bench;
  const int port = wsjtx_test::FreeUdpPort();
  WsjtxListener listener("127.0.0.1:" + std::to_string(port), TimeZone::kJst);
  if (!listener.Open().empty()) std::exit(2);
  ListenerWatch watch(listener);
  const pid_t traffic = fork();
  if (traffic == 0) Traffic(port);
  const bench::BestPair best = bench::BestOfByTurns(
      5,
      [&] {
        SetKeyWatch(&watch);
        bench.Run(keys, &listener);
        SetKeyWatch(nullptr);
      },
      [&] { bench.Run(keys, nullptr); });
  kill(traffic, SIGKILL);
  waitpid(traffic, nullptr, 0);
  const WsjtxStatus& status = listener.Status();
  const double count = static_cast<double>(keys.size());
  std::printf("typing in CALLSIGN, %zu keys a run (a new record first)\n", keys.size());
  std::printf("%-34s %7.2f us   %-20s %7.2f us   ratio %5.2f  (goal within 1.2x: %s)\n",
              "per key, 100 datagrams a second", best.subject / count * 1e6, "without wsjtx",
              best.reference / count * 1e6, best.subject / best.reference,
              best.subject / best.reference <= 1.2 ? "met" : "NOT MET");
  std::printf("contacts meanwhile: %ld arrived, %ld written, %ld duplicates, %ld dropped\n", status.arrived,
              status.written, status.duplicates, status.dropped);
}

}  // namespace

int main() {
  ResetFieldTable();
  const std::string folder = bench::TemporaryFolder();
  std::printf(
      "a contact announced, from the datagram sent to the record synced, %d a batch, best of 5, in %s\n",
      kWrites, folder.c_str());
  Announcements(folder, 100000);
  Announcements(folder, 999000);  // room for the writes below the record limit
  bench::RemoveFolder(folder);
  Typing();
  return 0;
}

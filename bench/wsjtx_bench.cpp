// What live logging costs:
// - from a contact's datagram sent (Logged ADIF, over UDP on this machine) to its record synced in
//   a log of 100,000 and of 999,000 records (received, decoded, mapped, looked for in the log,
//   written through WriteRecord), beside one durable record write of the same log in the same run
//   (goal within 2x); in a folder of $TMPDIR (or /tmp), which should be a disk and not a tmpfs;
// - typing in CALLSIGN in the record editor of the program itself, in a pseudo-terminal, one key at
//   a time as a typist types (each once the program has drawn the one before), while another
//   process sends 100 datagrams a second as WSJT-X does on a busy band (decodes, a status now and
//   then, a contact announced both ways every second), beside the same typing in a run without
//   `wsjtx` (goal within 1.2x).
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/pty_run.h"
#include "log/field_table.h"
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

// Typing in CALLSIGN: the program in a pseudo-terminal, the editor entered on a new record, then
// "JA1ABC" typed and rubbed out again `kCalls` times, one key at a time, each once the program has
// drawn the one before. The seconds the typing took.
double TypingSeconds(const std::string& folder, const std::string& wsjtx) {
  constexpr int kCalls = 400;
  std::string keys;
  for (int i = 0; i < kCalls; ++i) keys += "JA1ABC" + std::string(6, '\x7f');  // Backspace
  keys += "QRZ";
  const std::string menu = "\xE7\xB5\x82\xE4\xBA\x86";  // "終了" of the main menu
  const std::string editor = "\xE6\x96\xB0";            // "新" of the edit area
  std::vector<std::string> argv = {bench::ProgramsFolder() + "/vondal", "TYPE", "-I", "-Mbench"};
  if (!wsjtx.empty()) argv.push_back("-W" + wsjtx);
  const bench::PtyRun run =
      bench::RunStepsInPty(folder, argv, {{menu, "E"}, {editor, keys, true}, {"QRZ", "\x1bq"}, {menu, "q"}});
  if (run.stepTimes.size() != 4 || run.status != 0) {
    std::fprintf(stderr, "vondal did not type and end (status %d)\n", run.status);
    std::exit(2);
  }
  return (run.stepTimes[2] - run.stepTimes[1]) / static_cast<double>(keys.size());
}

void Typing(const std::string& folder) {
  bench::WriteLog(folder + "/TYPE.VD", 10000, bench::MakeContact);
  const int port = wsjtx_test::FreeUdpPort();
  const pid_t traffic = fork();
  if (traffic == 0) Traffic(port);
  const std::string address = "127.0.0.1:" + std::to_string(port);
  bench::BestPair best;  // seconds a key, the least disturbed of five runs each, by turns
  for (int i = 0; i < 5; ++i) {
    best.reference = std::min(best.reference, TypingSeconds(folder, ""));
    best.subject = std::min(best.subject, TypingSeconds(folder, address));
  }
  kill(traffic, SIGKILL);
  waitpid(traffic, nullptr, 0);
  const bench::OpenedLog log(folder + "/TYPE.VD");
  std::printf(
      "typing in CALLSIGN one key at a time, in a pseudo-terminal, a log of 10,000 records (%d contacts\n"
      "written while the subject typed)\n",
      log.log.RecordCount() - 10000);
  std::printf("%-34s %7.1f us   %-20s %7.1f us   ratio %5.2f  (goal within 1.2x: %s)\n",
              "per key, 100 datagrams a second", best.subject * 1e6, "without wsjtx", best.reference * 1e6,
              best.subject / best.reference, best.subject / best.reference <= 1.2 ? "met" : "NOT MET");
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
  Typing(folder);
  bench::RemoveFolder(folder);
  return 0;
}

// Live logging killed with SIGKILL while contacts arrive: a worker listens on a UDP port as the
// program does and writes every contact it receives through WriteRecord with the journal on, and
// WSJT-X (this test) sends it contacts, some of them twice, and kills it at a random moment. The
// acknowledgement is the record's write: after every kill the log, its journal and its index are
// opened as the program opens them and must hold every contact acknowledged, once.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "log/field_table.h"
#include "log/log_test_support.h"
#include "station/wsjtx_listener.h"
#include "station/wsjtx_test_support.h"
#include "tests/reliability/log_check.h"

namespace vondal::reliability {
namespace {

constexpr int kKills = 40;
constexpr int kContactsPerRound = 60;

// One message on the pipe; a pipe write of at most PIPE_BUF bytes is never torn by the kill.
struct Message {
  char kind;  // 'R' listening, 'W' a record write begins, 'A' it was acknowledged, 'F' it failed
  int32_t record;
  RecordImage image;
};

void Send(int fd, const Message& m) {
  while (write(fd, &m, sizeof m) < 0 && errno == EINTR) {
  }
}

double Now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec + t.tv_nsec / 1e9;
}

// The program's part: the log opened as start-up opens it, the listener on `port`, and every
// contact received written between two waits on the socket.
[[noreturn]] void Worker(const Files& files, int port, int fd) {
  FileSystem& fs = RealFileSystem();
  testing::LogSet set(fs);
  set.safety.Configure(files.safety);
  std::vector<char> buffer(kIndexBufferSize);
  Message m{};
  if (!set.log.OpenLog(files.log).empty() || !set.safety.CheckSafety(set.ui).empty()) _exit(3);
  set.log.JournalRepairedRecord();
  if (!set.index.LoadIndex(files.index, fs, set.log, set.ui, buffer).empty()) _exit(3);
  WsjtxListener listener("127.0.0.1:" + std::to_string(port), TimeZone::kJst);
  if (!listener.Open().empty()) _exit(4);
  m.kind = 'R';
  Send(fd, m);
  for (;;) {
    pollfd ready{listener.Descriptor(), POLLIN, 0};
    poll(&ready, 1, 100);
    listener.Receive();
    while (!listener.Waiting().empty()) {
      m.kind = 'W';
      m.record = set.log.RecordCount();
      m.image = EncodeRecord(listener.Waiting().front().record);
      Send(fd, m);
      const WsjtxWrite write = listener.WriteWaiting(set.log, set.index, 1);
      if (!write.written.empty()) {
        m.kind = 'A';
        Send(fd, m);
      } else if (!listener.Status().refusal.empty()) {
        m.kind = 'F';
        Send(fd, m);
        _exit(5);
      }
    }
  }
}

// The contact number `n` as WSJT-X announces it: a call of its own, a minute of its own.
std::string Contact(int n) {
  const std::string call = "JA" + std::to_string(n % 10) + static_cast<char>('A' + n / 260 % 26) +
                           static_cast<char>('A' + n / 10 % 26) + "X";
  return wsjtx_test::LoggedAdif(wsjtx_test::AdifOf(call, {2024, 3, 5 + n / 1440, n / 60 % 24, n % 60, 0}));
}

TEST(WsjtxCrashTest, AKillWhileContactsArriveLosesNoAcknowledgedContact) {
  ResetFieldTable();
  testing::TemporaryFolder folder;
  const Files files{folder.Path("L.VD"), folder.Path("L.VDS"), folder.Path("L.VDI")};
  std::mt19937 random(32);
  Expectation e;
  std::set<std::string> acknowledgedCalls;
  std::vector<int> sent;  // contacts sent so far, some to be announced again
  int next = 0;
  long acknowledged = 0;
  for (int round = 0; round < kKills; ++round) {
    int pipeFd[2];
    ASSERT_EQ(pipe(pipeFd), 0);
    const int port = wsjtx_test::FreeUdpPort();
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      close(pipeFd[0]);
      Worker(files, port, pipeFd[1]);
    }
    close(pipeFd[1]);
    Message m{};
    size_t have = 0;
    bool failed = false;
    auto readSome = [&](int timeoutMs) {
      pollfd p{pipeFd[0], POLLIN, 0};
      if (poll(&p, 1, timeoutMs) <= 0) return false;
      const ssize_t got = read(pipeFd[0], reinterpret_cast<char*>(&m) + have, sizeof m - have);
      if (got <= 0) return false;
      have += static_cast<size_t>(got);
      if (have < sizeof m) return true;
      have = 0;
      if (m.kind == 'W') {
        e.inFlightRecord = m.record;
        e.inFlightImage = m.image;
      } else if (m.kind == 'A') {
        EXPECT_EQ(m.record, static_cast<int>(e.records.size()));
        e.records.push_back(m.image);
        e.journal.push_back(m.image);
        e.inFlightRecord.reset();
        ++acknowledged;
        const std::string call = std::string(RecordReader().Split(m.image.data())[CALLSIGN]);
        EXPECT_TRUE(acknowledgedCalls.insert(call).second) << call << " written twice";
      } else if (m.kind == 'F') {
        failed = true;
      }
      return true;
    };
    const double started = Now();
    while (m.kind != 'R' && Now() < started + 10) readSome(100);
    ASSERT_EQ(m.kind, 'R') << "the worker did not start listening";
    // WSJT-X sends its contacts a little apart, now and then one it sent before; the kill comes
    // at any moment of it.
    wsjtx_test::Sender sender(port);
    const double deadline = Now() + std::uniform_real_distribution<double>(0.0005, 0.06)(random);
    for (int i = 0; i < kContactsPerRound && Now() < deadline; ++i) {
      const bool again = !sent.empty() && random() % 5 == 0;
      const int contact = again ? sent[random() % sent.size()] : next++;
      if (!again) sent.push_back(contact);
      sender.Send(Contact(contact));
      while (readSome(0)) {
      }
      usleep(300);
    }
    while (Now() < deadline) readSome(1);
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    while (readSome(0)) {
    }
    close(pipeFd[0]);
    ASSERT_FALSE(failed) << "a write was refused";

    const Verdict verdict = OpenAndCheck(RealFileSystem(), files, e);
    ASSERT_EQ(verdict.failure, "") << "kill " << round;
    ASSERT_EQ(verdict.recordsLost, 0);
    // What the kill left in flight is there or not; the next round starts from the log as it is.
    if (verdict.records.size() > e.records.size()) {
      acknowledgedCalls.insert(std::string(RecordReader().Split(verdict.records.back().data())[CALLSIGN]));
    }
    e.records = verdict.records;
    e.inFlightRecord.reset();
    e.journal.clear();
    e.journalFrom = verdict.journalEnd;
  }
  EXPECT_GT(acknowledged, kKills) << "the kills came too early to prove anything";
}

}  // namespace
}  // namespace vondal::reliability

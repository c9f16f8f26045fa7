// The crash test: a worker process writes records to a real log in a folder (appends and
// overwrites through WriteRecord with the safety file on, markers, index saves) and is killed
// with SIGKILL at random moments; after every kill the log, its journal and its index are
// opened as the program opens them and checked against what the worker had acknowledged on a
// pipe (tests/reliability/log_check.h). Usage:
//
//   crash_driver --folder DIR [--kills N] [--seed S] [--no-write-ahead] [--keep-going]
//
// --no-write-ahead writes without the write-ahead record, to show what it prevents;
// --keep-going counts failures instead of stopping at the first. Exit status 0 when every kill
// kept every promise, 1 otherwise, 2 on a usage or set-up error.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "log/field_table.h"
#include "log/log_file.h"
#include "log/log_test_support.h"
#include "log/record_index.h"
#include "log/safety_file.h"
#include "log/write_ahead.h"
#include "tests/reliability/log_check.h"

namespace vondal::reliability {
namespace {

constexpr int kOperationsPerRound = 120;  // then the worker waits for its kill
constexpr int kKillsPerEpoch = 40;        // then the folder starts over with a new log
constexpr int kMaxLogRecords = 400;       // beyond that the worker only overwrites

// One message on the pipe; a pipe write of at most PIPE_BUF bytes is never torn by the kill.
struct Message {
  char kind;  // 'W' a record write begins, 'A' it was acknowledged, 'M' a marker is acknowledged,
              // 'R' the worker is running (opened everything), 'D' it did all its operations,
              // 'F' it failed (text in image)
  int32_t record;
  RecordImage image;
};

void Send(int fd, const Message& m) {
  while (write(fd, &m, sizeof m) < 0 && errno == EINTR) {
  }
}

std::tm FixedTime() {
  std::tm t{};
  t.tm_year = 124;
  t.tm_mon = 2;
  t.tm_mday = 5;
  t.tm_hour = 9;
  t.tm_min = 7;
  return t;
}

Files FilesIn(const std::string& folder) { return {folder + "/C.VD", folder + "/C.VDS", folder + "/C.VDI"}; }

// Whether record n lies across a 4096-byte page boundary of the log (where a kill tears it).
bool CrossesPage(int n) { return (n * kRecordSize) / 4096 != (n * kRecordSize + kRecordSize - 1) / 4096; }

[[noreturn]] void Worker(const std::string& folder, uint64_t seed, int fd, bool writeAhead) {
  FileSystem& fs = RealFileSystem();
  testing::LogSet set(fs, FixedTime);
  auto& [counters, index, safety, ui, log] = set;
  log.options.writeAhead = writeAhead;
  const Files files = FilesIn(folder);
  safety.Configure(files.safety);
  Message m{};
  std::vector<char> buffer(kIndexBufferSize);
  if (!log.OpenLog(files.log).empty() || !safety.CheckSafety(ui).empty()) {
    m.kind = 'F';
    Send(fd, m);
    _exit(3);
  }
  log.JournalRepairedRecord();
  if (!index.LoadIndex(files.index, fs, log, ui, buffer).empty()) _exit(3);
  m.kind = 'R';
  Send(fd, m);
  srand48(static_cast<long>(seed));
  for (int op = 0; op < kOperationsPerRound; ++op) {
    const int choice = static_cast<int>(lrand48() % 100);
    if (choice < 4) {
      m.kind = 'M';
      m.image = SafetyFile::BuildMarker("＜結合読み込み開始＞", FixedTime());
      if (safety.WriteMarker("＜結合読み込み開始＞") == 0) Send(fd, m);
      continue;
    }
    if (choice < 8) {
      index.SaveIndex(files.index, fs, ui, buffer);
      continue;
    }
    const int count = log.RecordCount();
    int n = count;
    if (count >= kMaxLogRecords || (count > 0 && lrand48() % 3 != 0)) {
      n = static_cast<int>(lrand48() % count);
      // Half of the overwrites go to a record that lies across a page boundary.
      if (lrand48() % 2 == 0) {
        while (n > 0 && !CrossesPage(n)) --n;
      }
    }
    Record r = RandomRecord(seed * 1000 + op);
    m.kind = 'W';
    m.record = n;
    m.image = EncodeRecord(r);
    Send(fd, m);
    WriteResult result = log.WriteRecord(n, r);
    if (!result.message.empty()) {
      m.kind = 'F';
      std::snprintf(m.image.data(), m.image.size(), "%s", result.message.c_str());
      Send(fd, m);
      _exit(3);
    }
    m.kind = 'A';
    Send(fd, m);
  }
  m.kind = 'D';
  Send(fd, m);
  for (;;) pause();
}

struct Totals {
  long kills = 0;
  long acknowledged = 0;
  long lost = 0;
  long notOpening = 0;
  long failures = 0;
  long tornLogs = 0;
  long tornRecords = 0;
  long tornJournals = 0;
  long intentsLeft = 0;
  long completed = 0;
  long undone = 0;
  long replaced = 0;   // intents left, with another log put in place before the next start
  long discarded = 0;  // of these, the intents opening discarded with its note
};

double Now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

// Copies the files of `from` to `to` (the check recovers the copy, so that the next worker meets
// the files exactly as the kill left them and may be killed in its own recovery).
void CopyFolder(const std::string& from, const std::string& to) {
  const std::string command = "rm -rf '" + to + "' && cp -a '" + from + "' '" + to + "'";
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "crash_driver: cannot copy %s\n", from.c_str());
    std::exit(2);
  }
}

void StartOver(const std::string& folder) {
  const std::string command = "rm -rf '" + folder + "' && mkdir -p '" + folder + "'";
  if (std::system(command.c_str()) != 0) std::exit(2);
}

// Reads the messages of one round into the expectation. Returns false at end of input.
void Take(const Message& m, Expectation& e, Totals& totals, bool& done) {
  switch (m.kind) {
    case 'W':
      e.inFlightRecord = m.record;
      e.inFlightImage = m.image;
      break;
    case 'A':
      if (*e.inFlightRecord == static_cast<int>(e.records.size())) {
        e.records.push_back(e.inFlightImage);
      } else {
        e.records[*e.inFlightRecord] = e.inFlightImage;
      }
      e.journal.push_back(e.inFlightImage);
      e.inFlightRecord.reset();
      ++totals.acknowledged;
      break;
    case 'M':
      e.journal.push_back(m.image);
      break;
    case 'D':
      done = true;
      break;
    case 'F':
      std::fprintf(stderr, "crash_driver: the worker failed: %.100s\n", m.image.data());
      std::exit(1);
  }
}

int Run(const std::string& folder, long kills, uint64_t seed, bool writeAhead, bool keepGoing) {
  ResetFieldTable();
  const std::string work = folder + "/log";
  const std::string check = folder + "/check";
  const std::string other = folder + "/other";
  Totals totals;
  Expectation e;
  double roundSeconds = 0.05;  // how long a worker takes for its operations, measured below
  srand48(static_cast<long>(seed));
  for (long kill = 0; kill < kills; ++kill) {
    if (kill % kKillsPerEpoch == 0) {
      StartOver(work);
      e = Expectation{};
    }
    int pipeFd[2];
    if (pipe(pipeFd) != 0) return 2;
    const uint64_t workerSeed = seed * 1000003 + static_cast<uint64_t>(kill);
    const pid_t pid = fork();
    if (pid < 0) return 2;
    if (pid == 0) {
      close(pipeFd[0]);
      Worker(work, workerSeed, pipeFd[1], writeAhead);
    }
    close(pipeFd[1]);
    // A kill at any moment of the round: from the worker's start-up (its recovery) to its last
    // write, more often early, where the moments are short.
    const double delay =
        std::exp(std::log(20e-6) + drand48() * (std::log(roundSeconds * 1.2) - std::log(20e-6)));
    const double started = Now();
    const double deadline = started + delay;
    bool done = false;
    Message m;
    size_t have = 0;
    auto readSome = [&](int timeoutMs) {
      pollfd p{pipeFd[0], POLLIN, 0};
      if (poll(&p, 1, timeoutMs) <= 0) return false;
      const ssize_t got = read(pipeFd[0], reinterpret_cast<char*>(&m) + have, sizeof m - have);
      if (got <= 0) return false;
      have += static_cast<size_t>(got);
      if (have == sizeof m) {
        Take(m, e, totals, done);
        have = 0;
      }
      return true;
    };
    while (!done && Now() < deadline) readSome(std::max(0, static_cast<int>((deadline - Now()) * 1000)));
    if (done) roundSeconds = 0.8 * roundSeconds + 0.2 * (Now() - started);
    ::kill(pid, SIGKILL);
    int status;
    waitpid(pid, &status, 0);
    while (readSome(0)) {
    }
    close(pipeFd[0]);
    ++totals.kills;

    const Files files = FilesIn(work);
    const RawState raw = InspectRaw(RealFileSystem(), files, e);
    totals.tornLogs += raw.tornLog;
    totals.tornRecords += raw.tornRecord;
    totals.tornJournals += raw.tornSafety;
    totals.intentsLeft += raw.intentLeft;
    if (raw.intentLeft) {
      // A log put in place of this one before the next start (a restored backup, a copy from
      // another machine): the same number of records, more or fewer. Its bytes must all stay.
      CopyFolder(work, other);
      const int records = static_cast<int>(e.records.size());
      const int variants[] = {records, records + 1 + static_cast<int>(kill % 7),
                              std::max(1, records - 1 - static_cast<int>(kill % 3))};
      std::string note;
      const std::string failure = ReplacedLogIsLeftAlone(
          RealFileSystem(), FilesIn(other), std::max(1, variants[kill % 3]), seed ^ 0xC0FFEEull, note);
      ++totals.replaced;
      totals.discarded += note == "他のﾛｸﾞの中断記録を破棄しました";
      if (!failure.empty()) {
        ++totals.failures;
        std::fprintf(stderr, "crash_driver: kill %ld: %s\n", kill, failure.c_str());
        if (!keepGoing) break;
      }
    }
    // The log's own intent is still carried out on the log as the kill left it.
    CopyFolder(work, check);
    Verdict verdict = OpenAndCheck(RealFileSystem(), FilesIn(check), e);
    if (verdict.note == "他のﾛｸﾞの中断記録を破棄しました" && verdict.failure.empty())
      verdict.failure = "the log's own intent was taken for another log's";
    if (!verdict.note.empty()) {
      (verdict.note == "中断された書込を完了しました" ? totals.completed : totals.undone)++;
    }
    totals.lost += verdict.recordsLost;
    if (!verdict.opened) ++totals.notOpening;
    if (!verdict.failure.empty()) {
      ++totals.failures;
      std::fprintf(stderr, "crash_driver: kill %ld: %s\n", kill, verdict.failure.c_str());
      if (!keepGoing) {
        std::fprintf(stderr, "crash_driver: the files as the kill left them are in %s\n", work.c_str());
        break;
      }
      // Start over: the broken log cannot be the base of the next round.
      StartOver(work);
      e = Expectation{};
      continue;
    }
    e.records = verdict.records;
    e.inFlightRecord.reset();
    e.journal.clear();
    e.journalFrom = verdict.journalEnd;
  }
  std::printf(
      "kills %ld, acknowledged records %ld, records lost %ld, logs that did not open %ld, failed checks %ld\n"
      "before recovery: torn logs %ld, torn records %ld, torn journals %ld, intents left %ld\n"
      "recovery notes: completed %ld, undone %ld\n"
      "another log put in place over an intent %ld times: left alone every time it was, intent discarded "
      "%ld\n",
      totals.kills, totals.acknowledged, totals.lost, totals.notOpening, totals.failures, totals.tornLogs,
      totals.tornRecords, totals.tornJournals, totals.intentsLeft, totals.completed, totals.undone,
      totals.replaced, totals.discarded);
  return totals.failures == 0 ? 0 : 1;
}

}  // namespace
}  // namespace vondal::reliability

int main(int argc, char** argv) {
  std::string folder;
  long kills = 300;
  uint64_t seed = 1;
  bool writeAhead = true;
  bool keepGoing = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--folder" && i + 1 < argc) {
      folder = argv[++i];
    } else if (arg == "--kills" && i + 1 < argc) {
      kills = std::atol(argv[++i]);
    } else if (arg == "--seed" && i + 1 < argc) {
      seed = std::strtoull(argv[++i], nullptr, 10);
    } else if (arg == "--no-write-ahead") {
      writeAhead = false;
    } else if (arg == "--keep-going") {
      keepGoing = true;
    } else {
      folder.clear();
      break;
    }
  }
  if (folder.empty() || kills <= 0) {
    std::fprintf(
        stderr,
        "usage: crash_driver --folder DIR [--kills N] [--seed S] [--no-write-ahead] [--keep-going]\n");
    return 2;
  }
  return vondal::reliability::Run(folder, kills, seed, writeAhead, keepGoing);
}

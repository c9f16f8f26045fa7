// Outputs killed with SIGKILL while they write: a worker overwrites an export again and again
// (each version larger than the output buffer, so it reaches the file in several writes) and is
// killed at random moments. The file is always one whole version, the one acknowledged last or
// the next one; an append killed half-way leaves the old bytes in front untouched.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <random>
#include <string>

#include "log/log_test_support.h"
#include "output/output_file.h"

namespace vondal::reliability {
namespace {

constexpr size_t kVersionBytes = kOutputBufferBytes * 5 / 2;

// Version v: a first line naming it, then a filler byte of its own.
std::string Version(int v) {
  std::string text = "version " + std::to_string(v) + "\r\n";
  text.append(kVersionBytes - text.size(), static_cast<char>('a' + v % 26));
  return text;
}

// The version the file holds whole, or -1.
int WholeVersion(const std::string& file) {
  if (file.rfind("version ", 0) != 0) return -1;
  const int v = std::atoi(file.c_str() + 8);
  return file == Version(v) ? v : -1;
}

// Writes versions first, first + 1, … through OutputFile, each acknowledged on the pipe once
// Finish said yes; never returns.
[[noreturn]] void Worker(const std::string& path, OutputFile::Mode mode, int first, int fd) {
  for (int v = first;; ++v) {
    OutputFile out(RealFileSystem());
    if (!out.Open(path, mode)) _exit(2);
    const std::string text = Version(v);
    for (size_t at = 0; at < text.size(); at += 300000) out.Append(std::string_view(text).substr(at, 300000));
    if (!out.Finish()) _exit(3);
    if (write(fd, &v, sizeof v) != sizeof v) _exit(4);
  }
}

struct Round {
  int acknowledged = -1;  // the last version the worker acknowledged
  int status = 0;
};

Round KillDuringWrites(const std::string& path, OutputFile::Mode mode, int first, std::mt19937& random) {
  int pipeFd[2];
  EXPECT_EQ(pipe(pipeFd), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    close(pipeFd[0]);
    Worker(path, mode, first, pipeFd[1]);
  }
  close(pipeFd[1]);
  usleep(std::uniform_int_distribution<useconds_t>(0, 40000)(random));
  kill(pid, SIGKILL);
  Round round;
  waitpid(pid, &round.status, 0);
  for (int v; read(pipeFd[0], &v, sizeof v) == sizeof v;) round.acknowledged = v;
  close(pipeFd[0]);
  return round;
}

TEST(OutputCrashTest, KilledOverwriteLeavesTheLastOrTheNextVersionWhole) {
  testing::TemporaryFolder folder;
  const std::string path = folder.Path("T.ADI");
  testing::TemporaryFolder::Write(path, Version(0));
  std::mt19937 random(7);
  int current = 0;
  for (int kill = 0; kill < 40; ++kill) {
    const Round round = KillDuringWrites(path, OutputFile::Mode::kReplace, current + 1, random);
    ASSERT_TRUE(WIFSIGNALED(round.status)) << "the worker ended by itself: " << round.status;
    const int whole = WholeVersion(testing::TemporaryFolder::Read(path));
    const int expected = std::max(current, round.acknowledged);
    ASSERT_TRUE(whole == expected || whole == expected + 1)
        << "kill " << kill << ": the file holds version " << whole << ", acknowledged " << expected;
    current = whole;
  }
}

TEST(OutputCrashTest, KilledAppendKeepsTheOldBytesInFront) {
  testing::TemporaryFolder folder;
  const std::string path = folder.Path("T.CSV");
  const std::string old = "the export of last month\r\n";
  std::mt19937 random(8);
  for (int kill = 0; kill < 10; ++kill) {
    testing::TemporaryFolder::Write(path, old);
    const Round round = KillDuringWrites(path, OutputFile::Mode::kAppend, 1, random);
    ASSERT_TRUE(WIFSIGNALED(round.status));
    const std::string file = testing::TemporaryFolder::Read(path);
    ASSERT_EQ(file.substr(0, old.size()), old) << "kill " << kill;
    // Behind them: the acknowledged versions whole, then at most a part of the next.
    size_t at = old.size();
    for (int v = 1; v <= round.acknowledged; ++v, at += kVersionBytes) {
      ASSERT_EQ(file.compare(at, kVersionBytes, Version(v)), 0) << "kill " << kill << ", version " << v;
    }
    ASSERT_LE(file.size() - at, kVersionBytes);
  }
}

}  // namespace
}  // namespace vondal::reliability

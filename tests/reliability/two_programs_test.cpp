// Two programs on one log (a second terminal, a forgotten tmux session, a second login): one
// writes it at a time. A second Vondal only reads a log that another holds, however busy the
// writer is, Vonfill never writes over it, and a killed writer leaves no lock behind.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "log/field_table.h"
#include "log/log_test_support.h"
#include "tests/reliability/log_check.h"
#include "tools/vonfill/vonfill.h"

namespace vondal::reliability {
namespace {

constexpr int kRecords = 300;

class TwoProgramsTest : public ::testing::Test {
 protected:
  TwoProgramsTest() { ResetFieldTable(); }

  // Starts the first program in a child process: it opens the log and says so on the pipe, then
  // appends `records` records, acknowledging each (the byte 'A') and ends with 'D' — or, with no
  // records, waits for its kill.
  pid_t StartWriter(int records) {
    int fds[2];
    EXPECT_EQ(pipe(fds), 0);
    const pid_t pid = fork();
    if (pid == 0) {
      close(fds[0]);
      testing::LogSet set(RealFileSystem());
      set.safety.Configure(Path("T.VDS"));
      if (!set.log.OpenLog(Path("T.VD")).empty() || set.log.LockedElsewhere()) _exit(3);
      Say(fds[1], 'R');
      for (int n = 0; n < records; ++n) {
        Record r = RandomRecord(1000 + static_cast<uint64_t>(n));
        if (!set.log.WriteRecord(set.log.RecordCount(), r).message.empty()) _exit(4);
        Say(fds[1], 'A');
      }
      Say(fds[1], 'D');
      if (records == 0) pause();
      _exit(0);
    }
    close(fds[1]);
    pipe_ = fds[0];
    EXPECT_EQ(Hear(), 'R');
    return pid;
  }

  static void Say(int fd, char byte) {
    while (write(fd, &byte, 1) < 0 && errno == EINTR) {
    }
  }

  // The next byte from the writer, or 0 when none came within the time.
  char Hear(int timeoutMs = 30000) {
    pollfd p{pipe_, POLLIN, 0};
    char byte = 0;
    if (poll(&p, 1, timeoutMs) <= 0 || read(pipe_, &byte, 1) != 1) return 0;
    return byte;
  }

  std::string Path(const std::string& name) const { return folder_.Path(name); }

  testing::TemporaryFolder folder_;
  int pipe_ = -1;
};

// While the first program appends record after record, a second one opens the log again and
// again: it is told the log is held, refuses its own contact, and never touches a byte.
TEST_F(TwoProgramsTest, ASecondProgramNeverWritesALogAnotherHolds) {
  const pid_t writer = StartWriter(kRecords);
  int acknowledged = 0, opened = 0;
  for (char heard = 0; heard != 'D';) {
    testing::LogSet second(RealFileSystem());
    second.safety.Configure(Path("T.VDS"));
    ASSERT_EQ(second.log.OpenLog(Path("T.VD")), "");
    EXPECT_TRUE(second.log.LockedElsewhere());
    Record mine = RandomRecord(7);
    EXPECT_EQ(second.log.WriteRecord(second.log.RecordCount(), mine).message, "書込禁止です");
    ++opened;
    while ((heard = Hear(opened % 4 == 0 ? 1 : 0)) == 'A') ++acknowledged;
    if (heard == 0 && waitpid(writer, nullptr, WNOHANG) != 0) break;
  }
  int status = 0;
  waitpid(writer, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(acknowledged, kRecords);
  EXPECT_GT(opened, 1);

  std::vector<RecordImage> written;
  for (int n = 0; n < kRecords; ++n)
    written.push_back(EncodeRecord(RandomRecord(1000 + static_cast<uint64_t>(n))));
  Expectation e;
  e.records = written;
  e.journal = written;
  const Verdict verdict = OpenAndCheck(RealFileSystem(), {Path("T.VD"), Path("T.VDS"), ""}, e);
  EXPECT_EQ(verdict.failure, "");
  EXPECT_EQ(verdict.records.size(), static_cast<size_t>(kRecords));
}

TEST_F(TwoProgramsTest, AKilledWriterLeavesNoLockAndVonfillNeverWritesOverAHeldLog) {
  const pid_t writer = StartWriter(0);
  EXPECT_EQ(Hear(), 'D');
  {
    testing::LogSet second(RealFileSystem());
    ASSERT_EQ(second.log.OpenLog(Path("T.VD")), "");
    EXPECT_TRUE(second.log.LockedElsewhere());
  }
  vonfill::VonfillCommand command = vonfill::ParseCommandLine({Path("T.VD"), "30", "-S7"});
  ASSERT_EQ(command.action, vonfill::VonfillCommand::Action::kGenerate);
  EXPECT_NE(vonfill::WriteDummyLog(command, RealFileSystem(), std::string(VONDAL_BIN_DIR) + "/CGlist3.TXT",
                                   [](int) {}),
            "");
  EXPECT_EQ(testing::TemporaryFolder::Read(Path("T.VD")), "");

  kill(writer, SIGKILL);
  waitpid(writer, nullptr, 0);
  testing::LogSet next(RealFileSystem());
  ASSERT_EQ(next.log.OpenLog(Path("T.VD")), "");
  EXPECT_EQ(next.log.lockResult(), LockResult::kTaken);
}

}  // namespace
}  // namespace vondal::reliability

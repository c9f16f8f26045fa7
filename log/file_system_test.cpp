#include "log/file_system.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "log/log_test_support.h"

namespace vondal {
namespace {

// The operating system's files, in a folder of their own.
class RealFileSystemTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return temporary.Path(name); }
  static std::string Read(const std::string& path) { return testing::TemporaryFolder::Read(path); }

  FileSystem& fs = RealFileSystem();
  testing::TemporaryFolder temporary;
  const std::string& folder = temporary.path();
};

TEST_F(RealFileSystemTest, ModesBehaveLikeTheirStdioNames) {
  EXPECT_EQ(fs.Open(Path("none"), OpenMode::kRead), nullptr);
  EXPECT_EQ(fs.Open(Path("none"), OpenMode::kUpdate), nullptr);
  auto file = fs.Open(Path("a"), OpenMode::kCreate);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->WriteAt(0, "hello", 5), 5);
  EXPECT_EQ(file->WriteAt(1, "EL", 2), 2);
  EXPECT_TRUE(file->Sync());
  file.reset();
  auto append = fs.Open(Path("a"), OpenMode::kAppend);
  EXPECT_EQ(append->WriteAt(0, "!", 1), 1);  // at the end, whatever the offset
  char buffer[16] = {};
  EXPECT_EQ(append->ReadAt(0, buffer, sizeof buffer), 6);
  EXPECT_EQ(std::string(buffer, 6), "hELlo!");
  EXPECT_TRUE(append->Truncate(2));
  EXPECT_EQ(append->Size(), 2);
  append.reset();
  EXPECT_EQ(Read(Path("a")), "hE");
  EXPECT_EQ(fs.Open(folder, OpenMode::kRead), nullptr);  // a folder is not a file
}

// A FIFO named where a file is asked for (a join file, an output) must not hold the program in
// open() until another program opens its other end. The alarm ends a test that would wait.
TEST_F(RealFileSystemTest, AFifoIsOpenedWithoutWaitingForItsOtherEnd) {
  ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0600), 0);
  alarm(10);
  auto read = fs.Open(Path("fifo"), OpenMode::kRead);
  ASSERT_NE(read, nullptr);
  char byte;
  EXPECT_LE(read->ReadAt(0, &byte, 1), 0);  // nothing to read, and no waiting for it
  read.reset();
  EXPECT_EQ(fs.Open(Path("fifo"), OpenMode::kWrite), nullptr);  // nobody reads it
  alarm(0);
}

// flock locks belong to the open file: a second lock of the same file conflicts even within one
// process, which is how two programs meet; a file renamed over the name is another file.
TEST_F(RealFileSystemTest, OneWriterOrManyReadersHoldAFile) {
  std::unique_ptr<FileLock> writer, second, reader, another;
  ASSERT_EQ(fs.Lock(Path("T.VD"), true, writer), LockResult::kTaken);
  EXPECT_TRUE(fs.Exists(Path("T.VD")));  // made, empty, where it was missing
  EXPECT_EQ(Read(Path("T.VD")), "");
  EXPECT_EQ(fs.Lock(Path("T.VD"), true, second), LockResult::kHeld);
  EXPECT_EQ(fs.Lock(Path("T.VD"), false, reader), LockResult::kHeld);
  writer.reset();
  ASSERT_EQ(fs.Lock(Path("T.VD"), false, reader), LockResult::kTaken);
  EXPECT_EQ(fs.Lock(Path("T.VD"), false, another), LockResult::kTaken);
  EXPECT_EQ(fs.Lock(Path("T.VD"), true, second), LockResult::kHeld);
  reader.reset();
  another.reset();

  // The sort's order: the new file is locked under its temporary name, then renamed over.
  ASSERT_EQ(fs.Lock(Path("T.VD"), true, writer), LockResult::kTaken);
  ASSERT_EQ(fs.Lock(Path("new.VD$"), true, second), LockResult::kTaken);
  ASSERT_TRUE(fs.Rename(Path("new.VD$"), Path("T.VD")));
  writer.reset();
  EXPECT_EQ(fs.Lock(Path("T.VD"), true, another), LockResult::kHeld);
  second.reset();
  EXPECT_EQ(fs.Lock(Path("T.VD"), true, another), LockResult::kTaken);
}

TEST_F(RealFileSystemTest, WholeFileRewriteReplacesOrLeavesTheOldFile) {
  ASSERT_TRUE(WriteWholeFile(fs, Path("x.VDI"), "old", 3));
  ASSERT_TRUE(WriteWholeFile(fs, Path("x.VDI"), "new!", 4));
  EXPECT_EQ(Read(Path("x.VDI")), "new!");
  EXPECT_FALSE(fs.Exists(Path("x.VDI.tmp~")));
  {
    FileReplacement dropped(fs, Path("x.VDI"));
    ASSERT_TRUE(dropped.Open());
    ASSERT_TRUE(dropped.Write("half", 4));
  }  // dropped without a commit
  EXPECT_EQ(Read(Path("x.VDI")), "new!");
  EXPECT_FALSE(fs.Exists(Path("x.VDI.tmp~")));
}

TEST_F(RealFileSystemTest, CommitNewNeverReplacesAFileThatAppeared) {
  FileReplacement fresh(fs, Path("N.VD"));
  ASSERT_TRUE(fresh.Open());
  ASSERT_TRUE(fresh.Write("mine", 4));
  std::ofstream(Path("N.VD")) << "theirs";  // appears while the new file is written
  EXPECT_TRUE(fs.Exists(Path("N.VD")));
  EXPECT_FALSE(fresh.CommitNew());
  EXPECT_EQ(Read(Path("N.VD")), "theirs");
  EXPECT_FALSE(fs.Exists(Path("N.VD.tmp~")));

  FileReplacement other(fs, Path("M.VD"));
  ASSERT_TRUE(other.Open());
  ASSERT_TRUE(other.Write("mine", 4));
  EXPECT_TRUE(other.CommitNew());
  EXPECT_EQ(Read(Path("M.VD")), "mine");
}

// A rewrite through a symbolic link (an export kept in a synced folder, a link to it where the
// program writes) replaces the file at the end of the links, beside it, and leaves the links.
TEST_F(RealFileSystemTest, RewriteThroughSymbolicLinksReplacesTheirTarget) {
  ASSERT_EQ(mkdir(Path("kept").c_str(), 0755), 0);
  testing::TemporaryFolder::Write(Path("kept/x.ADI"), "old");
  ASSERT_EQ(symlink("kept/x.ADI", Path("x.ADI").c_str()), 0);           // relative to the link's folder
  ASSERT_EQ(symlink(Path("x.ADI").c_str(), Path("y.ADI").c_str()), 0);  // a link to the link
  ASSERT_TRUE(WriteWholeFile(fs, Path("y.ADI"), "new", 3));
  struct stat st;
  ASSERT_EQ(lstat(Path("x.ADI").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  ASSERT_EQ(lstat(Path("y.ADI").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(Read(Path("kept/x.ADI")), "new");
  EXPECT_FALSE(fs.Exists(Path("kept/x.ADI.tmp~")));
  EXPECT_FALSE(fs.Exists(Path("y.ADI.tmp~")));

  // A link to a file not yet there makes that file.
  ASSERT_EQ(symlink("kept/new.ADI", Path("new.ADI").c_str()), 0);
  ASSERT_TRUE(WriteWholeFile(fs, Path("new.ADI"), "made", 4));
  EXPECT_EQ(Read(Path("kept/new.ADI")), "made");
  ASSERT_EQ(lstat(Path("new.ADI").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));

  // A loop of links is no file.
  ASSERT_EQ(symlink("loop2", Path("loop1").c_str()), 0);
  ASSERT_EQ(symlink("loop1", Path("loop2").c_str()), 0);
  EXPECT_FALSE(WriteWholeFile(fs, Path("loop1"), "x", 1));
}

// The new file has the old one's permission bits, owner and group: a private export stays private.
TEST_F(RealFileSystemTest, RewriteKeepsThePermissionsAndOwnerOfTheFileItReplaces) {
  testing::TemporaryFolder::Write(Path("p.ADI"), "old");
  ASSERT_EQ(chmod(Path("p.ADI").c_str(), 0600), 0);
  const bool root = geteuid() == 0;
  if (root) {
    ASSERT_EQ(chown(Path("p.ADI").c_str(), 65534, 65534), 0);  // another user's file
  }
  ASSERT_TRUE(WriteWholeFile(fs, Path("p.ADI"), "new", 3));
  struct stat st;
  ASSERT_EQ(stat(Path("p.ADI").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  if (root) {
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
  }
  ASSERT_EQ(chmod(Path("p.ADI").c_str(), 0640), 0);
  ASSERT_TRUE(WriteWholeFile(fs, Path("p.ADI"), "newer", 5));
  ASSERT_EQ(stat(Path("p.ADI").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(Read(Path("p.ADI")), "newer");
}

// No plain file can take the place of a folder or of an empty name: the rewrite is refused at
// once, and no temporary file is left anywhere.
TEST_F(RealFileSystemTest, RewriteOfAFolderOrAnEmptyNameIsRefusedAtOnce) {
  ASSERT_EQ(mkdir(Path("sub").c_str(), 0755), 0);
  FileReplacement folderName(fs, Path("sub"));
  EXPECT_FALSE(folderName.Open());
  FileReplacement slashName(fs, Path("sub") + "/");
  EXPECT_FALSE(slashName.Open());
  FileReplacement emptyName(fs, "");
  EXPECT_FALSE(emptyName.Open());
  EXPECT_FALSE(fs.Exists(Path("sub.tmp~")));
  EXPECT_FALSE(fs.Exists(Path("sub/.tmp~")));
  EXPECT_FALSE(fs.Exists(".tmp~"));
  ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0600), 0);
  EXPECT_FALSE(WriteWholeFile(fs, Path("fifo"), "x", 1));  // nor does a FIFO become a plain file
  struct stat st;
  ASSERT_EQ(lstat(Path("fifo").c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(RealFileSystemTest, JapaneseFileNamesReachTheSystemInItsCharset) {
  const std::string name = Path("ログ.VD");  // CP932 inside the program
  ASSERT_TRUE(WriteWholeFile(fs, name, "x", 1));
  EXPECT_EQ(Read(folder + "/\xE3\x83\xAD\xE3\x82\xB0.VD"), "x");  // UTF-8 on the disk
}

}  // namespace
}  // namespace vondal

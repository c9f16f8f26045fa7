#include "app/user_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/config_test_folder.h"

namespace vondal {
namespace {

namespace fs = std::filesystem;

constexpr char kExample[] = "// Vondal.ini の記入例\r\n[DEFAULT]\r\nindex=\r\n";

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class UserFolderTest : public ::testing::Test {
 protected:
  // An installation in <scratch>/usr with its example configuration, a user whose home is
  // <scratch>/home (empty).
  UserFolderTest() {
    fs::create_directories(scratch_.path() + "usr/share/vondal");
    fs::create_directories(home());
    scratch_.Write("usr/share/vondal/Vondal.ini.example", kExample);
    folders_.sharedData = scratch_.path() + "usr/share/vondal/";
    folders_.program = home() + ".config/vondal/";
    folders_.perUser = true;
  }

  std::string home() const { return scratch_.path() + "home/"; }

  ConfigTestFolder scratch_;
  ProgramFolders folders_;
};

TEST_F(UserFolderTest, TheFirstStartMakesTheFolderForTheUserAloneWithTheExampleAsVondalIni) {
  const UserFolderNote note = PrepareUserFolder(folders_, RealFileSystem(), home());
  EXPECT_EQ(note.text, "新規作成 ~/.config/vondal/Vondal.ini");
  EXPECT_FALSE(note.error);
  EXPECT_EQ(ReadAll(folders_.program + "Vondal.ini"), kExample);
  // Only the configuration: no temporary file of the copy is left beside it.
  EXPECT_EQ(std::distance(fs::directory_iterator(folders_.program), fs::directory_iterator()), 1);
  for (const std::string& made : {home() + ".config", folders_.program}) {
    struct stat status;
    ASSERT_EQ(stat(made.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u) << made;
  }
  // The next start finds the folder and leaves it as it is.
  EXPECT_EQ(PrepareUserFolder(folders_, RealFileSystem(), home()).text, "");
}

TEST_F(UserFolderTest, AFolderThatIsThereIsLeftAloneAlsoWithoutVondalIni) {
  fs::create_directories(folders_.program);
  const UserFolderNote note = PrepareUserFolder(folders_, RealFileSystem(), home());
  EXPECT_EQ(note.text, "");
  EXPECT_FALSE(fs::exists(folders_.program + "Vondal.ini"));  // its user runs without one
}

TEST_F(UserFolderTest, NothingIsMadeForAProgramFolderThatIsNotTheUsers) {
  folders_.perUser = false;  // VONDAL_HOME, or run from the build folder
  EXPECT_EQ(PrepareUserFolder(folders_, RealFileSystem(), home()).text, "");
  EXPECT_FALSE(fs::exists(home() + ".config"));
}

TEST_F(UserFolderTest, AFailedCopyTakesTheFolderBackSoThatTheNextStartTriesAgain) {
  fs::remove(folders_.sharedData + kExampleConfigName);
  UserFolderNote note = PrepareUserFolder(folders_, RealFileSystem(), home());
  EXPECT_EQ(note.text, "Vondal.iniを作成できません");
  EXPECT_TRUE(note.error);
  EXPECT_FALSE(fs::exists(folders_.program));
  scratch_.Write("usr/share/vondal/Vondal.ini.example", kExample);
  note = PrepareUserFolder(folders_, RealFileSystem(), home());
  EXPECT_FALSE(note.error);
  EXPECT_EQ(ReadAll(folders_.program + "Vondal.ini"), kExample);
}

TEST_F(UserFolderTest, AFolderThatCannotBeMadeIsSaid) {
  scratch_.Write("home/.config", "a file where the folder should be");
  const UserFolderNote note = PrepareUserFolder(folders_, RealFileSystem(), home());
  EXPECT_EQ(note.text, "設定ﾌｫﾙﾀﾞを作成できません");
  EXPECT_TRUE(note.error);
}

TEST_F(UserFolderTest, AFolderOutsideTheHomeIsShownWhole) {
  folders_.program = scratch_.path() + "xdg/vondal/";  // XDG_CONFIG_HOME elsewhere
  EXPECT_EQ(PrepareUserFolder(folders_, RealFileSystem(), home()).text,
            "新規作成 " + folders_.program + "Vondal.ini");
}

}  // namespace
}  // namespace vondal

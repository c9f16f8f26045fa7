#include "app/text/program_folder.h"

#include <gtest/gtest.h>

namespace vondal {
namespace {

// A program in /opt/vondal/bin/; installed when /opt/vondal/share/vondal/ is there.
FolderEnvironment Environment(bool installed) {
  FolderEnvironment environment;
  environment.executableFolder = "/opt/vondal/bin/";
  environment.sharedDataExists = installed;
  environment.home = "/home/jr1abc";
  return environment;
}

TEST(ProgramFoldersTest, RunFromItsBuildFolderTheProgramFolderIsTheExecutables) {
  FolderEnvironment environment = Environment(false);
  environment.xdgConfigHome = "/home/jr1abc/.cfg";  // only an installed program keeps files there
  const ProgramFolders folders = PlanProgramFolders(environment);
  EXPECT_EQ(folders.program, "/opt/vondal/bin/");
  EXPECT_EQ(folders.sharedData, "");
  EXPECT_FALSE(folders.perUser);
}

TEST(ProgramFoldersTest, InstalledTheUsersConfigurationFolderAndTheSharedData) {
  const ProgramFolders folders = PlanProgramFolders(Environment(true));
  EXPECT_EQ(folders.program, "/home/jr1abc/.config/vondal/");
  EXPECT_EQ(folders.sharedData, "/opt/vondal/share/vondal/");
  EXPECT_TRUE(folders.perUser);

  FolderEnvironment environment = Environment(true);
  environment.xdgConfigHome = "/home/jr1abc/.cfg/";
  EXPECT_EQ(PlanProgramFolders(environment).program, "/home/jr1abc/.cfg/vondal/");
  // Empty or relative, XDG_CONFIG_HOME is no setting: ~/.config serves.
  for (const char* invalid : {"", "cfg", "./cfg", "~/cfg"}) {
    environment.xdgConfigHome = invalid;
    EXPECT_EQ(PlanProgramFolders(environment).program, "/home/jr1abc/.config/vondal/") << invalid;
  }
}

TEST(ProgramFoldersTest, VondalHomeWinsEitherWayAndInstalledDataStaysTheFallback) {
  for (bool installed : {false, true}) {
    FolderEnvironment environment = Environment(installed);
    environment.vondalHome = "/srv/log";
    environment.xdgConfigHome = "/home/jr1abc/.cfg";
    const ProgramFolders folders = PlanProgramFolders(environment);
    EXPECT_EQ(folders.program, "/srv/log/");
    EXPECT_FALSE(folders.perUser);  // nothing is made in a folder the user named
    EXPECT_EQ(folders.sharedData, installed ? "/opt/vondal/share/vondal/" : "");
  }
}

TEST(ProgramFoldersTest, InstalledWithoutAHomeFolderTheFilesStayBesideTheProgram) {
  for (const char* home : {"", "relative"}) {
    FolderEnvironment environment = Environment(true);
    environment.home = home;
    const ProgramFolders folders = PlanProgramFolders(environment);
    EXPECT_EQ(folders.program, "/opt/vondal/bin/") << home;
    EXPECT_FALSE(folders.perUser);
  }
}

TEST(ProgramFoldersTest, TheSharedDataIsBesideTheExecutablesFolderWhateverItsName) {
  FolderEnvironment environment = Environment(true);
  environment.executableFolder = "/usr/games";  // without its "/"
  EXPECT_EQ(PlanProgramFolders(environment).sharedData, "/usr/share/vondal/");
  environment.executableFolder = "/";
  EXPECT_EQ(PlanProgramFolders(environment).sharedData, "/share/vondal/");
}

}  // namespace
}  // namespace vondal

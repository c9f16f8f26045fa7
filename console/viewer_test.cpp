#include "console/viewer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vondal {
namespace {

namespace fs = std::filesystem;

// A stand-in for scroll that writes its arguments, one a line, beside itself and ends with 13.
void WriteFakeScroll(const fs::path& folder) {
  fs::create_directories(folder);
  const fs::path script = folder / "scroll";
  std::ofstream(script) << "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"${0%/*}/args.txt\"\nexit 13\n";
  chmod(script.c_str(), 0755);
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class RunViewerDeathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Each case runs again in a new process, where the program folder is found afresh; that
    // process finds the folder through the environment.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    if (const char* folder = std::getenv("VONDAL_VIEWER_TEST_FOLDER"); folder != nullptr) {
      folder_ = folder;
    } else {
      folder_ = fs::temp_directory_path() / ("vondal-viewer-" + std::to_string(getpid()));
      setenv("VONDAL_VIEWER_TEST_FOLDER", folder_.c_str(), 1);
    }
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  fs::path folder_;
};

TEST_F(RunViewerDeathTest, AFileNameIsOneArgumentAndNeverReachesAShell) {
  WriteFakeScroll(folder_ / "home");
  const std::string name = "a\"; touch pwned; echo \"$(touch pwned2)`touch pwned3`'.txt";
  EXPECT_EXIT(
      {
        setenv("VONDAL_HOME", (folder_ / "home").c_str(), 1);
        if (chdir(folder_.c_str()) != 0) std::exit(2);
        std::exit(RunViewer(name, "kK"));
      },
      ::testing::ExitedWithCode(13), "");
  EXPECT_EQ(ReadAll(folder_ / "home" / "args.txt"), name + "\n-Vondal/kK\n");
  EXPECT_FALSE(fs::exists(folder_ / "pwned"));
  EXPECT_FALSE(fs::exists(folder_ / "pwned2"));
  EXPECT_FALSE(fs::exists(folder_ / "pwned3"));
}

TEST_F(RunViewerDeathTest, PathFindsScrollWhenTheProgramFolderHasNone) {
  WriteFakeScroll(folder_ / "path");
  fs::create_directories(folder_ / "home");
  EXPECT_EXIT(
      {
        setenv("VONDAL_HOME", (folder_ / "home").c_str(), 1);
        setenv("PATH", (folder_ / "path").c_str(), 1);
        std::exit(RunViewer("-report.txt", "wk"));
      },
      ::testing::ExitedWithCode(13), "");
  // A name that looks like an option is handed over as a path.
  EXPECT_EQ(ReadAll(folder_ / "path" / "args.txt"), "./-report.txt\n-Vondal/wk\n");
}

TEST_F(RunViewerDeathTest, NoScrollAnywhereIsReported) {
  fs::create_directories(folder_ / "home");
  EXPECT_EXIT(
      {
        setenv("VONDAL_HOME", (folder_ / "home").c_str(), 1);
        setenv("PATH", (folder_ / "home").c_str(), 1);
        std::exit(RunViewer("r.txt", "kK") == kViewerNotStarted ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace vondal

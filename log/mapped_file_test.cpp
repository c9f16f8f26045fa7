#include "log/mapped_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace vondal {
namespace {

namespace fs = std::filesystem;

TEST(MappedFile, HoldsTheBytesOfRegularAndSpecialFiles) {
  const fs::path folder = fs::temp_directory_path() / ("vondal-mapped-" + std::to_string(getpid()));
  fs::create_directories(folder);
  std::ofstream(folder / "a.txt", std::ios::binary) << std::string("x\0y\r\n", 5);
  std::ofstream(folder / "empty.txt", std::ios::binary);

  std::unique_ptr<MappedFile> file = MappedFile::Open((folder / "a.txt").string());
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->bytes(), std::string_view("x\0y\r\n", 5));
  file = MappedFile::Open((folder / "empty.txt").string());
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(file->bytes().empty());
  // A device is read rather than mapped.
  file = MappedFile::Open("/dev/null");
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(file->bytes().empty());

  EXPECT_EQ(MappedFile::Open((folder / "missing.txt").string()), nullptr);
  EXPECT_EQ(MappedFile::Open(folder.string()), nullptr);
  EXPECT_EQ(MappedFile::Open(""), nullptr);
  fs::remove_all(folder);
}

}  // namespace
}  // namespace vondal

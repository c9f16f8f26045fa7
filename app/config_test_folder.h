// A scratch folder for the tests that read configuration files: created empty, removed with
// everything in it when the test ends.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace vondal {

class ConfigTestFolder {
 public:
  ConfigTestFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vondal-config-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
    path_ += "/";
  }
  ~ConfigTestFolder() { std::filesystem::remove_all(path_); }
  ConfigTestFolder(const ConfigTestFolder&) = delete;
  ConfigTestFolder& operator=(const ConfigTestFolder&) = delete;

  // Writes text (CP932 bytes, as they stand) to name inside the folder; returns the file's path.
  std::string Write(std::string_view name, std::string_view text) const {
    std::string file = path_ + std::string(name);
    std::ofstream(file, std::ios::binary) << text;
    return file;
  }

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace vondal

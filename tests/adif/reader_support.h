// What the ADIF checks share: a file to read, and a reader run as a program whose output is kept.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace vondal {

// A new file under /tmp holding `text`; the caller removes it.
inline std::string TemporaryFile(const std::string& text) {
  char name[] = "/tmp/vondal_adif_XXXXXX";
  const int fd = mkstemp(name);
  EXPECT_GE(fd, 0);
  close(fd);
  std::ofstream(name, std::ios::binary) << text;
  return name;
}

// True when the npm package in `folder` is the version the check was written for; a failure
// that says how to install it otherwise (the check is never skipped).
inline bool PackageInstalled(const std::string& folder, const std::string& version) {
  std::ifstream package(folder + "/package.json");
  const std::string manifest((std::istreambuf_iterator<char>(package)), std::istreambuf_iterator<char>());
  if (manifest.find("\"version\": \"" + version + "\"") != std::string::npos) return true;
  ADD_FAILURE() << folder << " " << version << " is not installed (run script/deps)";
  return false;
}

// What a reader program prints on standard output; it must end with status 0.
inline std::string ReaderOutput(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return "";
  std::string out;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  EXPECT_EQ(pclose(pipe), 0) << command;
  return out;
}

}  // namespace vondal

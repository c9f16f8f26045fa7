// One run of Vonrix, the repeat-contact analysis: from the command line to the report file and
// the console messages. main() hands it the arguments in CP932 and returns what it returns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "log/file_system.h"

namespace vondal {

// The first line on the console and in every report.
inline constexpr char kVonrixBanner[] = "Vonrix w01.022H009641";

// Exit statuses: 0 done (or usage shown), 255 an error (the "(!)" line says which).
inline constexpr int kVonrixFailed = 255;

struct VonrixContext {
  FileSystem* fs = &RealFileSystem();
  // The console (standard output): CP932 text with LF line ends.
  std::function<void(std::string_view cp932)> print;
  // Where the configuration sets are ("+" for the program's own folder).
  std::string configFile = "+Vondal.ini";
  // Bytes the block allocator may obtain from the system in all (tests run out of memory with it).
  size_t memoryLimit = SIZE_MAX;
};

// args: the command-line arguments after the program name. Returns the exit status.
int RunVonrix(const std::vector<std::string>& args, const VonrixContext& context);

}  // namespace vondal

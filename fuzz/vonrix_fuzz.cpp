// Any bytes as a Vonrix command line and log: the first line gives the mode, filters and options,
// the rest (cut to whole records) is the log. Every run ends with status 0 or 255, and a run that
// analyses (neither usage nor "?") leaves a report that ends with a line end.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "log/file_system.h"
#include "tools/vonrix/vonrix.h"

using namespace vondal;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const size_t lineEnd = std::min(bytes.find('\n'), bytes.size());
  std::vector<std::string> args = {"F", "out.txt"};
  for (size_t pos = 0; pos < lineEnd;) {  // the words of the first line
    const size_t blank = std::min(bytes.find(' ', pos), lineEnd);
    if (blank > pos) args.emplace_back(bytes.substr(pos, blank - pos));
    pos = blank + 1;
  }
  std::string_view log = lineEnd < bytes.size() ? bytes.substr(lineEnd + 1) : std::string_view();
  log = log.substr(0, log.size() - log.size() % 200);

  MemoryFileSystem fs;
  fs.SetContents("F.VD", std::string(log));
  VonrixContext context;
  context.fs = &fs;
  context.print = [](std::string_view) {};
  context.configFile = "/nonexistent/Vondal.ini";
  const int status = RunVonrix(args, context);
  if (status != 0 && status != kVonrixFailed) std::abort();
  const std::string report = fs.Contents("out.txt");
  const bool listing = std::find(args.begin(), args.end(), "?") != args.end();
  if (status == 0 && args.size() >= 3 && !listing && !report.ends_with("\r\n")) std::abort();
  return 0;
}

// Vonfill's command line and the run that writes a dummy log: everything the program does but
// printing and the exit status.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "log/file_system.h"
#include "tools/vonfill/dummy_log.h"

namespace vondal::vonfill {

// The usage text, lines ending in "\n" (CP932).
const std::string& UsageText();

// What "--help" prints: the usage text, the seed option, the standard options and where the city
// list is read from (`cityListPath`).
std::string HelpText(std::string_view cityListPath);

struct VonfillCommand {
  enum class Action { kUsage, kRefuse, kGenerate };
  Action action = Action::kUsage;
  std::string message;   // kRefuse: why
  std::string fileName;  // the log to create, completed with "VD" (CompleteFileName)
  DummyLogSettings settings;
  bool fixedSeed = false;  // -S###: seed given; the log then also ends in a fixed month
};

// Reads "file-name records [-D###] [-U] [-!] [-S###]" (arguments in CP932, without the program's
// name). Options begin with "-" or "/", their letter in either case, the value right after it.
// Fewer than two arguments, or records not a decimal number starting with 1-9: the usage.
// Refused: records above 1,000,000 ("レコード数制限を超えます"), a foreign share that is no number
// of 0-1 (or 0-100 %), a seed that is no number, an unknown option or extra argument.
// Without -S the seed and the month are left for WriteDummyLog to take from the clock.
VonfillCommand ParseCommandLine(const std::vector<std::string>& args);

// Writes the dummy log of `command` (action kGenerate), reading the city lists from
// `cityListPath`. `progress` is called with the index of every record that is a multiple of
// 10,000, after it is built. "" on success; otherwise the message, and no file is left behind:
// the log is written beside its name and put in place only when it is complete and synced.
std::string WriteDummyLog(const VonfillCommand& command, FileSystem& fs, const std::string& cityListPath,
                          const std::function<void(int)>& progress);

}  // namespace vondal::vonfill

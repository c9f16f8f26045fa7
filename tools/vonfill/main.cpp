// vonfill: writes a new log full of invented contacts, for trying Vondal out on large logs.
#include <cstdio>
#include <string>
#include <vector>

#include "app/text/charset.h"
#include "app/text/program_folder.h"
#include "app/text/standard_options.h"
#include "log/file_system.h"
#include "tools/vonfill/vonfill.h"

using namespace vondal;
using namespace vondal::vonfill;

namespace {

// Vonfill's exit status after an error (-1 to the system that runs it).
constexpr int kFailed = 255;

void PrintCount(int count) {
  char text[16];
  std::snprintf(text, sizeof text, "\r%5d", count);
  std::fputs(text, stdout);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(LocaleToCp932(argv[i]));
  switch (FindStandardOption(args)) {
    case StandardOption::kHelp:
      PrintLocal(stdout, HelpText(FindProgramFile("CGlist3.TXT")));
      return 0;
    case StandardOption::kVersion:
      PrintLocal(stdout, std::string(kVonfillVersion) + "\n");
      return 0;
    case StandardOption::kNone:
      break;
  }

  PrintLocal(stdout, std::string(kVonfillVersion) + "\n\n");
  const VonfillCommand command = ParseCommandLine(args);
  if (command.action == VonfillCommand::Action::kUsage) {
    PrintLocal(stdout, UsageText());
    return 0;
  }
  if (command.action == VonfillCommand::Action::kRefuse) {
    std::fflush(stdout);
    PrintLocal(stderr, command.message + "\n");
    return kFailed;
  }

  bool counting = false;
  const std::string message =
      WriteDummyLog(command, RealFileSystem(), FindProgramFile("CGlist3.TXT"), [&](int i) {
        PrintCount(i);
        counting = true;
      });
  if (!message.empty()) {
    if (counting) std::fputs("\n", stdout);
    std::fflush(stdout);
    PrintLocal(stderr, message + "\n");
    return kFailed;
  }
  PrintCount(command.settings.records);
  std::fputs("\n", stdout);
  return 0;
}

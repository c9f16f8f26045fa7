// vonrix: the repeat-contact analysis of a log. Usage and messages: tools/vonrix/command_line.h.
#include <string>
#include <vector>

#include "app/text/charset.h"
#include "app/text/program_folder.h"
#include "app/text/standard_options.h"
#include "console/console_title.h"
#include "tools/vonrix/command_line.h"
#include "tools/vonrix/vonrix.h"

int main(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(vondal::LocaleToCp932(argv[i]));
  switch (vondal::FindStandardOption(args)) {
    case vondal::StandardOption::kHelp:
      vondal::PrintLocal(stdout, vondal::VonrixHelpText(vondal::InProgramFolder("Vondal.ini")));
      return 0;
    case vondal::StandardOption::kVersion:
      vondal::PrintLocal(stdout, std::string(vondal::kVonrixBanner) + "\n");
      return 0;
    case vondal::StandardOption::kNone:
      break;
  }
  const vondal::ConsoleTitle title("Vonrix");
  vondal::VonrixContext context;
  context.print = [](std::string_view text) { vondal::PrintLocal(stdout, text); };
  return vondal::RunVonrix(args, context);
}

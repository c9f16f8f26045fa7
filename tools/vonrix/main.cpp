// vonrix: the repeat-contact analysis of a log. Usage and messages: tools/vonrix/command_line.h.
#include <string>
#include <vector>

#include "app/text/charset.h"
#include "console/console_title.h"
#include "tools/vonrix/vonrix.h"

int main(int argc, char** argv) {
  const vondal::ConsoleTitle title("Vonrix");
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(vondal::LocaleToCp932(argv[i]));
  vondal::VonrixContext context;
  context.print = [](std::string_view text) { vondal::PrintLocal(stdout, text); };
  return vondal::RunVonrix(args, context);
}

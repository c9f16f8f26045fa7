// scroll: shows a text file in a rectangle of the terminal; Vondal shows its reports with it.
#include <string>
#include <vector>

#include "app/text/charset.h"
#include "tools/scroll/scroll_program.h"

int main(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(vondal::LocaleToCp932(argv[i]));
  return vondal::scroll::RunScroll(args);
}

#include "app/text/standard_options.h"

#include <algorithm>

namespace vondal {

StandardOption FindStandardOption(std::span<const std::string> arguments) {
  auto given = [&](std::string_view option) {
    return std::find(arguments.begin(), arguments.end(), option) != arguments.end();
  };
  if (given("--help")) return StandardOption::kHelp;
  if (given("--version")) return StandardOption::kVersion;
  return StandardOption::kNone;
}

std::string_view StandardOptionLines() {
  return "  --help      この説明を表示して終わる\n"
         "  --version   版を表示して終わる\n";
}

}  // namespace vondal

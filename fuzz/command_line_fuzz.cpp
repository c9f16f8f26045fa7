// Vondal's command line and the folders of a run, on any bytes. The input is split at NUL bytes:
// the first four pieces are VONDAL_HOME, XDG_CONFIG_HOME, HOME and the executable's folder, the
// rest the arguments. Parsing must finish with one answer, "--help" and "--version" must be seen
// wherever they stand, and every folder must end in "/".
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/text/program_folder.h"
#include "app/text/standard_options.h"

namespace {

void Fail(int line) {
  std::fprintf(stderr, "command_line_fuzz.cpp:%d: check failed\n", line);
  std::abort();
}
#define Check(ok) ((ok) ? void() : Fail(__LINE__))

bool EndsInSlash(const std::string& folder) { return !folder.empty() && folder.back() == '/'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> pieces(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      pieces.emplace_back();
    } else {
      pieces.back().push_back(static_cast<char>(data[i]));
    }
  }
  pieces.resize(std::max<size_t>(pieces.size(), 4));

  vondal::FolderEnvironment environment;
  environment.vondalHome = pieces[0];
  environment.xdgConfigHome = pieces[1];
  environment.home = pieces[2];
  environment.executableFolder = pieces[3].empty() ? "/" : pieces[3];
  for (bool installed : {false, true}) {
    environment.sharedDataExists = installed;
    const vondal::ProgramFolders folders = vondal::PlanProgramFolders(environment);
    Check(EndsInSlash(folders.program));
    Check(installed ? EndsInSlash(folders.sharedData) : folders.sharedData.empty());
    Check(!folders.perUser || (installed && pieces[0].empty()));
  }

  const std::vector<std::string> arguments(pieces.begin() + 4, pieces.end());
  const vondal::CommandLine line = vondal::ParseCommandLine(arguments);
  const vondal::StandardOption standard = vondal::FindStandardOption(arguments);
  Check(line.help == (standard == vondal::StandardOption::kHelp));
  Check(line.version == (standard == vondal::StandardOption::kVersion) || line.help);
  Check(!line.word || (*line.word != "--help" && *line.word != "--version"));
  Check(line.arguments.size() == arguments.size());
  Check(vondal::SetName(line).size() <= 32);
  return 0;
}

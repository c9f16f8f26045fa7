#include "console/viewer.h"

#include <unistd.h>

#include "app/text/charset.h"
#include "app/text/program_folder.h"
#include "console/child_process.h"
#include "console/console.h"
#include "console/menu_line.h"

namespace vondal {

std::vector<std::string> ViewerArguments(std::string_view fileName, std::string_view colorLetters) {
  std::string program = InProgramFolder("scroll");
  if (access(FileNameForSystem(program).c_str(), X_OK) != 0) program = "scroll";
  std::string name(fileName);
  if (!name.empty() && name[0] == '-') name.insert(0, "./");
  return {program, name, "-Vondal/" + std::string(colorLetters)};
}

int RunViewer(std::string_view fileName, std::string_view colorLetters) {
  int status = RunChild(ViewerArguments(fileName, colorLetters), true);
  if (status < 0) status = kViewerNotStarted;
  if (ConsoleAttached()) {
    Repaint();
    if (status == kViewerNotStarted) ShowMessage("scrollを起動できません");
  }
  return status;
}

}  // namespace vondal

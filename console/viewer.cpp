#include "console/viewer.h"

#include <unistd.h>

#include "app/text/charset.h"
#include "app/text/program_folder.h"
#include "console/child_process.h"
#include "console/console.h"
#include "console/menu_line.h"

namespace vondal {

namespace {

bool Runnable(const std::string& program) { return access(FileNameForSystem(program).c_str(), X_OK) == 0; }

}  // namespace

std::vector<std::string> ViewerArguments(std::string_view fileName, std::string_view colorLetters) {
  // The program folder's scroll, else the one installed beside this program, else PATH's.
  std::string program = InProgramFolder("scroll");
  if (!Runnable(program)) program = ExecutableFolder() + "scroll";
  if (!Runnable(program)) program = "scroll";
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

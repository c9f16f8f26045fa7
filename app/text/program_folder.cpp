#include "app/text/program_folder.h"

#include <unistd.h>

#include <cstdlib>

#include "app/text/charset.h"

namespace vondal {
namespace {

std::string FindProgramFolder() {
  std::string folder;
  if (const char* home = std::getenv("VONDAL_HOME"); home != nullptr && *home != '\0') {
    folder = home;
  } else {
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n > 0) {
      folder.assign(path, n);
      folder.erase(folder.find_last_of('/') + 1);
    } else {
      folder = "./";
    }
  }
  if (folder.back() != '/') folder.push_back('/');
  return LocaleToCp932(folder);
}

}  // namespace

const std::string& ProgramFolder() {
  static const std::string folder = FindProgramFolder();
  return folder;
}

std::string InProgramFolder(const std::string& name) { return ProgramFolder() + name; }

}  // namespace vondal

#include "app/text/program_folder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "app/text/charset.h"

namespace vondal {
namespace {

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder.push_back('/');
  return folder;
}

// "/usr/bin/" → "/usr/share/vondal/": where an installation keeps the shipped data.
std::string SharedDataFolderOf(const std::string& executableFolder) {
  std::string parent = executableFolder.substr(0, executableFolder.size() - 1);
  parent.erase(parent.find_last_of('/') + 1);
  return WithSlash(parent) + "share/vondal/";
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string ExecutableFolderForSystem() {
  char path[4096];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return "./";
  std::string folder(path, n);
  folder.erase(folder.find_last_of('/') + 1);
  return folder;
}

// $HOME, or the account's home folder when it is unset or empty (a program started by a
// service, or `env -i`).
std::string HomeFolder() {
  std::string home = Environment("HOME");
  if (home.empty()) {
    if (const passwd* account = getpwuid(getuid()); account != nullptr && account->pw_dir != nullptr) {
      home = account->pw_dir;
    }
  }
  return home;
}

bool IsFolder(const std::string& name) {
  struct stat status;
  return stat(name.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

ProgramFolders FoldersOfThisRun() {
  FolderEnvironment environment;
  environment.vondalHome = Environment("VONDAL_HOME");
  environment.xdgConfigHome = Environment("XDG_CONFIG_HOME");
  environment.home = HomeFolder();
  environment.executableFolder = ExecutableFolderForSystem();
  environment.sharedDataExists = IsFolder(SharedDataFolderOf(environment.executableFolder));
  ProgramFolders folders = PlanProgramFolders(environment);
  folders.program = LocaleToCp932(folders.program);
  folders.sharedData = LocaleToCp932(folders.sharedData);
  return folders;
}

}  // namespace

ProgramFolders PlanProgramFolders(const FolderEnvironment& environment) {
  ProgramFolders folders;
  const std::string executableFolder = WithSlash(environment.executableFolder);
  if (environment.sharedDataExists) folders.sharedData = SharedDataFolderOf(executableFolder);
  if (!environment.vondalHome.empty()) {
    folders.program = WithSlash(environment.vondalHome);
  } else if (!environment.sharedDataExists) {
    folders.program = executableFolder;
  } else if (environment.xdgConfigHome.starts_with('/')) {
    // A relative $XDG_CONFIG_HOME is no valid setting and is passed over.
    folders.program = WithSlash(environment.xdgConfigHome) + "vondal/";
    folders.perUser = true;
  } else if (environment.home.starts_with('/')) {
    folders.program = WithSlash(environment.home) + ".config/vondal/";
    folders.perUser = true;
  } else {
    // No home folder at all: the files stay beside the program, as in its build folder.
    folders.program = executableFolder;
  }
  return folders;
}

const ProgramFolders& TheProgramFolders() {
  static const ProgramFolders folders = FoldersOfThisRun();
  return folders;
}

const std::string& ProgramFolder() { return TheProgramFolders().program; }

std::string InProgramFolder(const std::string& name) { return ProgramFolder() + name; }

std::string FindProgramFile(const std::string& name) {
  std::string own = InProgramFolder(name);
  const std::string& shared = TheProgramFolders().sharedData;
  if (shared.empty() || access(FileNameForSystem(own).c_str(), F_OK) == 0) return own;
  std::string installed = shared + name;
  return access(FileNameForSystem(installed).c_str(), F_OK) == 0 ? installed : own;
}

const std::string& ExecutableFolder() {
  static const std::string folder = LocaleToCp932(ExecutableFolderForSystem());
  return folder;
}

}  // namespace vondal

// The program's own folder and the data files shipped with the system.
//
// The program folder holds the user's files: Vondal.ini, the colour file Vondal.VDC and the
// macro file Vondal.VDM; a file name starting with "+" names a file there. Where it is depends
// on how the program is laid out:
// - run from its build folder (the data files beside the executable): the executable's folder;
// - installed (the executable in bin/, the shipped data in ../share/vondal/ beside it): the
//   user's $XDG_CONFIG_HOME/vondal/, or ~/.config/vondal/ when that is unset, empty or relative;
// - either way, the environment variable VONDAL_HOME names another folder instead.
// The shipped data files (CGlist3.TXT, Ru2Macro.TXT, the example configuration and dictionary)
// are read from the program folder; an installed program falls back on its share/vondal/.
#pragma once

#include <string>

namespace vondal {

// What the folders are decided from: the environment and the layout of the installation.
struct FolderEnvironment {
  std::string vondalHome;         // $VONDAL_HOME
  std::string xdgConfigHome;      // $XDG_CONFIG_HOME
  std::string home;               // $HOME, else the home folder of the user's account
  std::string executableFolder;   // the folder of the running executable, ending in "/"
  bool sharedDataExists = false;  // executableFolder's ../share/vondal/ is a folder
};

struct ProgramFolders {
  std::string program;     // the program folder, ending in "/"
  std::string sharedData;  // share/vondal/ of an installed program, ending in "/"; else empty
  bool perUser = false;    // the program folder is the user's configuration folder
};

// The folders for that environment (texts in the locale's charset, as the system gives them).
ProgramFolders PlanProgramFolders(const FolderEnvironment& environment);

// The folders of this run, in CP932, decided once.
const ProgramFolders& TheProgramFolders();

// The program folder, in CP932, ending in "/".
const std::string& ProgramFolder();

// ProgramFolder() + name.
std::string InProgramFolder(const std::string& name);

// A shipped file the program only reads (CGlist3.TXT, Ru2Macro.TXT, a dictionary named with
// "+"): in the program folder when it is there, else in the shared data folder of an installed
// program when it is there; else the program folder's name, which the caller then fails to open.
std::string FindProgramFile(const std::string& name);

// The folder of the running executable, in CP932, ending in "/": the other programs of the
// system stand beside it.
const std::string& ExecutableFolder();

}  // namespace vondal

// The program's own folder: where Vondal.ini, CGlist3.TXT, Ru2Macro.TXT and the default colour and
// macro files live. It is the folder of the running executable, unless the environment variable
// VONDAL_HOME names another one.
#pragma once

#include <string>

namespace vondal {

// The folder, in CP932, ending in "/".
const std::string& ProgramFolder();

// ProgramFolder() + name.
std::string InProgramFolder(const std::string& name);

}  // namespace vondal

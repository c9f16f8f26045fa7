// The first start of an installed program, whose program folder is the user's own
// ($XDG_CONFIG_HOME/vondal/, app/text/program_folder.h): the folder is made, for the user alone,
// and the shipped example configuration is copied into it as Vondal.ini, so that a new user starts
// from a commented configuration that works. A folder that exists is left as it is, also without
// a Vondal.ini (its user may have removed it to run without one).
#pragma once

#include <string>
#include <string_view>

#include "app/text/program_folder.h"
#include "log/file_system.h"

namespace vondal {

// The example configuration among the shipped data files.
inline constexpr char kExampleConfigName[] = "Vondal.ini.example";

struct UserFolderNote {
  std::string text;    // the start-up screen's note (CP932); empty when nothing was made
  bool error = false;  // the folder or its Vondal.ini could not be made
};

// Makes the program folder of `folders` when it is the user's and does not exist yet, with the
// folders above it that are missing (mode 0700), and copies the example configuration of the
// shared data folder in as Vondal.ini (synced, and never over a Vondal.ini that appeared
// meanwhile). When the copy fails the new folder is removed again, so that the next start tries
// once more. `home` ($HOME, CP932) shortens the name the note shows to "~/…".
UserFolderNote PrepareUserFolder(const ProgramFolders& folders, FileSystem& fs, std::string_view home);

}  // namespace vondal

#include "app/user_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "app/text/charset.h"

namespace vondal {
namespace {

bool IsFolder(const std::string& cp932) {
  struct stat status;
  return stat(FileNameForSystem(cp932).c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// Makes `folder` ("/a/b/c/") and each folder above it that is missing, for the user alone.
bool MakeFolders(const std::string& folder) {
  for (size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1)) {
    const std::string part = FileNameForSystem(folder.substr(0, slash));
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return IsFolder(folder);
}

// Copies `from` to the new file `to`, whole or not at all.
bool CopyToNewFile(FileSystem& fs, const std::string& from, const std::string& to) {
  std::unique_ptr<File> source = fs.Open(from, OpenMode::kRead);
  const int64_t size = source ? source->Size() : -1;
  if (size < 0) return false;
  std::string bytes(static_cast<size_t>(size), '\0');
  if (source->ReadAt(0, bytes.data(), bytes.size()) != size) return false;
  FileReplacement copy(fs, to);
  return copy.Open() && copy.Write(bytes.data(), bytes.size()) && copy.CommitNew();
}

std::string ShownName(const std::string& name, std::string_view home) {
  std::string prefix(home);
  if (!prefix.empty() && prefix.back() != '/') prefix.push_back('/');
  if (prefix.size() > 1 && name.starts_with(prefix)) return "~/" + name.substr(prefix.size());
  return name;
}

}  // namespace

UserFolderNote PrepareUserFolder(const ProgramFolders& folders, FileSystem& fs, std::string_view home) {
  if (!folders.perUser || IsFolder(folders.program)) return {};
  if (!MakeFolders(folders.program)) return {"設定ﾌｫﾙﾀﾞを作成できません", true};
  const std::string config = folders.program + "Vondal.ini";
  if (!CopyToNewFile(fs, folders.sharedData + kExampleConfigName, config)) {
    // Another first start at the same moment may have made it: that one is as good as ours.
    if (fs.Exists(config)) return {};
    rmdir(FileNameForSystem(folders.program).c_str());
    return {"Vondal.iniを作成できません", true};
  }
  return {"新規作成 " + ShownName(config, home)};
}

}  // namespace vondal

#include "app/info_system.h"

#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdio>

#include "app/text/charset.h"

namespace vondal {
namespace {

// Taken when the program is loaded, so that it is the start of the run whoever asks first.
const std::time_t startTime = std::time(nullptr);

}  // namespace

std::string SystemNameAndRelease() {
  utsname name{};
  if (uname(&name) != 0) return "?";
  return LocaleToCp932(std::string(name.sysname) + " " + name.release);
}

std::string CurrentFolder() {
  char folder[4096];
  if (getcwd(folder, sizeof folder) == nullptr) return "";
  return LocaleToCp932(folder);
}

std::string ProgramPath() {
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return "";
  return LocaleToCp932(std::string(path, static_cast<size_t>(n)));
}

std::time_t ProgramFileTime() {
  struct stat status {};
  if (stat("/proc/self/exe", &status) != 0) return 0;
  return status.st_mtime;
}

std::time_t StartTime() { return startTime; }

std::string LocalTimeText(std::time_t moment) {
  std::tm local{};
  localtime_r(&moment, &local);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return text;
}

}  // namespace vondal

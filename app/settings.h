// The settings of one run of the main program: the configuration keys after [DEFAULT], the named
// set and the command line have been combined and the file names completed.
#pragma once

#include <string>
#include <vector>

#include "app/switches.h"

namespace vondal {

// Where a key's value came from; the sum of the sources that gave it.
enum Origin : int { kOriginDefault = 1, kOriginSet = 2, kOriginCommandLine = 4 };

struct Settings {
  // Files, completed with their extensions. Empty index/safety/external: not configured.
  std::string color;
  std::string macro;
  std::string log;
  std::string index;
  std::string safety;
  std::string external;
  std::string trans;
  std::string caption;
  std::string user;
  std::string callsign = "QZ0ZZQ";
  std::string handle;
  int memory = 2;  // megabytes of the temporary pool
  std::string prompt;
  int cursor = 0;  // 0: not set
  std::vector<std::string> toggle;
  std::vector<std::string> contestJARL;
  std::vector<std::string> contestP;
  std::vector<std::string> contestV;
  std::vector<std::string> contestKCJ;
  std::vector<std::string> JARLsummary;
  std::vector<std::string> mode;  // raw `mode` lines; see the band table for the parsed segments
  std::vector<std::string> dictionary;

  // The configuration-set text of the start-up screen ("[DEFAULT]設定ｾｯﾄ使用", "非使用", ...) and
  // whether it is shown in the error colour.
  std::string setText;
  bool setTextIsError = false;

  Toggles toggles;
  bool authorsuse = false;  // "-!" or a `user` matching "QZ0ZZQ*"
};

}  // namespace vondal

#include "tools/vonrix/config_sets.h"

#include <array>

#include "app/config_reader.h"
#include "app/text/file_name.h"

namespace vondal {

std::string LogOfConfigSet(std::string_view name, std::string_view configFile, FileSystem& fs,
                           const std::function<void(std::string_view)>& print) {
  std::array<ConfigKey, 2> table;
  table[0].section = name;
  table[0].key = "log";
  table[1].section = "DEFAULT";
  table[1].key = "log";
  ConfigOutput output;
  output.print = print;
  ReadConfig(configFile, table, output);  // without a usable file the argument names the log
  if (table[0].IsGiven()) return CompleteFileName(table[0].values.front(), "VD");
  // [DEFAULT]'s log stands in for a set that names none of its own, never for a log file the
  // user named: that would analyse another log than the one asked for.
  const std::string named = CompleteFileName(name, "VD");
  if (table[1].IsGiven() && !fs.Open(named, OpenMode::kRead)) {
    return CompleteFileName(table[1].values.front(), "VD");
  }
  return named;
}

void ListConfigSets(std::string_view configFile, const std::function<void(std::string_view)>& print) {
  ConfigOutput output;
  output.print = print;
  ReadConfig(configFile, {}, output);
}

}  // namespace vondal

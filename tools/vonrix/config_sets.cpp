#include "tools/vonrix/config_sets.h"

namespace vondal {

// Until the configuration reader is in, a LogFile argument names the log itself.
std::string LogOfConfigSet(std::string_view name, std::string_view,
                           const std::function<void(std::string_view)>&) {
  return std::string(name);
}

void ListConfigSets(std::string_view, const std::function<void(std::string_view)>&) {}

}  // namespace vondal

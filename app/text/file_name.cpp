#include "app/text/file_name.h"

namespace vondal {

std::string CompleteFileName(std::string_view name, std::string_view extension) {
  std::string result(name);
  size_t slash = name.rfind('/');
  std::string_view lastPart = slash == std::string_view::npos ? name : name.substr(slash + 1);
  if (lastPart.find('.') == std::string_view::npos) {
    result.append(".").append(extension);
  } else if (name.back() == '.') {
    result.append(extension);
  }
  return result;
}

}  // namespace vondal

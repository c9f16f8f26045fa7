#include "tools/scroll/frame_text.h"

#include <algorithm>

#include "app/text/sjis.h"

namespace vondal::scroll {

std::string Ruler(int width) {
  std::string ruler(std::max(width, 0), ' ');
  for (int i = 0; i < width; i += 10) ruler[i] = static_cast<char>('0' + i / 10 % 10);
  return ruler;
}

std::string FitFileName(std::string_view name, int width) {
  const long length = static_cast<long>(name.size());
  if (length <= width) return std::string(name);
  long baseName = 0;  // the offset just after the last "/"
  for (size_t i = 0; i < name.size(); i += CharLength(name, i)) {
    if (name[i] == '/') baseName = static_cast<long>(i) + 1;
  }
  long head = std::max((baseName + width - length - 1) / 2, 2L);
  if (!IsCharStart(name, head)) --head;
  long tail = length - (width - head - 2);
  if (!IsCharStart(name, tail)) ++tail;
  return std::string(name.substr(0, head)) + "･･" + std::string(name.substr(tail));
}

}  // namespace vondal::scroll

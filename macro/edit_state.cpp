#include "macro/edit_state.h"

#include <cassert>

#include "console/console.h"

namespace vondal {

EditStyle::EditStyle(std::string_view six) {
  assert(six.size() == 6);
  leftEdge = six[0];
  blank = six[1];
  beyond = six[2];
  rightEdge = six[3];
  caseMode = six[4];
  controlLimit = six[5];
}

int ExitKeyList::CharacterExit(int code) const {
  for (size_t i = 0; i < keys.size() && i < codes.size(); ++i) {
    auto key = static_cast<unsigned char>(keys[i]);
    if (key == 0xFF) break;
    if (key == code) return static_cast<unsigned char>(codes[i]);
  }
  return -1;
}

int ExitKeyList::ScanExit(int scan) const {
  size_t separator = keys.find('\xFF');
  if (separator == std::string::npos) return -1;
  for (size_t i = separator + 1; i < keys.size() && i < codes.size(); ++i) {
    if (static_cast<unsigned char>(keys[i]) == scan) return static_cast<unsigned char>(codes[i]);
  }
  return -1;
}

uint8_t EditState::Color(EditColor role) const {
  return ColorOf(static_cast<ColorElement>(static_cast<int>(family) + static_cast<int>(role)));
}

int EditState::MessageRow() const { return messageRow >= 0 ? messageRow : vondal::MessageRow(); }

EditState& TheEditState() {
  static EditState state;
  return state;
}

std::string& CopyBuffer() {
  static std::string buffer;
  return buffer;
}

ReplaceStrings& TheReplaceStrings() {
  static ReplaceStrings strings;
  return strings;
}

}  // namespace vondal

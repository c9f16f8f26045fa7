#include "station/rig_address.h"

#include <algorithm>
#include <vector>

namespace vondal {
namespace {

constexpr std::string_view kSeparators = " \t,;";

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  for (size_t pos = text.find_first_not_of(kSeparators); pos != std::string_view::npos;
       pos = text.find_first_not_of(kSeparators, pos)) {
    const size_t end = std::min(text.find_first_of(kSeparators, pos), text.size());
    words.push_back(text.substr(pos, end - pos));
    pos = end;
  }
  return words;
}

bool IsModeWord(std::string_view word) {
  if (word.empty() || word.size() > kMaxDataModeBytes) return false;
  for (char c : word) {
    if (c <= ' ' || c > '~') return false;
  }
  return true;
}

}  // namespace

std::optional<RigAddress> ParseRigAddress(std::string_view setting) {
  const std::vector<std::string_view> words = Words(setting);
  if (words.empty() || words.size() > 2) return std::nullopt;
  RigAddress address;
  if (words.size() == 2) {
    if (!IsModeWord(words[1])) return std::nullopt;
    address.dataMode = words[1];
  }
  const std::optional<HostPort> where = ParseHostPort(words[0], kRigctldPort);
  if (!where) return std::nullopt;
  static_cast<HostPort&>(address) = *where;
  return address;
}

}  // namespace vondal

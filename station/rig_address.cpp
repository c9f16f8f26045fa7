#include "station/rig_address.h"

#include <arpa/inet.h>

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

bool IsAddress(int family, const std::string& host) {
  unsigned char bytes[16];
  return inet_pton(family, host.c_str(), bytes) == 1;
}

// 1-65535 in decimal digits only.
std::optional<int> PortOf(std::string_view text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  int port = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    port = port * 10 + (c - '0');
  }
  if (port < 1 || port > 65535) return std::nullopt;
  return port;
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
  const std::string_view where = words[0];
  std::optional<std::string_view> port;  // the text after the ':' that introduces a port
  if (where.starts_with('[')) {          // [IPv6] or [IPv6]:port
    const size_t close = where.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    const std::string_view rest = where.substr(close + 1);
    if (!rest.empty() && !rest.starts_with(':')) return std::nullopt;
    if (!rest.empty()) port = rest.substr(1);
    address.host = where.substr(1, close - 1);
    address.ipv6 = true;
  } else if (where.find(':') != where.rfind(':')) {  // a bare IPv6 address has no port
    address.host = where;
    address.ipv6 = true;
  } else {
    const size_t colon = where.find(':');
    address.host = where.substr(0, colon);
    if (colon != std::string_view::npos) port = where.substr(colon + 1);
    if (address.host == "localhost") address.host = "127.0.0.1";
  }
  if (!IsAddress(address.ipv6 ? AF_INET6 : AF_INET, address.host)) return std::nullopt;
  if (port) {
    const std::optional<int> number = PortOf(*port);
    if (!number) return std::nullopt;
    address.port = *number;
  }
  return address;
}

}  // namespace vondal

#include "station/host_port.h"

#include <arpa/inet.h>
#include <netinet/in.h>

namespace vondal {
namespace {

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

}  // namespace

std::optional<HostPort> ParseHostPort(std::string_view where, int defaultPort) {
  HostPort address;
  address.port = defaultPort;
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

std::string HostPortText(const HostPort& address) {
  return (address.ipv6 ? "[" + address.host + "]" : address.host) + ":" + std::to_string(address.port);
}

socklen_t SocketAddressOf(const HostPort& address, sockaddr_storage& storage) {
  storage = {};
  if (address.ipv6) {
    auto& six = reinterpret_cast<sockaddr_in6&>(storage);
    six.sin6_family = AF_INET6;
    six.sin6_port = htons(static_cast<uint16_t>(address.port));
    inet_pton(AF_INET6, address.host.c_str(), &six.sin6_addr);
    return sizeof six;
  }
  auto& four = reinterpret_cast<sockaddr_in&>(storage);
  four.sin_family = AF_INET;
  four.sin_port = htons(static_cast<uint16_t>(address.port));
  inet_pton(AF_INET, address.host.c_str(), &four.sin_addr);
  return sizeof four;
}

}  // namespace vondal

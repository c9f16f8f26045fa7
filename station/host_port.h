// Where another program listens or sends: a numeric address and a port, as the `rig` and `wsjtx`
// keys write them ("127.0.0.1:4532", "localhost", "[::1]:2237", "239.255.0.1:2237").
#pragma once

#include <sys/socket.h>

#include <optional>
#include <string>
#include <string_view>

namespace vondal {

struct HostPort {
  std::string host;  // a numeric IPv4 or IPv6 address; "localhost" is 127.0.0.1
  int port = 0;
  bool ipv6 = false;
};

// `word` as an address with an optional port (`defaultPort` when it has none); none when it is
// not one. Host names other than localhost are refused: looking a name up may block for seconds,
// and nothing of the outside world may ever hold up typing. A bare IPv6 address takes no port;
// with one it is written in brackets.
std::optional<HostPort> ParseHostPort(std::string_view word, int defaultPort);

// "127.0.0.1:4532", "[::1]:4532".
std::string HostPortText(const HostPort& address);

// The address as the socket calls take it, in `storage`; its length.
socklen_t SocketAddressOf(const HostPort& address, sockaddr_storage& storage);

}  // namespace vondal

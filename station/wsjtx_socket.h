// The UDP socket live logging listens on: the address of the `wsjtx` key, bound for receiving
// only. A multicast group (224.0.0.0-239.255.255.255, or IPv6's ff00::/8) is joined on every
// interface, so that GridTracker and other programs can listen to the same sender beside the log.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "station/host_port.h"

namespace vondal {

inline constexpr int kWsjtxPort = 2237;  // WSJT-X's own default

// The value of `wsjtx`: one address with an optional port; none when it is not one.
std::optional<HostPort> ParseWsjtxAddress(std::string_view setting);

bool IsMulticast(const HostPort& address);

class UdpReceiver {
 public:
  UdpReceiver() = default;
  ~UdpReceiver();
  UdpReceiver(const UdpReceiver&) = delete;
  UdpReceiver& operator=(const UdpReceiver&) = delete;

  // Opens the socket (non-blocking) and binds it to `address`; "" or why it could not be opened,
  // in the operator's words ("ﾎﾟｰﾄ2237は使用中です").
  std::string Open(const HostPort& address);
  int fd() const { return fd_; }

  // The next datagram waiting into `buffer` (of `capacity` bytes, which must exceed the largest
  // datagram wanted): its length, which is larger than `capacity` when it was longer and cut; -1
  // when none waits.
  long Next(char* buffer, size_t capacity);

 private:
  int fd_ = -1;
};

}  // namespace vondal

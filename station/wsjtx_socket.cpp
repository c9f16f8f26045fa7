#include "station/wsjtx_socket.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vondal {
namespace {

// Room for the datagrams that arrive while no key is awaited (a long output, a menu that leaves
// the socket alone): WSJT-X sends dozens of decodes a minute besides the contacts. The system may
// give less.
constexpr int kReceiveBufferBytes = 1 << 20;

// Joins the group on every IPv4 interface that is up: where the sender's datagrams come in
// depends on its "outgoing interface" setting (often the loopback interface). True when any join
// succeeded.
bool JoinGroup(int fd, const in_addr& group) {
  ifaddrs* interfaces = nullptr;
  if (getifaddrs(&interfaces) != 0) return false;
  bool joined = false;
  for (const ifaddrs* i = interfaces; i != nullptr; i = i->ifa_next) {
    if (i->ifa_addr == nullptr || i->ifa_addr->sa_family != AF_INET || !(i->ifa_flags & IFF_UP)) continue;
    ip_mreqn request{};
    request.imr_multiaddr = group;
    request.imr_ifindex = static_cast<int>(if_nametoindex(i->ifa_name));
    if (setsockopt(fd, IPPROTO_IP, IP_ADD_MEMBERSHIP, &request, sizeof request) == 0 || errno == EADDRINUSE)
      joined = true;
  }
  freeifaddrs(interfaces);
  return joined;
}

// The same for an IPv6 group (ff03::1), on every interface there is.
bool JoinGroup6(int fd, const in6_addr& group) {
  struct if_nameindex* interfaces = if_nameindex();
  if (interfaces == nullptr) return false;
  bool joined = false;
  for (const struct if_nameindex* i = interfaces; i->if_index != 0; ++i) {
    ipv6_mreq request{};
    request.ipv6mr_multiaddr = group;
    request.ipv6mr_interface = i->if_index;
    if (setsockopt(fd, IPPROTO_IPV6, IPV6_JOIN_GROUP, &request, sizeof request) == 0 || errno == EADDRINUSE)
      joined = true;
  }
  if_freenameindex(interfaces);
  return joined;
}

}  // namespace

std::optional<HostPort> ParseWsjtxAddress(std::string_view setting) {
  if (setting.empty() || setting.find_first_of(" \t,;") != std::string_view::npos) return std::nullopt;
  return ParseHostPort(setting, kWsjtxPort);
}

bool IsMulticast(const HostPort& address) {
  if (address.ipv6) {
    in6_addr bytes{};
    return inet_pton(AF_INET6, address.host.c_str(), &bytes) == 1 && IN6_IS_ADDR_MULTICAST(&bytes);
  }
  in_addr bytes{};
  return inet_pton(AF_INET, address.host.c_str(), &bytes) == 1 && IN_MULTICAST(ntohl(bytes.s_addr));
}

UdpReceiver::~UdpReceiver() {
  if (fd_ >= 0) close(fd_);
}

std::string UdpReceiver::Open(const HostPort& address) {
  const bool multicast = IsMulticast(address);
  const int family = address.ipv6 ? AF_INET6 : AF_INET;
  const int fd = socket(family, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return "ﾎﾟｰﾄを開けません";
  const int on = 1;
  // Every program that listens to a group gets each datagram; a port of one address is one
  // program's alone, and a second one is told that it is taken.
  if (multicast) setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &kReceiveBufferBytes, sizeof kReceiveBufferBytes);
  sockaddr_storage storage;
  const socklen_t length = SocketAddressOf(address, storage);
  if (bind(fd, reinterpret_cast<sockaddr*>(&storage), length) != 0) {
    const int error = errno;
    close(fd);
    if (error == EADDRINUSE) return "ﾎﾟｰﾄ" + std::to_string(address.port) + "は使用中です";
    if (error == EADDRNOTAVAIL) return "このﾏｼﾝのｱﾄﾞﾚｽではありません";
    return "ﾎﾟｰﾄを開けません";
  }
  const bool joined =
      !multicast || (address.ipv6 ? JoinGroup6(fd, reinterpret_cast<sockaddr_in6&>(storage).sin6_addr)
                                  : JoinGroup(fd, reinterpret_cast<sockaddr_in&>(storage).sin_addr));
  if (!joined) {
    close(fd);
    return "ﾏﾙﾁｷｬｽﾄに参加できません";
  }
  fd_ = fd;
  return "";
}

long UdpReceiver::Next(char* buffer, size_t capacity) {
  if (fd_ < 0) return -1;
  for (;;) {
    const ssize_t got = recv(fd_, buffer, capacity, MSG_TRUNC);
    if (got >= 0) return static_cast<long>(got);
    if (errno != EINTR) return -1;
  }
}

}  // namespace vondal

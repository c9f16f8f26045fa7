// For tests and benchmarks only: WSJT-X's network messages as its senders encode them, written
// from the protocol's public description (big-endian QDataStream: magic 0xadbccbda, schema, type,
// id, the type's fields; utf8 = quint32 length and the bytes, 0xffffffff for a null text;
// QDateTime = qint64 Julian day, quint32 milliseconds since midnight, quint8 time spec, qint32
// offset for spec 2), and a UDP socket to send them from.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace vondal::wsjtx_test {

// A civil date and time of day.
struct When {
  int year = 2024, month = 3, day = 5, hour = 0, minute = 7, second = 0;
};

inline int64_t JulianDay(int year, int month, int day) {
  const int a = (14 - month) / 12;
  const int64_t y = year + 4800 - a;
  const int64_t m = month + 12 * a - 3;
  return day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
}

// A message under construction: the header first, then the fields in the order they are added.
class Datagram {
 public:
  explicit Datagram(uint32_t type, std::string_view id = "WSJT-X", uint32_t schema = 3) {
    U32(0xadbccbda).U32(schema).U32(type).Text(id);
  }

  Datagram& Unsigned(uint64_t value, int size) {
    for (int i = size - 1; i >= 0; --i) bytes_ += static_cast<char>(value >> (8 * i) & 0xff);
    return *this;
  }
  Datagram& U8(uint8_t value) { return Unsigned(value, 1); }
  Datagram& U32(uint32_t value) { return Unsigned(value, 4); }
  Datagram& U64(uint64_t value) { return Unsigned(value, 8); }
  Datagram& Text(std::string_view text) {
    U32(static_cast<uint32_t>(text.size()));
    bytes_ += text;
    return *this;
  }
  Datagram& Null() { return U32(0xffffffff); }
  // spec 0 local time, 1 UTC, 2 `offsetSeconds` from UTC.
  Datagram& DateTime(const When& t, uint8_t spec = 1, int32_t offsetSeconds = 0) {
    U64(static_cast<uint64_t>(JulianDay(t.year, t.month, t.day)));
    U32(static_cast<uint32_t>(((t.hour * 60 + t.minute) * 60 + t.second) * 1000));
    U8(spec);
    if (spec == 2) U32(static_cast<uint32_t>(offsetSeconds));
    return *this;
  }
  // QDateTime() as Qt writes it: a null date (the smallest qint64) and time (all ones).
  Datagram& NullDateTime() { return U64(0x8000000000000000ull).U32(0xffffffff).U8(0); }
  Datagram& Raw(std::string_view bytes) {
    bytes_ += bytes;
    return *this;
  }

  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// Type 12, "Logged ADIF": the header, then `adif` as one utf8.
inline std::string LoggedAdif(std::string_view adif, std::string_view id = "WSJT-X") {
  return Datagram(12, id).Text(adif).bytes();
}

// The ADIF text WSJT-X puts into a Logged ADIF message for one contact.
inline std::string AdifOf(std::string_view call, const When& on, std::string_view mhz = "7.075123",
                          std::string_view mode = "FT8") {
  char date[16];
  char time[16];
  std::snprintf(date, sizeof date, "%04d%02d%02d", on.year, on.month, on.day);
  std::snprintf(time, sizeof time, "%02d%02d%02d", on.hour, on.minute, on.second);
  auto item = [](std::string_view name, std::string_view value) {
    return "<" + std::string(name) + ":" + std::to_string(value.size()) + ">" + std::string(value) + " ";
  };
  return "\n<adif_ver:5>3.1.0\n<programid:6>WSJT-X\n<EOH>\n" + item("call", call) +
         item("gridsquare", "PM95") + item("mode", mode) + item("rst_sent", "-10") + item("rst_rcvd", "-12") +
         item("qso_date", date) + item("time_on", time) + item("qso_date_off", date) +
         item("time_off", time) + item("band", "40m") + item("freq", mhz) +
         item("station_callsign", "JA1ZZZ") + item("my_gridsquare", "PM95") + "<EOR>";
}

// Type 5, "QSO Logged", with every field of today's senders.
struct Qso {
  std::string call = "JA1ABC";
  std::string grid = "PM95";
  uint64_t hz = 7075123;
  std::string mode = "FT8";
  std::string sent = "-10";
  std::string received = "-12";
  std::string power = "50";
  std::string comments;
  std::string name;
  When on;
  When off;
};

inline std::string QsoLogged(const Qso& q, std::string_view id = "WSJT-X") {
  return Datagram(5, id)
      .DateTime(q.off)
      .Text(q.call)
      .Text(q.grid)
      .U64(q.hz)
      .Text(q.mode)
      .Text(q.sent)
      .Text(q.received)
      .Text(q.power)
      .Text(q.comments)
      .Text(q.name)
      .DateTime(q.on)
      .Text("JA1ZZZ")  // operator
      .Text("JA1ZZZ")  // my call
      .Text("PM95")    // my grid
      .Text("")        // exchange sent
      .Text("")        // exchange received
      .Text("")        // propagation mode
      .bytes();
}

// A UDP socket that sends to 127.0.0.1:`port`.
class Sender {
 public:
  explicit Sender(int port) : fd_(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
    to_.sin_family = AF_INET;
    to_.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    to_.sin_port = htons(static_cast<uint16_t>(port));
  }
  ~Sender() { close(fd_); }
  Sender(const Sender&) = delete;
  Sender& operator=(const Sender&) = delete;

  bool Send(std::string_view bytes) {
    return sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to_), sizeof to_) ==
           static_cast<ssize_t>(bytes.size());
  }

 private:
  int fd_;
  sockaddr_in to_{};
};

// A UDP port of 127.0.0.1 that was free a moment ago.
inline int FreeUdpPort() {
  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    std::perror("udp port");
    std::exit(2);
  }
  close(fd);
  return ntohs(address.sin_port);
}

}  // namespace vondal::wsjtx_test

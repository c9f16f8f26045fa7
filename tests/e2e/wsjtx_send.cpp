// The e2e cases' WSJT-X: sends network messages as WSJT-X and its kin send them, to a UDP address
// (station/wsjtx_test_support.h encodes them). Usage:
//
//   wsjtx_send 127.0.0.1:PORT [--id NAME] adif NAME=VALUE...   Logged ADIF (12) of these ADIF fields
//   wsjtx_send 127.0.0.1:PORT [--id NAME] qso NAME=VALUE...    QSO Logged (5): call grid hz mode sent
//                                                              rcvd power comments name on off
//                                                              (on, off: YYYYMMDDTHHMMSS, UTC)
//   wsjtx_send 127.0.0.1:PORT heartbeat | garbage
//
// Exit status 0 when the datagram was sent, 2 on a usage error.
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "station/wsjtx_test_support.h"

namespace {

using vondal::wsjtx_test::Datagram;
using vondal::wsjtx_test::When;

int Usage() {
  std::fprintf(stderr,
               "usage: wsjtx_send 127.0.0.1:PORT [--id NAME] adif|qso NAME=VALUE... | heartbeat | garbage\n");
  return 2;
}

When WhenOf(const std::string& text) {
  When t;
  if (std::sscanf(text.c_str(), "%4d%2d%2dT%2d%2d%2d", &t.year, &t.month, &t.day, &t.hour, &t.minute,
                  &t.second) != 6)
    std::exit(Usage());
  return t;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string address = argv[1];
  const size_t colon = address.rfind(':');
  if (address.substr(0, colon) != "127.0.0.1" || colon == std::string::npos) return Usage();
  int next = 2;
  std::string id = "WSJT-X";
  if (std::string(argv[next]) == "--id" && argc > next + 2) {
    id = argv[next + 1];
    next += 2;
  }
  const std::string kind = argv[next++];
  std::map<std::string, std::string> fields;
  std::string adif = "WSJT-X ADIF Export\n<adif_ver:5>3.1.0\n<programid:6>WSJT-X\n<EOH>\n";
  for (; next < argc; ++next) {
    const std::string item = argv[next];
    const size_t equals = item.find('=');
    if (equals == std::string::npos) return Usage();
    const std::string name = item.substr(0, equals);
    const std::string value = item.substr(equals + 1);
    fields[name] = value;
    adif += "<" + name + ":" + std::to_string(value.size()) + ">" + value + " ";
  }
  std::string datagram;
  if (kind == "adif") {
    datagram = vondal::wsjtx_test::LoggedAdif(adif + "<EOR>\n", id);
  } else if (kind == "qso") {
    vondal::wsjtx_test::Qso qso;
    qso.call = fields["call"];
    qso.grid = fields["grid"];
    qso.hz = std::strtoull(fields["hz"].c_str(), nullptr, 10);
    qso.mode = fields["mode"];
    qso.sent = fields["sent"];
    qso.received = fields["rcvd"];
    qso.power = fields["power"];
    qso.comments = fields["comments"];
    qso.name = fields["name"];
    qso.on = WhenOf(fields["on"]);
    qso.off = fields.count("off") ? WhenOf(fields["off"]) : qso.on;
    datagram = vondal::wsjtx_test::QsoLogged(qso, id);
  } else if (kind == "heartbeat") {
    datagram = Datagram(0, id).U32(3).Text("2.7.0").Text("abcdef").bytes();
  } else if (kind == "garbage") {
    datagram = "<call:6>JA1ABC<eor>";
  } else {
    return Usage();
  }
  vondal::wsjtx_test::Sender sender(std::atoi(address.c_str() + colon + 1));
  if (!sender.Send(datagram)) {
    std::perror("wsjtx_send");
    return 1;
  }
  return 0;
}

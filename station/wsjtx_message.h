// The datagrams WSJT-X (and JTDX, JS8Call, MSHV, which speak its protocol) send over UDP: their
// network messages, as far as the log needs them. A message is big-endian QDataStream data:
//
//   quint32 magic 0xadbccbda, quint32 schema, quint32 type, utf8 id, then the type's fields
//
// utf8 is a quint32 byte count (0xffffffff: a null text) and that many bytes. Two types carry a
// logged contact: 12 "Logged ADIF" (utf8: an ADIF file of the contact) and 5 "QSO Logged" (its
// fields one by one, below). Every other type is of no concern to a log. Senders add fields at the
// end of a type over the years, so bytes behind the fields known here are passed over, and the
// later fields of type 5 may be missing altogether.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vondal {

inline constexpr uint32_t kWsjtxMagic = 0xadbccbda;
inline constexpr uint32_t kWsjtxQsoLogged = 5;
inline constexpr uint32_t kWsjtxLoggedAdif = 12;
// Larger than any UDP datagram: what is longer was cut on the way and is no message.
inline constexpr size_t kMaxWsjtxDatagram = 65536;
// The sender's name as the message line shows it when its id is empty or unprintable.
inline constexpr char kWsjtxDefaultId[] = "WSJT-X";

enum class WsjtxKind {
  kRefused,     // not a whole, valid message: `refusal` says why
  kOther,       // a valid header of another type (heartbeat, status, decodes …): nothing to do
  kLoggedAdif,  // type 12: `adif` holds the ADIF text
  kQsoLogged,   // type 5: `fields` hold its values under ADIF's field names
};

struct WsjtxMessage {
  WsjtxKind kind = WsjtxKind::kRefused;
  uint32_t schema = 0;
  uint32_t type = 0;
  std::string id;    // the sender's id as sent (UTF-8); empty when null
  std::string adif;  // kLoggedAdif
  // kQsoLogged: CALL, GRIDSQUARE, FREQ (MHz, six decimals), MODE, RST_SENT, RST_RCVD, TX_PWR,
  // COMMENT, NAME, QSO_DATE and TIME_ON (UTC, YYYYMMDD and HHMMSS; from "Date & Time Off" when a
  // sender gives no "Date & Time On"), TIME_OFF, OPERATOR, STATION_CALLSIGN, MY_GRIDSQUARE,
  // STX_STRING, SRX_STRING, PROP_MODE: those the message holds, values in UTF-8.
  std::vector<std::pair<std::string_view, std::string>> fields;
  std::string refusal;  // kRefused: the reason, for the information screen (CP932)
};

// Decodes one datagram. Pure apart from a time sent as the sender's local time, which is taken as
// this machine's local time (the senders run beside the log). Never reads outside `bytes`.
WsjtxMessage DecodeWsjtxDatagram(std::string_view bytes);

// The sender's id as the message line shows it: printable ASCII of at most 16 bytes, else
// kWsjtxDefaultId.
std::string WsjtxSenderName(std::string_view id);

}  // namespace vondal

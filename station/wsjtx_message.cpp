#include "station/wsjtx_message.h"

#include <cstdio>
#include <ctime>
#include <optional>

#include "app/text/sjis.h"

namespace vondal {
namespace {

// The schemas whose date and time encoding is known: 1 (Qt 5.0, times always in UTC), 2 and 3
// (the time spec says which clock). A "Logged ADIF" holds only texts, whose encoding no schema
// changed, so its schema is not asked about.
constexpr uint32_t kLastKnownSchema = 3;

constexpr uint32_t kNullText = 0xffffffff;
constexpr int64_t kMsPerDay = 86400000;
// Julian days of 0001-01-01 and 9999-12-31: a date outside them is none.
constexpr int64_t kFirstJulianDay = 1721426;
constexpr int64_t kLastJulianDay = 5373484;
constexpr int64_t kUnixEpochJulianDay = 2440588;

// QDateTime's time specs.
enum TimeSpec : uint8_t { kLocalTime = 0, kUtc = 1, kOffsetFromUtc = 2 };

class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  bool AtEnd() const { return pos_ == bytes_.size(); }
  bool failed() const { return failed_; }

  uint64_t Unsigned(int size) {
    if (failed_ || bytes_.size() - pos_ < static_cast<size_t>(size)) {
      failed_ = true;
      return 0;
    }
    uint64_t value = 0;
    for (int i = 0; i < size; ++i) value = value << 8 | static_cast<unsigned char>(bytes_[pos_++]);
    return value;
  }
  uint32_t U32() { return static_cast<uint32_t>(Unsigned(4)); }

  // A utf8 text; a null one reads as empty.
  std::string Text() {
    const uint32_t size = U32();
    if (failed_ || size == kNullText) return {};
    if (bytes_.size() - pos_ < size) {
      failed_ = true;
      return {};
    }
    std::string text(bytes_.substr(pos_, size));
    pos_ += size;
    return text;
  }

 private:
  std::string_view bytes_;
  size_t pos_ = 0;
  bool failed_ = false;
};

struct DateTime {
  bool valid = false;  // false: the sender gave a null date or time
  bool readable = true;
  std::time_t utc = 0;
};

// The seconds since 1970 of a civil date and time read as UTC.
std::time_t UtcSeconds(int64_t julianDay, int64_t ms) {
  return static_cast<std::time_t>((julianDay - kUnixEpochJulianDay) * 86400 + ms / 1000);
}

// The same date and time read as this machine's local time.
std::time_t LocalSeconds(int64_t julianDay, int64_t ms) {
  std::tm t{};
  const std::time_t asUtc = UtcSeconds(julianDay, ms);
  gmtime_r(&asUtc, &t);
  t.tm_isdst = -1;
  return mktime(&t);
}

// QDateTime: qint64 Julian day, quint32 milliseconds since midnight, quint8 time spec, and for the
// spec "offset from UTC" a qint32 offset in seconds. A time zone spec (3) carries fields of its
// own that cannot be passed over: such a message cannot be read on.
DateTime ReadDateTime(Reader& in, uint32_t schema) {
  DateTime result;
  const auto julianDay = static_cast<int64_t>(in.Unsigned(8));
  const auto ms = static_cast<int64_t>(in.U32());
  const auto spec = static_cast<uint8_t>(in.Unsigned(1));
  int64_t offset = 0;
  if (spec == kOffsetFromUtc) offset = static_cast<int32_t>(in.U32());
  if (spec > kOffsetFromUtc) result.readable = false;
  if (in.failed() || !result.readable) return result;
  if (julianDay < kFirstJulianDay || julianDay > kLastJulianDay || ms < 0 || ms >= kMsPerDay) return result;
  result.valid = true;
  if (schema == 1 || spec == kUtc) {
    result.utc = UtcSeconds(julianDay, ms);  // Qt 5.0 wrote every date and time in UTC
  } else if (spec == kOffsetFromUtc) {
    result.utc = UtcSeconds(julianDay, ms) - offset;
  } else {
    result.utc = LocalSeconds(julianDay, ms);
  }
  return result;
}

// "YYYYMMDD" and "HHMMSS" of a UTC time.
std::pair<std::string, std::string> AdifDateAndTime(std::time_t utc) {
  std::tm t{};
  gmtime_r(&utc, &t);
  char date[48];
  char time[48];
  std::snprintf(date, sizeof date, "%04d%02d%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
  std::snprintf(time, sizeof time, "%02d%02d%02d", t.tm_hour, t.tm_min, t.tm_sec);
  return {date, time};
}

WsjtxMessage Refuse(WsjtxMessage message, std::string reason) {
  message.kind = WsjtxKind::kRefused;
  message.adif.clear();
  message.fields.clear();
  message.refusal = std::move(reason);
  return message;
}

constexpr char kTruncated[] = "途中で切れています";

// The fields of "QSO Logged", in the order they are sent. Those up to NAME have been sent since the
// type was made; the others came later, and a message may end before any of them.
WsjtxMessage DecodeQsoLogged(Reader& in, WsjtxMessage message) {
  auto add = [&message](std::string_view name, std::string value) {
    if (!value.empty()) message.fields.emplace_back(name, std::move(value));
  };
  const DateTime off = ReadDateTime(in, message.schema);
  if (!off.readable) return Refuse(std::move(message), "日時の形式が読めません");
  add("CALL", in.Text());
  add("GRIDSQUARE", in.Text());
  if (const uint64_t hz = in.Unsigned(8); hz > 0) {
    char mhz[32];
    std::snprintf(mhz, sizeof mhz, "%llu.%06llu", static_cast<unsigned long long>(hz / 1000000),
                  static_cast<unsigned long long>(hz % 1000000));
    add("FREQ", mhz);
  }
  for (std::string_view name : {"MODE", "RST_SENT", "RST_RCVD", "TX_PWR", "COMMENT", "NAME"})
    add(name, in.Text());
  if (in.failed()) return Refuse(std::move(message), kTruncated);

  DateTime on;
  if (!in.AtEnd()) {
    on = ReadDateTime(in, message.schema);
    if (!on.readable) return Refuse(std::move(message), "日時の形式が読めません");
  }
  for (std::string_view name :
       {"OPERATOR", "STATION_CALLSIGN", "MY_GRIDSQUARE", "STX_STRING", "SRX_STRING", "PROP_MODE"}) {
    if (in.AtEnd()) break;
    add(name, in.Text());
  }
  if (in.failed()) return Refuse(std::move(message), kTruncated);

  // A sender from before "Date & Time On" gives only the end: the contact starts there too.
  const DateTime& start = on.valid ? on : off;
  if (start.valid) {
    auto [date, time] = AdifDateAndTime(start.utc);
    add("QSO_DATE", std::move(date));
    add("TIME_ON", std::move(time));
  }
  if (off.valid) add("TIME_OFF", AdifDateAndTime(off.utc).second);
  message.kind = WsjtxKind::kQsoLogged;
  return message;
}

}  // namespace

WsjtxMessage DecodeWsjtxDatagram(std::string_view bytes) {
  WsjtxMessage message;
  if (bytes.size() > kMaxWsjtxDatagram) return Refuse(std::move(message), "長すぎます");
  Reader in(bytes);
  if (in.U32() != kWsjtxMagic) return Refuse(std::move(message), "WSJT-Xのﾒｯｾｰｼﾞではありません");
  message.schema = in.U32();
  message.type = in.U32();
  message.id = in.Text();
  if (in.failed()) return Refuse(std::move(message), kTruncated);
  if (message.schema == 0) return Refuse(std::move(message), "ｽｷｰﾏ0は読めません");
  switch (message.type) {
    case kWsjtxLoggedAdif:
      message.adif = in.Text();
      if (in.failed()) return Refuse(std::move(message), kTruncated);
      message.kind = WsjtxKind::kLoggedAdif;
      return message;
    case kWsjtxQsoLogged:
      if (message.schema > kLastKnownSchema)
        return Refuse(std::move(message), "ｽｷｰﾏ" + std::to_string(message.schema) + "は読めません");
      return DecodeQsoLogged(in, std::move(message));
    default:
      message.kind = WsjtxKind::kOther;
      return message;
  }
}

std::string WsjtxSenderName(std::string_view id) {
  if (id.empty() || id.size() > 16 || !IsPrintableAscii(id)) return kWsjtxDefaultId;
  return std::string(id);
}

}  // namespace vondal

// Any bytes as a datagram to live logging. The first byte chooses: 0 the bytes as they are, 1 the
// bytes as the ADIF text of a Logged ADIF message, 2 as the fields behind a QSO Logged header. The
// decoder never reads outside the datagram and refuses with a reason or gives what its kind
// promises (type 5: a date and times of ADIF's form, no empty value); every contact the listener
// keeps is written by WriteRecord into an empty log on the first try, or found in it, or (refused
// by the log's checks of its own texts) kept waiting; a second announcement of each contact
// written is found in the log.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "log/field_table.h"
#include "log/file_system.h"
#include "log/log_test_support.h"
#include "station/wsjtx_listener.h"
#include "station/wsjtx_message.h"
#include "station/wsjtx_test_support.h"

using namespace vondal;

namespace {

bool AllDigits(std::string_view text, size_t size) {
  if (text.size() != size) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

void CheckMessage(const WsjtxMessage& message) {
  switch (message.kind) {
    case WsjtxKind::kRefused:
      if (message.refusal.empty() || !message.fields.empty() || !message.adif.empty()) std::abort();
      break;
    case WsjtxKind::kQsoLogged:
      for (const auto& [name, value] : message.fields) {
        if (value.empty()) std::abort();
        if (name == "QSO_DATE" && !AllDigits(value, 8)) std::abort();
        if ((name == "TIME_ON" || name == "TIME_OFF") && !AllDigits(value, 6)) std::abort();
      }
      break;
    default:
      if (!message.fields.empty()) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > 2 * kMaxWsjtxDatagram) return 0;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string datagram;
  switch (data[0] % 3) {
    case 0:
      datagram = rest;
      break;
    case 1:
      datagram = wsjtx_test::LoggedAdif(rest);
      break;
    default:
      datagram = wsjtx_test::Datagram(5).Raw(rest).bytes();
  }
  CheckMessage(DecodeWsjtxDatagram(datagram));

  ResetFieldTable();
  MemoryFileSystem fs;
  testing::LogSet set(fs);
  if (!set.log.OpenLog("F.VD").empty()) std::abort();
  WsjtxListener listener("127.0.0.1:2237", data[0] / 3 % 2 ? TimeZone::kUtc : TimeZone::kJst);
  listener.Take(datagram);
  const size_t kept = listener.Waiting().size();
  const WsjtxWrite write = listener.WriteWaiting(set.log, set.index);
  const long written = listener.Status().written;
  const long duplicates = listener.Status().duplicates;
  const size_t waiting = listener.Waiting().size();
  if (write.fatal || static_cast<size_t>(written + duplicates) + waiting != kept ||
      set.log.RecordCount() != written)
    std::abort();
  // What stays waiting was refused for its own texts by the log's checks (a call sign of two
  // letters or a MODE that begins with no letter, which the ADIF mapping lets through), never
  // dropped.
  Record r;
  for (const WsjtxContact& contact : listener.Waiting()) {
    r = contact.record;
    bool refused = false;
    for (int f = 0; f < kStoredFieldCount; ++f)
      refused = refused || !CheckStoredField(f, r[f], false).message.empty();
    if (!refused) std::abort();
  }
  if (waiting > 0 && listener.Status().refusal.empty()) std::abort();
  // Announced again, every contact is one the log holds or one it refuses again: nothing is added.
  listener.Take(datagram);
  listener.WriteWaiting(set.log, set.index);
  if (set.log.RecordCount() != written) std::abort();
  return 0;
}

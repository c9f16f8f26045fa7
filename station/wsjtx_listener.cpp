#include "station/wsjtx_listener.h"

#include <algorithm>
#include <ctime>

#include "adif/adif_reader.h"
#include "adif/adif_record.h"
#include "adif/duplicates.h"
#include "app/text/monotonic.h"
#include "log/field_table.h"
#include "station/wsjtx_message.h"

namespace vondal {
namespace {

constexpr int kDatagramsAtATime = 256;

// "WSJT-X: JA1ABC " in front of what happened to a contact.
std::string About(const WsjtxContact& contact) {
  return contact.sender + ": " + contact.record[CALLSIGN] + " ";
}

// Lifts what keeps the operator's own writes in check for the time of a live write, and puts it
// back afterwards: browse mode (R) and the contest's multiplier check are the editor's business.
class LiveWriteScope {
 public:
  explicit LiveWriteScope(LogFile& log)
      : log_(log), writeProtect_(log.options.writeProtect), multiplier_(log.multiplier) {
    log.options.writeProtect = false;
    log.multiplier = nullptr;
  }
  ~LiveWriteScope() {
    log_.options.writeProtect = writeProtect_;
    log_.multiplier = multiplier_;
  }

 private:
  LogFile& log_;
  bool writeProtect_;
  MultiplierCheck* multiplier_;
};

}  // namespace

WsjtxListener::WsjtxListener(std::string_view setting, TimeZone logClock, WsjtxTiming timing)
    : address_(ParseWsjtxAddress(setting)), logClock_(logClock), timing_(timing) {
  status_.address = address_ ? HostPortText(*address_) : std::string(setting);
}

std::string WsjtxListener::Open() {
  status_.openFailure = address_ ? socket_.Open(*address_) : "WSJT-Xのｱﾄﾞﾚｽが不適当です";
  return status_.openFailure;
}

void WsjtxListener::Receive() {
  buffer_.resize(kMaxWsjtxDatagram + 1);
  // A flood of datagrams is taken in a part at a time: the keys typed meanwhile come in between.
  for (int i = 0; i < kDatagramsAtATime; ++i) {
    const long size = socket_.Next(buffer_.data(), buffer_.size());
    if (size < 0) return;
    // A datagram cut to the buffer is longer than any message and is refused as such.
    Take(std::string_view(buffer_.data(), std::min<size_t>(static_cast<size_t>(size), buffer_.size())));
  }
}

void WsjtxListener::Take(std::string_view datagram) {
  const WsjtxMessage message = DecodeWsjtxDatagram(datagram);
  if (message.kind == WsjtxKind::kRefused) return Drop(message.refusal);
  if (message.kind == WsjtxKind::kOther) return;
  const std::string sender = WsjtxSenderName(message.id);
  AdifMapOptions options;
  options.logClock = logClock_;
  AdifContact mapped;
  auto keep = [&] {
    ++status_.arrived;
    if (!mapped.refusal.empty()) {
      const std::string& call = mapped.record[CALLSIGN];
      return Drop(call.empty() ? mapped.refusal : call + " " + mapped.refusal);
    }
    Keep({mapped.record, sender});
  };
  if (message.kind == WsjtxKind::kQsoLogged) {
    std::vector<AdifField> fields;
    for (const auto& [name, value] : message.fields) fields.push_back({name, value});
    MapAdifRecord(fields, options, mapped);
    return keep();
  }
  // Logged ADIF: an ADIF file whose one record is the contact (every record, should it hold more).
  AdifReader reader(message.adif);
  options.charset = reader.charset();
  options.fileClock = reader.clock();
  std::vector<AdifField> fields;
  while (reader.Next(fields)) {
    MapAdifRecord(fields, options, mapped);
    keep();
  }
}

void WsjtxListener::Drop(std::string reason) {
  ++status_.dropped;
  status_.lastDropped = std::move(reason);
  status_.droppedAt = std::time(nullptr);
}

void WsjtxListener::Keep(WsjtxContact contact) {
  if (waiting_.size() >= timing_.maxWaiting) {
    return Drop(contact.record[CALLSIGN] + " 未記録の交信が多すぎます");
  }
  waiting_.push_back(std::move(contact));
  retryAtMs_ = 0;  // a new contact is written at the next chance
}

int WsjtxListener::FindInLog(LogFile& log, const RecordIndex& index, const Record& contact) {
  // Records below finderRecords_ change only by a rewrite or a sort (a join that fails is cut back
  // to its own start, which lies behind them); records are added only at the end.
  const WriteCounters& counters = log.counters();
  const long changes = counters[kCountLogOld] + counters[kCountLogSort];
  if (!finder_ || finderIndex_ != &index || changes != finderChanges_ || index.size() < finderRecords_) {
    finder_ = std::make_unique<DuplicateFinder>(index, log);
    finderIndex_ = &index;
    finderRecords_ = index.size();
    finderChanges_ = changes;
  }
  for (; finderRecords_ < index.size(); ++finderRecords_) finder_->Add(finderRecords_);
  return finder_->Find(contact);
}

int WsjtxListener::DueInMs() const {
  if (waiting_.empty()) return -1;
  return static_cast<int>(std::clamp<int64_t>(retryAtMs_ - MonotonicMs(), 0, timing_.retryMs));
}

WsjtxWrite WsjtxListener::WriteWaiting(LogFile& log, RecordIndex& index, int most) {
  WsjtxWrite result;
  LiveWriteScope scope(log);
  std::string told;     // what happened, for the message line
  std::string refusal;  // the first refusal of this round
  int more = 0;         // contacts written beside the one named
  std::string warning;  // a write that succeeded with a warning (the journal)
  for (auto it = waiting_.begin(); it != waiting_.end() && most > 0; --most) {
    const int same = FindInLog(log, index, it->record);
    if (same >= 0) {
      ++status_.duplicates;
      if (result.written.empty() && refusal.empty())
        told = About(*it) + "ﾛｸﾞの" + std::to_string(same + 1) + "番目の交信と同じため省略";
      it = waiting_.erase(it);
      continue;
    }
    Record record = it->record;
    const int n = log.RecordCount();
    const WriteResult write = log.WriteRecord(n, record);
    if (write.fatal) {
      result.message = write.message;
      result.fatal = true;
      return result;
    }
    if (!write.written) {
      if (refusal.empty()) refusal = About(*it) + write.message;
      if (write.field < 0) break;  // not the contact's fault: the others would fare no better
      ++it;
      continue;
    }
    ++status_.written;
    if (result.written.empty()) {
      told = About(*it) + "記録しました";
    } else {
      ++more;
    }
    if (!write.message.empty()) warning = write.message;
    result.written.push_back(n);
    it = waiting_.erase(it);
  }
  if (more > 0)
    told.insert(told.size() - std::string_view("記録しました").size(), "他" + std::to_string(more) + "件 ");
  if (!warning.empty()) told += " (" + warning + ")";

  if (refusal.empty()) {
    status_.refusal.clear();
    toldRefusal_.clear();
  } else {
    status_.refusal = refusal;
    status_.refusedAt = std::time(nullptr);
    retryAtMs_ = MonotonicMs() + timing_.retryMs;
    // A refusal is told once, and again only when its reason changes or a write got through.
    if (refusal != toldRefusal_ && told.empty()) {
      told = refusal;
      toldRefusal_ = refusal;
    }
  }
  result.message = told;
  return result;
}

}  // namespace vondal

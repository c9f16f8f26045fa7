// The records of an ADIF file as items of the join (join_items.h). The first pass reads and maps
// every record and keeps the text area of each contact it takes; the second hands those out again
// instead of reading the file a second time (mapping a record costs far more than a line of a
// log or CSV, and the text areas are a third of the file).
#include <algorithm>
#include <cstring>

#include "adif/adif_reader.h"
#include "adif/adif_record.h"
#include "editor/join_items.h"
#include "log/log_format.h"

namespace vondal {
namespace {

// Appends the text area of a contact's log line (`image`, laid out from `r`): its texts with their
// separators, without the blanks behind them; the size first, in one byte.
void KeepTextArea(const Record& r, const char* image, std::string& kept) {
  size_t size = 0;
  for (int f = 0; f < kStoredFieldCount; ++f) size += r[f].size() + 1;
  size = std::min<size_t>(size, kTextArea);  // a record that fills its budget lost its last separator
  kept += static_cast<char>(size);
  kept.append(image, size);
}

class AdifItems : public JoinItems {
 public:
  AdifItems(AdifJoin& join, std::vector<JoinNote>& notes) : join_(join), reader_(join.text), notes_(notes) {
    options_.charset = reader_.charset();
    options_.fileClock = reader_.clock();
    options_.logClock = join.logClock;
    join_.kept.clear();
    // The text areas take less room than the file (its tags and items are dropped): reserved once,
    // only the pages written are ever used.
    join_.kept.reserve(join.text.size() + 4096);
  }

  bool Next(std::string& reason, JoinLineKind& kind, char* image) override {
    if (!reader_.Next(fields_)) {
      if (reader_.leftOver() > 0) {
        notes_.push_back(
            {reader_.count() + 1L, "", "",
             "ﾌｧｲﾙ末尾の<EOR>で終わらないﾃﾞｰﾀ" + std::to_string(reader_.leftOver()) + "ﾊﾞｲﾄを無視"});
      }
      return false;
    }
    const long number = reader_.count();
    MapAdifRecord(fields_, options_, contact_);
    reason = contact_.refusal;
    if (!reason.empty()) return true;
    const Record& r = contact_.record;
    const int found = join_.finder ? join_.finder->Find(r) : -1;
    if (found >= 0) {
      notes_.push_back(
          {number, r[CALLSIGN], r[DATE], "ﾛｸﾞの" + std::to_string(found + 1) + "番目の交信と同じため省略"});
      join_.kept += '\0';  // a contact skipped
      ++duplicates_;
      kind = JoinLineKind::kDuplicate;
      return true;
    }
    for (const std::string& note : contact_.notes) notes_.push_back({number, r[CALLSIGN], r[DATE], note});
    EncodeRecord(r, image);
    KeepTextArea(r, image, join_.kept);
    ++records_;
    kind = JoinLineKind::kRecord;
    return true;
  }

  // The refused record's own words, to find it in the file.
  std::string detail() const override {
    std::string text;
    for (const AdifField& f : fields_) {
      for (std::string_view name : {"CALL", "QSO_DATE", "TIME_ON"}) {
        if (f.name.size() == name.size() && text.size() < 60 && Upper(f.name) == name) {
          text += std::string(name) + "=";
          for (char c : f.value.substr(0, 16)) text += c > 0x20 && c < 0x7F ? c : '?';  // shown as ASCII
          text += ' ';
        }
      }
    }
    return text;
  }

  void Count(JoinResult& result) const override {
    result.records = records_;
    result.duplicates = duplicates_;
    result.charset = reader_.charset();
  }

 private:
  static std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    return upper;
  }

  AdifJoin& join_;
  AdifReader reader_;
  std::vector<JoinNote>& notes_;
  AdifMapOptions options_;
  std::vector<AdifField> fields_;
  AdifContact contact_;
  int records_ = 0;
  int duplicates_ = 0;
};

// The second pass: the contacts the first one kept, in their order.
class KeptItems : public JoinItems {
 public:
  explicit KeptItems(const AdifJoin& join) : kept_(join.kept) {}

  bool Next(std::string& reason, JoinLineKind& kind, char* image) override {
    if (at_ >= kept_.size()) return false;
    reason.clear();
    const auto size = static_cast<unsigned char>(kept_[at_++]);
    if (size == 0) {
      ++duplicates_;
      kind = JoinLineKind::kDuplicate;
      return true;
    }
    std::memcpy(image, kept_.data() + at_, size);
    std::memset(image + size, ' ', kTextArea - size);
    image[kTextArea] = '\r';
    image[kTextArea + 1] = '\n';
    at_ += size;
    ++records_;
    kind = JoinLineKind::kRecord;
    return true;
  }
  std::string detail() const override { return {}; }
  void Count(JoinResult& result) const override {
    result.records = records_;
    result.duplicates = duplicates_;
  }

 private:
  const std::string& kept_;
  size_t at_ = 0;
  int records_ = 0;
  int duplicates_ = 0;
};

}  // namespace

std::unique_ptr<JoinItems> JoinAdifItems(AdifJoin& join, std::vector<JoinNote>* notes) {
  if (notes) return std::make_unique<AdifItems>(join, *notes);
  return std::make_unique<KeptItems>(join);
}

}  // namespace vondal

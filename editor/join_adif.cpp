// The records of an ADIF file as items of the join (join_items.h).
#include <cstdio>

#include "adif/adif_reader.h"
#include "adif/adif_record.h"
#include "editor/join_items.h"
#include "log/log_format.h"

namespace vondal {
namespace {

class AdifItems : public JoinItems {
 public:
  AdifItems(AdifJoin& join, std::vector<JoinNote>* notes) : join_(join), reader_(join.text), notes_(notes) {
    options_.charset = reader_.charset();
    options_.fileClock = reader_.clock();
    options_.logClock = join.logClock;
  }

  bool Next(std::string& reason, JoinLineKind& kind, char* image) override {
    if (!reader_.Next(fields_)) {
      if (notes_ && reader_.leftOver() > 0) {
        notes_->push_back(
            {reader_.count() + 1L, "", "",
             "ﾌｧｲﾙ末尾の<EOR>で終わらないﾃﾞｰﾀ" + std::to_string(reader_.leftOver()) + "ﾊﾞｲﾄを無視"});
      }
      return false;
    }
    const size_t number = static_cast<size_t>(reader_.count());
    MapAdifRecord(fields_, options_, contact_);
    reason = contact_.refusal;
    if (!reason.empty()) return true;
    const Record& r = contact_.record;
    if (notes_) {  // the first pass
      const int found = join_.finder ? join_.finder->Find(r) : -1;
      join_.duplicates.push_back(found >= 0);
      if (found >= 0) {
        notes_->push_back({static_cast<long>(number), r[CALLSIGN], r[DATE],
                           "ﾛｸﾞの" + std::to_string(found + 1) + "番目の交信と同じため省略"});
      } else {
        for (const std::string& note : contact_.notes)
          notes_->push_back({static_cast<long>(number), r[CALLSIGN], r[DATE], note});
      }
    }
    if (number <= join_.duplicates.size() && join_.duplicates[number - 1]) {
      ++duplicates_;
      kind = JoinLineKind::kDuplicate;
      return true;
    }
    EncodeRecord(r, image);
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
  std::vector<JoinNote>* notes_;
  AdifMapOptions options_;
  std::vector<AdifField> fields_;
  AdifContact contact_;
  int records_ = 0;
  int duplicates_ = 0;
};

}  // namespace

std::unique_ptr<JoinItems> JoinAdifItems(AdifJoin& join, std::vector<JoinNote>* notes) {
  return std::make_unique<AdifItems>(join, notes);
}

}  // namespace vondal

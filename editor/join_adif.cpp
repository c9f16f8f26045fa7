// The records of an ADIF file as items of the join (join_items.h). The first pass maps every
// record and keeps the text area of each contact; the second hands those out again instead of
// reading the file a second time (mapping a record costs far more than a line of a log or CSV, and
// the text areas are a third of the file). A large file is mapped in two stretches at once, the
// second on a thread of its own; the first pass then goes through what both kept, in file order,
// asking the log about each contact, so the join comes out the same whichever way it was mapped.
#include <algorithm>
#include <cstring>
#include <system_error>
#include <thread>

#include "adif/adif_reader.h"
#include "adif/adif_record.h"
#include "app/text/text_helpers.h"
#include "editor/join_items.h"
#include "log/log_format.h"

namespace vondal {
namespace {

// The refused record's own words, to find it in the file.
std::string Detail(const std::vector<AdifField>& fields) {
  std::string text;
  for (const AdifField& f : fields) {
    for (std::string_view name : {"CALL", "QSO_DATE", "TIME_ON"}) {
      if (f.name.size() == name.size() && text.size() < 60 && ToUpperAscii(f.name) == name) {
        text += std::string(name) + "=";
        for (char c : f.value.substr(0, 16)) text += c > 0x20 && c < 0x7F ? c : '?';  // shown as ASCII
        text += ' ';
      }
    }
  }
  return text;
}

// Appends a contact's text area (`image`, laid out from `r`: its texts with their separators,
// without the blanks behind them) to `kept`, behind its size and the flag byte.
void KeepTextArea(const Record& r, const char* image, std::string& kept) {
  size_t size = 0;
  for (int f = 0; f < kStoredFieldCount; ++f) size += r[f].size() + 1;
  size = std::min<size_t>(size, kTextArea);  // a record that fills its budget lost its last separator
  kept += static_cast<char>(size);
  kept += '\0';
  kept.append(image, size);
}

// The 200-byte log line of a kept text area.
void LineOf(const char* area, size_t size, char* image) {
  std::memcpy(image, area, size);
  std::memset(image + size, ' ', kTextArea - size);
  image[kTextArea] = '\r';
  image[kTextArea + 1] = '\n';
}

// Maps records of `reader` into `stretch` until the text ends, a record is refused, or a record
// ends at `stopAt` exactly (stretch.end == stopAt). When one ends beyond it instead, the second
// stretch began inside a value: this one runs on to the end of the text.
void MapStretch(AdifReader& reader, const AdifMapOptions& options, size_t stopAt, AdifStretch& stretch) {
  std::vector<AdifField> fields;
  AdifContact contact;
  char image[kRecordSize];
  bool beyond = false;
  while (reader.Next(fields)) {
    MapAdifRecord(fields, options, contact);
    if (!contact.refusal.empty()) {
      stretch.refusal = contact.refusal;
      stretch.detail = Detail(fields);
      return;
    }
    const Record& r = contact.record;
    ++stretch.records;
    for (const std::string& note : contact.notes)
      stretch.notes.push_back({stretch.records, r[CALLSIGN], r[DATE], note});
    EncodeRecord(r, image);
    KeepTextArea(r, image, stretch.kept);
    stretch.end = reader.position();
    if (!beyond && stretch.end >= stopAt) {
      if (stretch.end == stopAt) return;
      beyond = true;
    }
  }
  stretch.end = reader.position();
  stretch.leftOver = reader.leftOver();
}

// Where a record ends near the middle of the text: behind the first <EOR> from there on, as far
// as a reader that starts in the middle of a value can tell (MapStretch finds out). npos: none.
size_t MiddleRecordEnd(const AdifReader& whole, std::string_view text) {
  AdifReader probe = whole;
  probe.Seek(text.size() / 2);
  std::vector<AdifField> fields;
  // The first record the probe sees may be part of one: only its end counts.
  return probe.Next(fields) ? probe.position() : std::string_view::npos;
}

void MapAll(AdifJoin& join, AdifReader& reader, const AdifMapOptions& options) {
  join.stretches.clear();
  join.stretches.emplace_back();
  const size_t middle =
      join.text.size() >= join.twoStretchesFrom ? MiddleRecordEnd(reader, join.text) : std::string_view::npos;
  if (middle != std::string_view::npos && middle < join.text.size()) {
    AdifStretch second;
    AdifReader later = reader;
    later.Seek(middle);
    try {
      join.stretches[0].kept.reserve(middle + 4096);
      second.kept.reserve(join.text.size() - middle + 4096);
      std::thread worker([&] { MapStretch(later, options, std::string_view::npos, second); });
      MapStretch(reader, options, middle, join.stretches[0]);
      worker.join();
      // A first stretch that ended at a refused record ends the join there, whatever lies behind.
      if (join.stretches[0].refusal.empty() && join.stretches[0].end == middle)
        join.stretches.push_back(std::move(second));
      return;
    } catch (const std::system_error&) {
      // No thread to be had: the whole text in one stretch.
      join.stretches[0] = AdifStretch{};
      reader.Rewind();
    }
  }
  join.stretches[0].kept.reserve(join.text.size() + 4096);
  MapStretch(reader, options, std::string_view::npos, join.stretches[0]);
}

class AdifItems : public JoinItems {
 public:
  AdifItems(AdifJoin& join, std::vector<JoinNote>& notes) : join_(join), notes_(notes) {
    AdifReader reader(join.text);
    charset_ = reader.charset();
    AdifMapOptions options;
    options.charset = charset_;
    options.fileClock = reader.clock();
    options.logClock = join.logClock;
    MapAll(join_, reader, options);
  }

  bool Next(std::string& reason, JoinLineKind& kind, char* image) override {
    for (; stretch_ < join_.stretches.size(); ++stretch_, at_ = 0, inStretch_ = 0, note_ = 0) {
      AdifStretch& s = join_.stretches[stretch_];
      if (at_ < s.kept.size()) break;
      if (!s.refusal.empty()) {
        if (refused_) return false;
        refused_ = true;
        reason = s.refusal;
        detail_ = s.detail;
        return true;
      }
      if (stretch_ + 1 == join_.stretches.size() && s.leftOver > 0) {
        notes_.push_back({number_ + 1, "", "",
                          "ﾌｧｲﾙ末尾の<EOR>で終わらないﾃﾞｰﾀ" + std::to_string(s.leftOver) + "ﾊﾞｲﾄを無視"});
      }
    }
    if (stretch_ == join_.stretches.size()) return false;
    AdifStretch& s = join_.stretches[stretch_];
    const auto size = static_cast<unsigned char>(s.kept[at_]);
    char* flag = &s.kept[at_ + 1];
    const char* area = s.kept.data() + at_ + 2;
    at_ += 2 + size;
    ++inStretch_;
    ++number_;
    reason.clear();
    LineOf(area, size, image);
    std::string_view texts[FREQ + 1];
    LeadingTexts(image, FREQ + 1, texts);
    const int found =
        join_.finder ? join_.finder->Find(texts[DATE], texts[START], texts[CALLSIGN], texts[FREQ]) : -1;
    // The record's notes stand together, in the order of the records.
    const size_t firstNote = note_;
    while (note_ < s.notes.size() && s.notes[note_].number == inStretch_) ++note_;
    if (found >= 0) {
      notes_.push_back({number_, std::string(texts[CALLSIGN]), std::string(texts[DATE]),
                        "ﾛｸﾞの" + std::to_string(found + 1) + "番目の交信と同じため省略"});
      *flag = 1;
      ++duplicates_;
      kind = JoinLineKind::kDuplicate;
      return true;
    }
    for (size_t n = firstNote; n < note_; ++n) {
      JoinNote note = s.notes[n];
      note.number = number_;
      notes_.push_back(std::move(note));
    }
    ++records_;
    kind = JoinLineKind::kRecord;
    return true;
  }

  std::string detail() const override { return detail_; }

  void Count(JoinResult& result) const override {
    result.records = records_;
    result.duplicates = duplicates_;
    result.charset = charset_;
  }

 private:
  AdifJoin& join_;
  std::vector<JoinNote>& notes_;
  TextCharset charset_;  // the file's, as the reader found it
  size_t stretch_ = 0;  // where the pass stands: the stretch, the byte in its kept areas,
  size_t at_ = 0;
  long inStretch_ = 0;  // the record's number in its stretch, its first note there,
  size_t note_ = 0;
  long number_ = 0;  // and its number in the file
  bool refused_ = false;
  std::string detail_;
  int records_ = 0;
  int duplicates_ = 0;
};

// The second pass: the contacts the first one took, in their order.
class KeptItems : public JoinItems {
 public:
  explicit KeptItems(const AdifJoin& join) : join_(join) {}

  bool Next(std::string& reason, JoinLineKind& kind, char* image) override {
    while (stretch_ < join_.stretches.size() && at_ >= join_.stretches[stretch_].kept.size()) {
      ++stretch_;
      at_ = 0;
    }
    if (stretch_ == join_.stretches.size()) return false;
    const std::string& kept = join_.stretches[stretch_].kept;
    const auto size = static_cast<unsigned char>(kept[at_]);
    const bool found = kept[at_ + 1] != 0;
    const char* area = kept.data() + at_ + 2;
    at_ += 2 + size;
    reason.clear();
    if (found) {
      ++duplicates_;
      kind = JoinLineKind::kDuplicate;
      return true;
    }
    LineOf(area, size, image);
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
  const AdifJoin& join_;
  size_t stretch_ = 0;
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

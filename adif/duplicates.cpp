#include "adif/duplicates.h"

#include <algorithm>
#include <string_view>

#include "adif/adif_bands.h"
#include "log/date_time.h"
#include "log/field_table.h"
#include "log/log_format.h"

namespace vondal {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Call signs compare in either case (the log's CALLSIGN is upper case, other programs' may not be).
// A two-byte character's second byte is compared as it is.
bool SameCall(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

// Two FREQ texts on one band; two frequencies outside every band only when they are the same.
bool SameBand(std::string_view a, std::string_view b) {
  const int band = AdifBandOf(a);
  if (band != AdifBandOf(b)) return false;
  return band >= 0 || FrequencyHz(a) == FrequencyHz(b);
}

}  // namespace

constexpr int kWindowRecords = 64;

DuplicateFinder::DuplicateFinder(const RecordIndex& index, LogFile& log, bool readAhead)
    : index_(index), log_(log), readAhead_(readAhead) {
  keys_.reserve(static_cast<size_t>(index.size()));
  for (int n = 0; n < index.size(); ++n) keys_.emplace_back(index[n].key, n);
  std::sort(keys_.begin(), keys_.end());
}

int DuplicateFinder::Find(const Record& contact) {
  return Find(contact[DATE], contact[START], contact[CALLSIGN], contact[FREQ]);
}

int DuplicateFinder::Find(std::string_view date, std::string_view start, std::string_view callsign,
                          std::string_view freq) {
  const int32_t key = DateTimeKey(date, start);
  auto it = std::lower_bound(keys_.begin(), keys_.end(), std::make_pair(key, int32_t{-1}));
  for (; it != keys_.end() && it->first == key; ++it) {
    const int n = it->second;
    // The index keeps at most 24 bytes of a call sign: as many as CALLSIGN may hold.
    if (!SameCall(index_[n].callsign, callsign)) continue;
    if (SameBand(FreqOf(n), freq)) return n;
  }
  return -1;
}

std::string_view DuplicateFinder::FreqOf(int n) {
  if (!readAhead_) return log_.ReadRecord(n)[FREQ];
  if (n < windowFirst_ || n >= windowFirst_ + windowCount_) {
    window_.resize(static_cast<size_t>(kWindowRecords) * kRecordSize);
    windowFirst_ = n;
    windowCount_ = log_.ReadImages(n, kWindowRecords, window_.data());
    if (windowCount_ == 0) return {};
  }
  std::string_view texts[FREQ + 1];
  LeadingTexts(window_.data() + static_cast<size_t>(n - windowFirst_) * kRecordSize, FREQ + 1, texts);
  return texts[FREQ];
}

void DuplicateFinder::Add(int n) {
  windowCount_ = 0;
  const std::pair<int32_t, int32_t> entry(index_[n].key, n);
  keys_.insert(std::upper_bound(keys_.begin(), keys_.end(), entry), entry);
}

}  // namespace vondal

#include "editor/search_filter.h"

#include <algorithm>
#include <new>

#include "app/text/wildcard.h"
#include "citylist/call_area.h"
#include "log/field_table.h"

namespace vondal {
namespace {

constexpr int kBuckets = 2048;

int Bucket(const std::string& part) {
  unsigned sum = 0;
  for (size_t i = 0; i < part.size() && i < 8; ++i) sum += static_cast<unsigned char>(part[i]);
  return static_cast<int>(sum % kBuckets);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The imitation-mask test of one field: CALLSIGN with the call-sign matcher, others with the plain
// or the extended matcher and the case rule of their attributes; a leading "!" negates.
bool FieldAccepts(int field, std::string_view mask, std::string_view text) {
  bool negate = false;
  if (!mask.empty() && mask[0] == '!') {
    negate = true;
    mask.remove_prefix(1);
  }
  bool match;
  if (field == CALLSIGN) {
    match = MatchCallsign(mask, text);
  } else {
    const char* attributes = ActiveFieldTable()[field].attributes;
    const bool ignoreCase = attributes[kMaskCase] != 'S';
    match = attributes[kMaskType] == 'A' ? jstrwldc(mask, text, ignoreCase)
                                         : MatchExtended(mask, text, ignoreCase);
  }
  return match != negate;
}

}  // namespace

std::optional<std::string> FirstOccurrencePart(std::string_view callsign, char kind) {
  if (kind == 'A') return std::string(callsign);
  std::string_view piece;
  for (size_t from = 0; from <= callsign.size();) {
    const size_t slash = std::min(callsign.find('/', from), callsign.size());
    if (slash - from > piece.size()) piece = callsign.substr(from, slash - from);
    from = slash + 1;
  }
  if (piece.size() < 3) return std::nullopt;
  if (kind == 'B') return std::string(piece);
  // Leading digits, then the letters, then the digit group: the prefix ends behind it.
  size_t at = 0;
  while (at < piece.size() && IsDigit(piece[at])) ++at;
  while (at < piece.size() && !IsDigit(piece[at])) ++at;
  while (at < piece.size() && IsDigit(piece[at])) ++at;
  return std::string(kind == 'P' ? piece.substr(0, at) : piece.substr(at));
}

FirstOccurrenceTable::FirstOccurrenceTable() : buckets_(kBuckets) {}

void FirstOccurrenceTable::Clear() {
  for (auto& bucket : buckets_) bucket.clear();
  full_ = false;
}

bool FirstOccurrenceTable::Enter(const std::string& part) {
  if (full_) return true;
  auto& bucket = buckets_[Bucket(part)];
  for (const std::string& seen : bucket) {
    if (seen == part) return false;
  }
  try {
    bucket.push_back(part);
  } catch (const std::bad_alloc&) {
    full_ = true;
  }
  return true;
}

RecordFilter::RecordFilter(const EditorContext& context, const SearchConditions& conditions,
                           bool searchAndEdit)
    : context_(context),
      conditions_(conditions),
      firstOccurrence_(conditions.firstOccurrence != 0 && !searchAndEdit),
      records_(context.log) {}

bool RecordFilter::MaskAccepts(const Record& mask, const RecordTexts& texts) {
  for (int field = 0; field < kStoredFieldCount; ++field) {
    if (!mask[field].empty() && !FieldAccepts(field, mask[field], texts[field])) return false;
  }
  return true;
}

bool RecordFilter::Passes(int n) {
  const IndexEntry& entry = context_.index[n];
  if (conditions_.markCondition == '*' && entry.mark == 0) return false;
  if (conditions_.markCondition == ' ' && entry.mark != 0) return false;
  if (conditions_.jaDx == 'J' || conditions_.jaDx == 'D') {
    if (ClassifyJaDx(entry.callsign) != (conditions_.jaDx == 'J' ? JaDx::kJA : JaDx::kDX)) return false;
  }
  if (conditions_.maskType == 'M' && !MaskAccepts(conditions_.mask, records_.Texts(n))) return false;
  if (conditions_.maskType == 'C' && conditions_.calculation.compiled() &&
      conditions_.calculation.Evaluate(records_.Texts(n), entry.mark != 0) != 1) {
    return false;
  }
  if (firstOccurrence_) {
    const std::optional<std::string> part = FirstOccurrencePart(entry.callsign, conditions_.firstOccurrence);
    if (!part || !seen_.Enter(*part)) return false;
  }
  return true;
}

}  // namespace vondal

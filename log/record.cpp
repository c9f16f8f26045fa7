#include "log/record.h"

#include <algorithm>

namespace vondal {
namespace {

// The reserved range of DATE … MODE under the record budget.
struct CountedRange {
  int least;
  int most;
};
constexpr CountedRange kCountedRange[] = {{6, 6}, {4, 4}, {4, 4}, {3, 24}, {5, 16}, {2, 16}};

}  // namespace

void CopyTexts(const RecordTexts& from, Record& to) {
  for (int i = 0; i < kStoredFieldCount; ++i) to[i].assign(from[i]);
}

int CountedLength(int field, size_t length) {
  const int n = static_cast<int>(std::min<size_t>(length, 1 << 20));
  if (field > MODE) return n;
  return std::clamp(n, kCountedRange[field].least, kCountedRange[field].most);
}

int FieldLimit(int field, const Record& record) {
  const int maxLength = ActiveFieldTable()[field].maxLength;
  if (field >= kStoredFieldCount) return maxLength;
  int others = 0;
  for (int i = 0; i < kStoredFieldCount; ++i) {
    if (i != field) others += CountedLength(i, record[i].size());
  }
  return std::max(0, std::min(maxLength, kRecordBudget - others));
}

}  // namespace vondal

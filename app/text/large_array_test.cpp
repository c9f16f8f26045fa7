#include "app/text/large_array.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>

namespace vondal {
namespace {

struct Marked {
  int32_t value = -1;
};

TEST(LargeArray, SmallAndLargeArraysHoldWhatIsWritten) {
  for (size_t count : {size_t{0}, size_t{1}, size_t{1000}, size_t{3} << 20}) {
    LargeArray<int32_t> values(count);
    std::iota(values.begin(), values.end(), 0);
    int64_t sum = 0;
    for (int32_t v : values) sum += v;
    EXPECT_EQ(sum, static_cast<int64_t>(count) * (static_cast<int64_t>(count) - 1) / 2) << count;
  }
}

TEST(LargeArray, LargeArraysStartAtAHugePage) {
  LargeArray<char> bytes(5 << 20);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(bytes.data()) % (2 << 20), 0u);
}

TEST(LargeArray, ClassesGetTheirMemberInitialisers) {
  LargeArray<Marked> marks(1 << 20);  // 4 MB: from the system
  EXPECT_EQ(marks.front().value, -1);
  EXPECT_EQ(marks.back().value, -1);
  marks.resize(10);
  marks.resize(20);
  EXPECT_EQ(marks[15].value, -1);
}

TEST(LargeArray, GrowingKeepsTheElements) {
  LargeArray<int64_t> values;
  for (int64_t v = 0; v < 600000; ++v) values.push_back(v);  // passes from the heap to the system
  EXPECT_EQ(values[0], 0);
  EXPECT_EQ(values[599999], 599999);
}

}  // namespace
}  // namespace vondal

#include "app/text/block_allocator.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace vondal {
namespace {

TEST(BlockAllocatorSizes, TheReportNamesTheBlockSizeInUse) {
  BlockAllocator allocator(SIZE_MAX, 1000000);
  EXPECT_EQ(allocator.Report(), "(remalloc(0+0/1000000)");
  allocator.Allocate(600000);
  allocator.Allocate(600000);  // does not fit the rest: a second block
  allocator.Allocate(2000000);
  EXPECT_EQ(allocator.Report(), "(remalloc(1+600000/1000000), malloc(1:2000000)");
}

TEST(BlockAllocatorSizes, AlignedRequestsStartAtTheirAlignment) {
  BlockAllocator allocator(SIZE_MAX, 1000);
  auto* first = static_cast<char*>(allocator.Allocate(3));
  auto* second = static_cast<char*>(allocator.Allocate(16, 8));
  EXPECT_EQ(second - first, 8);
  EXPECT_EQ(allocator.Report(), "(remalloc(0+24/1000)");
  // Padding that would pass the end of the block starts a new one.
  allocator.Allocate(975);
  allocator.Allocate(1, 8);
  EXPECT_EQ(allocator.Report(), "(remalloc(1+1/1000)");
}

}  // namespace
}  // namespace vondal

#include "app/memory_pool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace vondal {
namespace {

TEST(MemoryPools, LocalPoolHandsOutZeroedMemoryUntilItIsExhausted) {
  MemoryPools pools;
  ASSERT_TRUE(pools.CreateLocal(1000));
  auto* first = static_cast<unsigned char*>(pools.LocalAlloc(600));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first[599], 0);
  EXPECT_EQ(pools.LocalUsed(), 600u);
  EXPECT_EQ(pools.LocalAlloc(401), nullptr);
  EXPECT_NE(pools.LocalAlloc(400), nullptr);
  EXPECT_EQ(pools.LocalAlloc(1), nullptr);
}

// The containers that live in the pools ask for aligned memory; what aligning skips is used up.
TEST(MemoryPools, AlignedRequestsCountTheBytesSkipped) {
  MemoryPools pools;
  ASSERT_TRUE(pools.CreateLocal(1000));
  ASSERT_NE(pools.LocalAlloc(3), nullptr);
  void* aligned = pools.LocalAlloc(8, 8);
  ASSERT_NE(aligned, nullptr);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(aligned) % 8, 0u);
  EXPECT_GE(pools.LocalUsed(), 11u);
  EXPECT_LE(pools.LocalUsed(), 18u);
  EXPECT_EQ(pools.LocalAlloc(1000 - pools.LocalUsed() + 1), nullptr);
  ASSERT_TRUE(pools.CreateLocal(kLocalPoolSize));
  ASSERT_TRUE(pools.TempReset());
  void* first = pools.TempAlloc(1);
  void* second = pools.TempAlloc(16, 16);
  EXPECT_TRUE(pools.InTemp(first) && pools.InTemp(second));
  EXPECT_EQ(reinterpret_cast<uintptr_t>(second) % 16, 0u);
  int outside = 0;
  EXPECT_FALSE(pools.InTemp(&outside));
}

TEST(MemoryPools, TemporaryPoolGoesFromQuotaToItsFinalSize) {
  MemoryPools pools;
  ASSERT_TRUE(pools.CreateLocal(kLocalPoolSize));
  EXPECT_EQ(pools.TempAlloc(1), nullptr);  // nothing before the first reset
  ASSERT_TRUE(pools.TempReset());
  EXPECT_EQ(pools.Stage(), TempStage::kQuota);
  EXPECT_EQ(pools.TempCapacity(), kQuotaSize);
  EXPECT_EQ(pools.LocalUsed(), kQuotaSize);  // the quota lives inside the local pool
  ASSERT_TRUE(pools.TempReset());
  EXPECT_EQ(pools.Stage(), TempStage::kQuota);  // still no configuration

  pools.SetTempMegabytes(10);
  ASSERT_TRUE(pools.TempReset());
  EXPECT_EQ(pools.Stage(), TempStage::kMalloc);
  EXPECT_EQ(pools.TempCapacity(), 10000000u);
  auto history = pools.History();
  ASSERT_EQ(history.size(), 2u);
  EXPECT_EQ(history[0].name, "quota");
  EXPECT_EQ(history[0].amount, kQuotaSize);
  EXPECT_EQ(history[1].name, "malloc");
  EXPECT_EQ(history[1].amount, 10000000u);
}

TEST(MemoryPools, MemorySettingOutsideTwoToTenGivesTwoMegabytes) {
  for (int memory : {1, 11, 0, -3}) {
    MemoryPools pools;
    ASSERT_TRUE(pools.CreateLocal(kLocalPoolSize));
    pools.SetTempMegabytes(memory);
    ASSERT_TRUE(pools.TempReset());
    ASSERT_TRUE(pools.TempReset());
    EXPECT_EQ(pools.TempCapacity(), kTempPoolSize) << memory;
  }
}

TEST(MemoryPools, TooLargeTemporaryRequestLeavesThePoolUnchanged) {
  MemoryPools pools;
  ASSERT_TRUE(pools.CreateLocal(kLocalPoolSize));
  ASSERT_TRUE(pools.TempReset());
  auto* block = static_cast<unsigned char*>(pools.TempAlloc(100));
  ASSERT_NE(block, nullptr);
  std::memset(block, 0xAB, 100);
  EXPECT_EQ(pools.TempAlloc(kQuotaSize), nullptr);
  EXPECT_EQ(pools.TempUsed(), 100u);
  ASSERT_TRUE(pools.TempReset());
  EXPECT_EQ(pools.TempUsed(), 0u);
  auto* again = static_cast<unsigned char*>(pools.TempAlloc(100));
  EXPECT_EQ(again[50], 0);  // handed out zero-filled although it was used before
}

TEST(MemoryPools, QuotaThatDoesNotFitTheLocalPoolFails) {
  MemoryPools pools;
  ASSERT_TRUE(pools.CreateLocal(1000));
  EXPECT_FALSE(pools.TempReset());
  EXPECT_STREQ(pools.TempFailure(), "local memory");
}

TEST(MemoryPools, HistoryKeepsTheLast60EntriesWithShortNames) {
  MemoryPools pools;
  for (int i = 0; i < 61; ++i) pools.RecordUse("n" + std::to_string(i));
  auto history = pools.History();
  ASSERT_EQ(history.size(), 60u);
  EXPECT_EQ(history.front().name, "n1");  // the 61st replaced the first
  EXPECT_EQ(history.back().name, "n60");
  pools.RecordUse("1stonly-and-more");
  EXPECT_EQ(pools.History().back().name, "1stonly-a");
  pools.RecordUse("word-表xyz");
  EXPECT_EQ(pools.History().back().name, "word-表xy");
  pools.RecordUse("wordxyz-表");  // the ninth byte is the first half of 表
  EXPECT_EQ(pools.History().back().name, "wordxyz-");
}

}  // namespace
}  // namespace vondal

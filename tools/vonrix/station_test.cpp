#include "tools/vonrix/station.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tools/vonrix/ranking.h"
#include "tools/vonrix/vonrix_bands.h"

namespace vondal {
namespace {

TEST(StationTest, IdentityIsTheLongestPartOfAtLeastThreeBytes) {
  EXPECT_EQ(StationIdentity("JA1ABC"), "JA1ABC");
  EXPECT_EQ(StationIdentity("JA1ABC/3"), "JA1ABC");
  EXPECT_EQ(StationIdentity("JA1ABC/P"), "JA1ABC");
  EXPECT_EQ(StationIdentity("KH0/JA1ABC"), "JA1ABC");
  EXPECT_EQ(StationIdentity("ABC/XYZ"), "ABC");  // the first of equal length
  EXPECT_EQ(StationIdentity("AB/C"), "");
  EXPECT_EQ(StationIdentity("//"), "");
  EXPECT_EQ(StationIdentity(""), "");
}

// Short call signs are searched for "/" a word at a time: a "/" at any place of a call sign of
// any length up to 20 bytes must be found.
TEST(StationTest, SlashFoundAtEveryPlaceOfShortAndLongCallSigns) {
  for (size_t length = 1; length <= 20; ++length) {
    const std::string plain(length, 'A');
    EXPECT_EQ(StationIdentity(plain), length >= 3 ? plain : "") << length;
    for (size_t place = 0; place < length; ++place) {
      std::string callsign = plain;
      callsign[place] = '/';
      const size_t longest = std::max(place, length - place - 1);
      EXPECT_EQ(StationIdentity(callsign).size(), longest >= 3 ? longest : 0) << callsign;
    }
  }
}

TEST(StationTest, JapaneseForeignOrNeither) {
  EXPECT_EQ(KindOf("JA1ABC"), StationKind::kJapanese);
  EXPECT_EQ(KindOf("JS3XYZ"), StationKind::kJapanese);
  EXPECT_EQ(KindOf("7K1AAA"), StationKind::kJapanese);
  EXPECT_EQ(KindOf("8N1EXPO"), StationKind::kJapanese);
  EXPECT_EQ(KindOf("JT1BV"), StationKind::kForeign);  // Mongolia
  EXPECT_EQ(KindOf("7X2ARA"), StationKind::kForeign);
  EXPECT_EQ(KindOf("JA"), StationKind::kForeign);  // too short to be Japanese
  EXPECT_EQ(KindOf("W1AW"), StationKind::kForeign);
  EXPECT_EQ(KindOf("0AB"), StationKind::kNeither);
  EXPECT_EQ(KindOf("/P"), StationKind::kNeither);
  EXPECT_EQ(KindOf(""), StationKind::kNeither);
}

TEST(StationTest, ClubStations) {
  EXPECT_TRUE(IsClubStation("JA1YAA"));
  EXPECT_TRUE(IsClubStation("JH1ZAB/1"));
  EXPECT_TRUE(IsClubStation("JA1RL"));
  EXPECT_TRUE(IsClubStation("JA1RL/3"));
  EXPECT_TRUE(IsClubStation("8J1RL"));
  EXPECT_FALSE(IsClubStation("JA1ABC"));
  EXPECT_FALSE(IsClubStation("JA1RLA"));
  EXPECT_FALSE(IsClubStation("JA1YA"));  // a Y club needs two letters after it
}

TEST(BandMemoTest, SameBandsAsEachTextOnItsOwn) {
  std::vector<std::string> texts = {"7.010", "1.9",   "10.",   "10.000", "7",       "",
                                    "3.750", "1200.", "9.000", "0.136",  "47000.1", "12345678901234567",
                                    "7.0100"};
  for (int i = 0; i < 2000; ++i) texts.push_back(std::to_string(i % 700) + "." + std::to_string(i % 13));
  BandMemo memo;
  for (int round = 0; round < 2; ++round) {
    for (const std::string& freq : texts) EXPECT_EQ(memo.BandOf(freq), VonrixBandOf(freq)) << freq;
  }
  // Texts read in two loads from inside a record give the same bands.
  const std::string record =
      "7.010\x1e"
      "1.9\x1e"
      "12345678901234567\x1e"
      "1200.000\x1e"
      "3.750000000001" +
      std::string(20, ' ');
  for (size_t start = 0; start < 30; ++start) {
    for (size_t length = 0; length <= 17; ++length) {
      const std::string_view freq = std::string_view(record).substr(start, length);
      EXPECT_EQ(memo.BandOfReadable(freq), VonrixBandOf(freq)) << freq;
      EXPECT_EQ(memo.BandOf(freq), VonrixBandOf(freq)) << freq;
    }
  }
  EXPECT_EQ(memo.BandOf("7.010"), 5);
  EXPECT_EQ(memo.BandOf("1.9"), 2);  // the short form 1.907
  EXPECT_EQ(memo.BandOf("1.900"), -1);
  EXPECT_EQ(VonrixBandName(5), "7");
  EXPECT_EQ(VonrixBandName(19), "10.4G");
  EXPECT_EQ(BandSymbol(24), 'Y');
}

TEST(StationTableTest, EachStationOnceInTheOrderMet) {
  BlockAllocator allocator;
  StationTable stations(allocator);
  EXPECT_EQ(stations.Add("JA1ABC"), 0);
  EXPECT_EQ(stations.Add("W1AW"), 1);
  EXPECT_EQ(stations.Add("JA1ABC"), 0);
  for (int i = 0; i < 5000; ++i) stations.Add("K" + std::to_string(i));  // through several regrowths
  EXPECT_EQ(stations.size(), 5002);
  EXPECT_EQ(stations.Add("K4321"), 4323);
  EXPECT_EQ(stations[1], "W1AW");
  EXPECT_TRUE(stations.Before(0, 1));  // "J" < "W"
  EXPECT_FALSE(stations.Before(1, 0));
  EXPECT_TRUE(stations.Before(stations.Add("K1"), stations.Add("K10")));
}

TEST(StationTableTest, KeysReadInOneStepEqualKeysGatheredByteByByte) {
  const std::string record =
      "JA1ABC/1\x1e"
      "KH0/JA1ABCDEFGHIJ\x1e"
      "W1AW\x1e\x1e"
      "A" +
      std::string(30, ' ');
  for (size_t start = 0; start < 30; ++start) {
    for (size_t length = 0; length <= 20; ++length) {
      const std::string_view text = std::string_view(record).substr(start, length);
      const StationTable::Key readable = StationTable::KeyOfReadable(text);
      const StationTable::Key gathered = StationTable::KeyOf(text);
      EXPECT_EQ(readable.head, gathered.head) << text;
      EXPECT_EQ(readable.check, gathered.check) << text;
    }
  }
}

TEST(StationTableTest, AReservedTableNumbersStationsAsAGrowingOne) {
  BlockAllocator allocator;
  StationTable reserved(allocator);
  StationTable growing(allocator);
  reserved.Reserve(3000);
  for (int i = 0; i < 5000; ++i) {  // beyond the reserved room as well
    const std::string call = "JA" + std::to_string(i * 7919 % 4001);
    EXPECT_EQ(reserved.Add(call), growing.Add(call)) << call;
  }
  EXPECT_EQ(reserved.size(), growing.size());
  EXPECT_EQ(reserved[123], growing[123]);
}

TEST(StationTableTest, RunsOutOfMemoryCleanly) {
  BlockAllocator allocator(2 * BlockAllocator::kBlockSize);
  StationTable stations(allocator);
  int32_t added = 0;
  std::string call(99999, 'A');  // one station fills a block
  for (int i = 0; i < 3; ++i) {
    call[0] = static_cast<char>('A' + i);
    added = stations.Add(call);
  }
  EXPECT_EQ(added, -1);
  EXPECT_EQ(allocator.failure(), "Malloc failed");
  EXPECT_EQ(stations.size(), 2);
}

TEST(BlockAllocatorTest, ReportCountsBlocksAndOversizedRequests) {
  BlockAllocator allocator;
  EXPECT_EQ(allocator.Report(), "(remalloc(0+0/100000)");
  allocator.Allocate(60000);
  allocator.Allocate(60000);  // does not fit in the rest: a second block
  allocator.Allocate(100);
  EXPECT_EQ(allocator.Report(), "(remalloc(1+60100/100000)");
  char* big = static_cast<char*>(allocator.Allocate(250000));
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(big[249999], 0);  // zero-filled
  EXPECT_EQ(allocator.Report(), "(remalloc(1+60100/100000), malloc(1:250000)");

  BlockAllocator small(100000);
  EXPECT_EQ(small.Allocate(100001), nullptr);
  EXPECT_EQ(small.failure(), "Malloc failed (oversized)");
}

TEST(RankingTest, EqualNumbersShareARankAndTheGroupOfThe200thIsListedWhole) {
  BlockAllocator allocator;
  StationTable stations(allocator);
  std::vector<int32_t> numberOf;
  // 150 stations with 5, 100 with 3, 30 with 1, and one with 0 (never listed).
  for (int i = 0; i < 281; ++i) {
    char call[16];
    std::snprintf(call, sizeof call, "JA%04d", 280 - i);  // added in reverse station order
    stations.Add(call);
    numberOf.push_back(i < 150 ? 5 : i < 250 ? 3 : i < 280 ? 1 : 0);
  }
  const std::vector<int32_t> counts = StationsByNumber(numberOf);
  EXPECT_EQ(counts, (std::vector<int32_t>{1, 30, 0, 100, 0, 150}));
  const std::vector<RankedStation> top = TopStations(numberOf, counts, stations);
  ASSERT_EQ(top.size(), 250u);                    // the 200th station is in the group of 3
  EXPECT_EQ(stations[top[0].station], "JA0131");  // the group of 5 in station order
  EXPECT_EQ(top[0].rank, 1);
  EXPECT_EQ(top[149].rank, 1);
  EXPECT_EQ(top[150].rank, 151);
  EXPECT_EQ(top[150].number, 3);
  EXPECT_EQ(stations[top[150].station], "JA0031");
  EXPECT_EQ(top[249].rank, 151);
}

TEST(RankingTest, FewerThan200StationsAreAllListed) {
  BlockAllocator allocator;
  StationTable stations(allocator);
  stations.Add("W1AW");
  stations.Add("JA1ABC");
  const std::vector<int32_t> numberOf = {2, 7};
  const std::vector<RankedStation> top = TopStations(numberOf, StationsByNumber(numberOf), stations);
  ASSERT_EQ(top.size(), 2u);
  EXPECT_EQ(stations[top[0].station], "JA1ABC");
  EXPECT_EQ(top[1].rank, 2);
}

}  // namespace
}  // namespace vondal

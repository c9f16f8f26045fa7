#include <gtest/gtest.h>

#include <random>

#include "app/text/sjis.h"
#include "tools/vonfill/call_signs.h"
#include "tools/vonfill/mersenne_twister.h"
#include "tools/vonfill/station_table.h"

namespace vondal::vonfill {
namespace {

TEST(MersenneTwisterTest, IsTheStandardGenerator) {
  // The standard's seeding, to compare with std::mt19937 (whose 10000th output is fixed).
  std::array<uint32_t, MersenneTwister::kStateSize> state;
  state[0] = 5489;
  for (uint32_t i = 1; i < state.size(); ++i)
    state[i] = 1812433253u * (state[i - 1] ^ (state[i - 1] >> 30)) + i;
  MersenneTwister ours(state);
  std::mt19937 standard;
  for (int i = 1; i < 10000; ++i) ASSERT_EQ(ours.Next(), standard()) << i;
  EXPECT_EQ(ours.Next(), 4123659995u);
}

TEST(CallsignTest, JapaneseCallSignsAreJapanese) {
  MersenneTwister rng(7);
  std::string call, suffix;
  int withSuffix = 0;
  for (int i = 0; i < 100000; ++i) {
    InventJapaneseCallsign(rng, call, suffix);
    ASSERT_EQ(KindOfCallsign(call), StationKind::kJapanese) << call;
    ASSERT_TRUE(call.size() == 6 || (call.size() == 5 && call[1] == 'A')) << call;
    // JB and JC are never issued; JD only as JD1 (Ogasawara); 7K-7N only in area 1 (1-4).
    ASSERT_NE(call[1], 'B') << call;
    ASSERT_NE(call[1], 'C') << call;
    if (call[0] == 'J' && call[1] == 'D') {
      ASSERT_EQ(call[2], '1') << call;
    }
    if (call[0] == '7' && call[1] != 'J') {
      ASSERT_TRUE(call[2] >= '1' && call[2] <= '4') << call;
    }
    ASSERT_TRUE(IsAsciiDigit(call[2])) << call;
    for (size_t k = 3; k < call.size(); ++k) ASSERT_TRUE(IsAsciiUpper(call[k])) << call;
    ASSERT_TRUE(suffix.empty() || suffix == "MM" || suffix == "JD1" ||
                (suffix.size() == 1 && IsAsciiDigit(suffix[0])))
        << suffix;
    withSuffix += !suffix.empty();
  }
  EXPECT_NEAR(withSuffix / 100000.0, 0.205, 0.005);
}

TEST(CallsignTest, ForeignCallSignsNeverLookJapanese) {
  MersenneTwister rng(8);
  std::string call, suffix;
  for (int i = 0; i < 100000; ++i) {
    InventForeignCallsign(rng, call, suffix);
    ASSERT_EQ(KindOfCallsign(call), StationKind::kForeign) << call;
    ASSERT_TRUE(call.size() >= 4 && call.size() <= 6) << call;
    ASSERT_TRUE(suffix.empty() || suffix == "MM");
  }
  EXPECT_EQ(KindOfCallsign("JA1ABC"), StationKind::kJapanese);
  EXPECT_EQ(KindOfCallsign("7K1ABC"), StationKind::kJapanese);
  EXPECT_EQ(KindOfCallsign("8N2ABC"), StationKind::kJapanese);
  EXPECT_EQ(KindOfCallsign("JT1ABC"), StationKind::kForeign);
  EXPECT_EQ(KindOfCallsign("7A1ABC"), StationKind::kForeign);
  EXPECT_EQ(KindOfCallsign(kAuthorCallsign), StationKind::kForeign);
}

Contact NewContact(const std::string& call, const std::string& suffix = "") {
  Contact c;
  c.callsign = call;
  c.suffix = suffix;
  return c;
}

TEST(StationTableTest, TakeRepeatsStationsThatWerePutAndCountsTheirContacts) {
  MersenneTwister rng(3);
  StationTable table(false);
  for (const char* call : {"JA1AAA", "W1AW", "JH2BBB"}) {
    Contact c = NewContact(call);
    table.Put(rng, c);
    EXPECT_EQ(c.count, 1u);
  }
  uint32_t total = 0;
  for (int i = 0; i < 300; ++i) {
    Contact c;
    table.Take(rng, c);
    ASSERT_TRUE(table.Contains(c.callsign));
    ASSERT_FALSE(c.nameKnown);
    ASSERT_GE(c.count, 2u);
    ASSERT_EQ(c.kind, KindOfCallsign(c.callsign));
    // Only a Japanese station in slot 0 may move, and then it tells its QTH.
    if (c.qthKnown) {
      ASSERT_EQ(c.callsign, "JA1AAA");
    }
    total = std::max(total, c.count);
  }
  EXPECT_GT(total, 50u);
  EXPECT_EQ(table.stationsContacted(), 3);
  EXPECT_EQ(table.entriesUsed(), 3);
}

TEST(StationTableTest, StrictCheckTurnsAKnownCallSignIntoARepeatWithANewSuffix) {
  MersenneTwister rng(4);
  StationTable loose(false), strict(true);
  for (StationTable* table : {&loose, &strict}) {
    Contact first = NewContact("JA1ABC");
    table->Put(rng, first);
    Contact again = NewContact("JA1ABC", "2");
    table->Put(rng, again);
    EXPECT_EQ(table->stationsContacted(), 2);
    if (table == &loose) {
      EXPECT_EQ(table->entriesUsed(), 2);
      EXPECT_EQ(again.count, 1u);
      EXPECT_EQ(again.suffix, "2");
    } else {
      EXPECT_EQ(table->entriesUsed(), 1);
      EXPECT_EQ(again.count, 2u);
      EXPECT_EQ(again.suffix.size(), 3u);
      EXPECT_EQ(again.kind, StationKind::kForeign);
      EXPECT_FALSE(again.nameKnown);
    }
  }
}

TEST(StationTableTest, AFullTableKeepsTheAuthorAndStaysWithinItsCapacity) {
  MersenneTwister rng(5);
  StationTable table(false);
  Contact author = NewContact(kAuthorCallsign);
  table.Put(rng, author);
  std::string call, suffix;
  // Far more new stations than a log of 1,000,000 records meets: the table fills up.
  for (int i = 0; i < 2500000; ++i) {
    Contact c;
    InventForeignCallsign(rng, c.callsign, c.suffix);
    table.Put(rng, c);
  }
  EXPECT_EQ(table.entriesUsed(), StationTable::kCapacity);
  EXPECT_TRUE(table.Contains(kAuthorCallsign));
}

}  // namespace
}  // namespace vondal::vonfill

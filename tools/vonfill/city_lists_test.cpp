#include "tools/vonfill/city_lists.h"

#include <gtest/gtest.h>

#include <set>

#include "tools/vonfill/vonfill_test_support.h"

namespace vondal::vonfill {
namespace {

using testing::kFixtureCityList;
using testing::TemporaryFolder;
using Names = std::vector<std::string>;

TEST(CityListsTest, TakesValidCitiesGunsAndWardsIntoTheirCallAreas) {
  TemporaryFolder folder;
  CityLists lists;
  ASSERT_TRUE(lists.Load(folder.Write("CGlist3.TXT", kFixtureCityList)));
  // Ended entries, two-word lines, prefectures, codes beyond 47 and 7-digit numbers are left out;
  // so are Tokyo's 23 wards as a whole and Ogasawara.
  EXPECT_EQ(lists.names(8), (Names{"札幌市", "厚田郡", "札幌市中央区"}));
  EXPECT_EQ(lists.names(7), (Names{"青森市"}));
  EXPECT_EQ(lists.names(0), (Names{"新潟市北区"}));
  EXPECT_EQ(lists.names(1), (Names{"東京都千代田区"}));
  EXPECT_EQ(lists.names(2), (Names{"静岡市"}));
  EXPECT_EQ(lists.names(3), (Names{"大阪市"}));
  EXPECT_EQ(lists.names(4), (Names{"岡山市"}));
  EXPECT_EQ(lists.names(5), (Names{"徳島市"}));
  EXPECT_EQ(lists.names(6), (Names{"福岡市"}));
  EXPECT_EQ(lists.names(9), (Names{"富山市"}));
}

TEST(CityListsTest, ReadsLineEndsOfEitherKindAndMissingFilesFail) {
  TemporaryFolder folder;
  CityLists crlf, lf;
  ASSERT_TRUE(crlf.Load(folder.Write("a.TXT", "0201\t青森\tx\r\n0202\t弘前\r\n")));
  ASSERT_TRUE(lf.Load(folder.Write("b.TXT", "0201\t青森\tx\n0202\t弘前\n")));
  // "弘前" has two words only: a CR left on the line would count as a third.
  EXPECT_EQ(crlf.names(7), (Names{"青森市"}));
  EXPECT_EQ(lf.names(7), crlf.names(7));
  CityLists none;
  EXPECT_FALSE(none.Load(folder / "missing.TXT"));
}

TEST(CityListsTest, WardsOfOtherCitiesGoWithoutPrefixAndNamesSplitAtBlanks) {
  CityLists lists;
  lists.AddLine("020101\t旭\tAsahi");     // city 0201 is no designated city
  lists.AddLine("0203\t八戸 市\tx y z");  // blanks split words too: the name is "八戸"
  lists.AddLine("0204\tＡ\\表\tx");       // a trail byte "\" stays inside its character
  EXPECT_EQ(lists.names(7), (Names{"旭区", "八戸市", "Ａ\\表市"}));
}

TEST(CityListsTest, EachAreaKeepsWithinItsEntriesAndBytes) {
  CityLists lists;
  // Area 9 (prefectures 28-30) holds 64 names in 524 bytes.
  for (int i = 0; i < 100; ++i) lists.AddLine("28" + std::to_string(10 + i) + "\t短\tx");
  EXPECT_EQ(lists.names(9).size(), 64u);

  CityLists longNames;
  const std::string name = "あああああああああああ";  // 22 bytes, 25 with "市" and the terminator
  for (int i = 0; i < 40; ++i) longNames.AddLine("29" + std::to_string(10 + i) + "\t" + name + "\tx");
  // After 20 names 24 bytes are left: too few for another long name, enough for a short one.
  longNames.AddLine("3050\t短\tx");
  size_t bytes = 0;
  for (const std::string& n : longNames.names(9)) bytes += n.size() + 1;
  EXPECT_LE(bytes, 524u);
  EXPECT_EQ(longNames.names(9).size(), 21u);
  EXPECT_EQ(longNames.names(9).back(), "短市");
}

TEST(CityListsTest, PicksAnyNameOfTheAreaAndNothingFromAnEmptyOne) {
  CityLists lists;
  lists.AddLine("0201\t青森\tx");
  lists.AddLine("0202\t弘前\tx");
  MersenneTwister rng(1);
  std::set<std::string_view> picked;
  for (int i = 0; i < 100; ++i) picked.insert(lists.Pick(7, rng));
  EXPECT_EQ(picked.size(), 2u);
  EXPECT_EQ(lists.Pick(3, rng), "");
}

TEST(CityListsTest, TheShippedListFillsEveryArea) {
  CityLists lists;
  if (!lists.Load(VONDAL_BIN_DIR "/CGlist3.TXT"))
    GTEST_SKIP() << "CGlist3.TXT is not beside the programs yet";
  for (int area = 0; area < 10; ++area) EXPECT_GT(lists.names(area).size(), 30u) << area;
}

}  // namespace
}  // namespace vondal::vonfill

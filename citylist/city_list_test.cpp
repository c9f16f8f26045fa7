#include "citylist/city_list.h"

#include <gtest/gtest.h>

#include <string>

#include "app/text/sjis.h"

namespace vondal {
namespace {

// A small list in the file's own layout; "|" stands for a TAB (a second byte 0x7C of a two-byte
// character stays what it is).
std::string ListText(std::string_view lines, std::string_view lineEnd = "\r\n") {
  std::string text;
  for (size_t pos = 0; pos < lines.size(); pos += CharLength(lines, pos)) {
    std::string_view c = lines.substr(pos, CharLength(lines, pos));
    text += c == "\n" ? lineEnd : c == "|" ? "\t" : c;
  }
  return text;
}

constexpr std::string_view kSmallList =
    "// a comment line\n"
    "01|北海道|Hokkaido|8\n"
    "0102|旭川旧|Old|-991231\n"  // two names of 0102: the one listed first is taken
    "0101|札幌|Sapporo  // a comment after blanks\n"
    "0102|旭川|Asahikawa\n"
    "01|北海道\n"                     // two columns: neither a prefecture nor an entry
    "01001|阿寒||||Akan|||-050930\n"  // TAB runs are one separator: the date is column 3
    "010102|北|Kita\n"
    "010101|中央|Chuo\n"
    " 0103|小樽|Otaru\n"    // not two digits at the start
    "0104 函館 Hakodate\n"  // no TAB
    "01234|X|X\n"           // not a number form
    "4801|X|X\n"            // prefecture out of range
    "0105||||\n"            // no name
    "10|東京都|Tokyo|1\n"
    "1001|東京23区|Tokyo|-100331\n"
    "100101|千代田|Chiyoda\n"
    "23|滋賀県|Shiga|3\n"
    "23005|神崎|Kanzaki|-051231\n"
    "27|兵庫県|Hyogo|3\n"
    "27011|神崎|Kanzaki\n"
    "2701|神戸|Kobe\n"
    "270101|東灘|Higashinada\n"
    "270201|迷子|Stray\n";  // a ward whose city is not listed

class SmallListTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(list_.LoadText(ListText(kSmallList))); }

  std::string NameOf(std::string_view number, bool withPrefecture = false,
                     CityResult expected = CityResult::kFound) {
    std::string name;
    EXPECT_EQ(list_.NameOfNumber(number, withPrefecture, name), expected) << number;
    return name;
  }

  CityList list_;
};

TEST_F(SmallListTest, ReadsOnlyTheLinesOfTheList) {
  const auto& cities = list_.Entries(CityKind::kCity, 1);
  ASSERT_EQ(cities.size(), 3u);
  EXPECT_EQ(cities[0].name, "札幌");
  EXPECT_EQ(cities[1].name, "旭川旧");
  EXPECT_EQ(cities[1].validity.end, ListDayNumber(99, 12, 31));
  EXPECT_EQ(cities[2].name, "旭川");
  ASSERT_EQ(list_.Entries(CityKind::kGun, 1).size(), 1u);
  EXPECT_EQ(list_.Entries(CityKind::kGun, 1)[0].validity, (Validity{kOpenStart, ListDayNumber(5, 9, 30)}));
  EXPECT_EQ(list_.PrefectureOf(1).name, "北海道");
  EXPECT_EQ(list_.PrefectureOf(1).area, 8);
  EXPECT_EQ(list_.PrefectureOf(2).name, "");
  EXPECT_EQ(list_.EntryCount(), 13);
}

TEST_F(SmallListTest, ListsAreOrderedByNumberAndSerialsRunCitiesGunsWards) {
  const auto& wards = list_.Entries(CityKind::kWard, 1);
  ASSERT_EQ(wards.size(), 2u);
  EXPECT_EQ(wards[0].name, "中央");
  EXPECT_EQ(wards[1].name, "北");
  // Cities of 01, 10, 27; guns of 01, 23, 27; wards of 01, 10, 27.
  EXPECT_EQ(list_.Entries(CityKind::kCity, 1)[0].serial, 1);
  EXPECT_EQ(list_.Entries(CityKind::kCity, 27)[0].serial, 5);
  EXPECT_EQ(list_.Entries(CityKind::kGun, 1)[0].serial, 6);
  EXPECT_EQ(list_.Entries(CityKind::kGun, 27)[0].serial, 8);
  EXPECT_EQ(wards[0].serial, 9);
  EXPECT_EQ(list_.Entries(CityKind::kWard, 27).back().serial, 13);
}

TEST_F(SmallListTest, CountsByKind) {
  const CityCounts& counts = list_.Counts();
  EXPECT_EQ(counts.all, (CityCounts::ByKind{13, 5, 3, 5}));
  EXPECT_EQ(counts.open, (CityCounts::ByKind{9, 3, 1, 5}));
  EXPECT_EQ(counts.distinct, (CityCounts::ByKind{12, 4, 3, 5}));  // 0102 once
  // The open name of 0102 follows its ended one: it is not distinct, so 0102 is not counted.
  EXPECT_EQ(counts.distinctOpen, (CityCounts::ByKind{8, 2, 1, 5}));
  EXPECT_GT(list_.MemoryUsed(), 13 * sizeof(CityEntry));
}

TEST_F(SmallListTest, NameOfANumber) {
  EXPECT_EQ(NameOf("0101"), "札幌市");
  EXPECT_EQ(NameOf("0101", true), "北海道札幌市");
  EXPECT_EQ(NameOf("0102"), "旭川旧市");
  EXPECT_EQ(NameOf("01001"), "阿寒郡");
  EXPECT_EQ(NameOf("01"), "北海道");
  EXPECT_EQ(NameOf("010101"), "札幌市中央区");
  EXPECT_EQ(NameOf("010101", true), "北海道札幌市中央区");
  EXPECT_EQ(NameOf("1001"), "東京23区");
  EXPECT_EQ(NameOf("1001", true), "東京都東京23区");
  EXPECT_EQ(NameOf("100101"), "東京都千代田区");
  EXPECT_EQ(NameOf("100101", true), "東京都千代田区");
  EXPECT_EQ(NameOf("23005"), "滋賀県神崎郡");
  EXPECT_EQ(NameOf("27011"), "兵庫県神崎郡");
  EXPECT_EQ(NameOf("270101"), "神戸市東灘区");
}

TEST_F(SmallListTest, NameOfANumberThatIsNotThere) {
  EXPECT_EQ(NameOf("0199", false, CityResult::kNoSuchEntry), "");
  EXPECT_EQ(NameOf("02", false, CityResult::kNoSuchEntry), "");
  EXPECT_EQ(NameOf("010199", false, CityResult::kNoSuchEntry), "");
  // A ward whose city is missing: only with the prefecture in front does it have a name.
  NameOf("270201", false, CityResult::kNoSuchEntry);
  EXPECT_EQ(NameOf("270201", true), "兵庫県迷子区");
  NameOf("0１01", false, CityResult::kNotNumberForm);
  NameOf("4801", false, CityResult::kPrefectureOutOfRange);
}

TEST_F(SmallListTest, ValidityByNumber) {
  Validity validity;
  EXPECT_EQ(list_.ValidityByNumber("1001", validity), CityResult::kFound);
  EXPECT_EQ(validity, (Validity{kOpenStart, ListDayNumber(10, 3, 31)}));
  EXPECT_EQ(list_.ValidityByNumber("0102", validity), CityResult::kFound);
  EXPECT_EQ(validity.end, ListDayNumber(99, 12, 31));  // the first name of the number
  EXPECT_EQ(list_.ValidityByNumber("10", validity), CityResult::kFound);
  EXPECT_FALSE(validity.HasDates());
  EXPECT_EQ(list_.ValidityByNumber("1002", validity), CityResult::kNoSuchEntry);
  EXPECT_EQ(list_.ValidityByNumber("1x02", validity), CityResult::kNotNumberForm);
  EXPECT_EQ(list_.ValidityByNumber("00", validity), CityResult::kPrefectureOutOfRange);
}

TEST(CityListTest, LineEndsCrLfAndLfReadAlike) {
  CityList crlf, lf;
  ASSERT_TRUE(crlf.LoadText(ListText(kSmallList, "\r\n")));
  ASSERT_TRUE(lf.LoadText(ListText(kSmallList, "\n")));
  EXPECT_EQ(crlf.Counts().all, lf.Counts().all);
  EXPECT_EQ(lf.Entries(CityKind::kCity, 1)[0].name, "札幌");
  EXPECT_EQ(lf.PrefectureOf(1).area, 8);
}

TEST(CityListTest, AFaultyPrefectureLineLeavesTheListUnloaded) {
  for (std::string_view faulty : {"01|北海道|Hokkaido|8\n01|北海道|Again|8\n", "01|北海道|Hokkaido|10\n",
                                  "01|北海道|Hokkaido|x\n", "01|北海道|Hokkaido|８\n"}) {
    CityList list;
    EXPECT_FALSE(list.LoadText(ListText(std::string(faulty) + "0101|札幌|Sapporo\n"))) << faulty;
    EXPECT_FALSE(list.Loaded());
    EXPECT_TRUE(list.Entries(CityKind::kCity, 1).empty());
    EXPECT_EQ(list.PrefectureOf(1).name, "");
    std::string name;
    Validity validity;
    NameMatch match;
    EXPECT_EQ(list.NameOfNumber("0101", false, name), CityResult::kNotLoaded);
    EXPECT_EQ(list.ValidityByNumber("0101", validity), CityResult::kNotLoaded);
    EXPECT_EQ(list.NumberOfName("札幌市", 0, match), CityResult::kNotLoaded);
  }
}

TEST(CityListTest, AFailedLoadForgetsTheListLoadedBefore) {
  CityList list;
  ASSERT_TRUE(list.LoadText(ListText(kSmallList)));
  EXPECT_FALSE(list.LoadFile("/nonexistent/CGlist3.TXT"));
  EXPECT_FALSE(list.Loaded());
  EXPECT_EQ(list.EntryCount(), 0);
}

TEST(CityListTest, AnOverlongLineIsCutWithoutSplittingACharacter) {
  std::string names(124 * 2, ' ');
  for (size_t i = 0; i < names.size(); i += 2) names.replace(i, 2, "札");
  // Byte 254 is the "X": what follows it is dropped, it does not become a line of its own.
  std::string text = "0101\t" + names + "X0103\tY\n";
  // Here a two-byte character would end on byte 255: the line ends before it.
  text += "0102\t" + names + "札札\n";
  CityList list;
  ASSERT_TRUE(list.LoadText(text));
  const auto& cities = list.Entries(CityKind::kCity, 1);
  ASSERT_EQ(cities.size(), 2u);
  EXPECT_EQ(cities[0].name, names + "X");
  EXPECT_EQ(cities[1].name, names);
}

TEST(CityListTest, EveryTruncationLoadsOrFailsCleanly) {
  std::string text = ListText(kSmallList);
  for (size_t size = 0; size <= text.size(); ++size) {
    CityList list;
    if (list.LoadText(std::string_view(text).substr(0, size))) {
      EXPECT_LE(list.EntryCount(), 13);
    }
    std::string name;
    NameMatch match;
    list.NameOfNumber("010101", true, name);
    list.NumberOfName("北海道札幌市中央区", 8, match);
  }
}

TEST(CityListTest, RegressionTheFirstWardOfACityIsNotANameOfTheWardBefore) {
  CityList list;
  ASSERT_TRUE(list.LoadText(ListText("110101|鶴見|Tsurumi\n110301|川崎|Kawasaki\n")));
  EXPECT_EQ(list.Counts().distinct[3], 2);
}

}  // namespace
}  // namespace vondal

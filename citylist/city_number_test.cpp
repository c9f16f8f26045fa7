#include "citylist/city_number.h"

#include <gtest/gtest.h>

namespace vondal {
namespace {

CityNumber Parsed(std::string_view text, CityResult expected = CityResult::kFound) {
  CityNumber number;
  EXPECT_EQ(ParseNumber(text, number), expected) << text;
  return number;
}

TEST(CityNumberTest, ParsesEveryForm) {
  EXPECT_EQ(Parsed("10"), (CityNumber{CityKind::kPrefecture, 10, 0, 0}));
  EXPECT_EQ(Parsed("0102"), (CityNumber{CityKind::kCity, 1, 0, 2}));
  EXPECT_EQ(Parsed("27011"), (CityNumber{CityKind::kGun, 27, 0, 11}));
  EXPECT_EQ(Parsed("110101"), (CityNumber{CityKind::kWard, 11, 1, 1}));
}

TEST(CityNumberTest, RefusesOtherFormsAndPrefecturesOutsideTheRange) {
  for (std::string_view text : {"", "1", "123", "27111", "1234567", "01a2", " 0101", "0101 ", "０１"})
    Parsed(text, CityResult::kNotNumberForm);
  for (std::string_view text : {"00", "48", "4801", "99001", "000101"})
    Parsed(text, CityResult::kPrefectureOutOfRange);
}

TEST(CityNumberTest, TextOfANumberReadsBackAsTheSameNumber) {
  for (std::string_view text : {"01", "4701", "10007", "100123"}) {
    std::string written;
    ASSERT_EQ(NumberText(Parsed(text), written), CityResult::kFound);
    EXPECT_EQ(written, text);
  }
}

TEST(CityNumberTest, TextRefusesNumbersWithoutKindOrOutOfRange) {
  std::string text = "old";
  EXPECT_EQ(NumberText(CityNumber{}, text), CityResult::kNoKind);
  EXPECT_EQ(text, "");
  EXPECT_EQ(NumberText({CityKind::kCity, 48, 0, 1}, text), CityResult::kPrefectureOutOfRange);
  EXPECT_EQ(NumberText({CityKind::kWard, 11, 100, 1}, text), CityResult::kNotNumberForm);
}

}  // namespace
}  // namespace vondal

#include "citylist/call_area.h"

#include <gtest/gtest.h>

namespace vondal {
namespace {

TEST(CallAreaTest, ClassifiesJapaneseAndForeignCallSigns) {
  EXPECT_EQ(ClassifyJaDx("JA1ABC"), JaDx::kJA);
  EXPECT_EQ(ClassifyJaDx("JS3XYZ"), JaDx::kJA);
  EXPECT_EQ(ClassifyJaDx("7N4AAA"), JaDx::kJA);
  EXPECT_EQ(ClassifyJaDx("8J1RL"), JaDx::kJA);
  EXPECT_EQ(ClassifyJaDx("JT1BH"), JaDx::kDX);  // Mongolia
  EXPECT_EQ(ClassifyJaDx("7X2ABC"), JaDx::kDX);
  EXPECT_EQ(ClassifyJaDx("W1AW"), JaDx::kDX);
  EXPECT_EQ(ClassifyJaDx("JA"), JaDx::kNeither);
  EXPECT_EQ(ClassifyJaDx("ja1abc"), JaDx::kNeither);
  EXPECT_EQ(ClassifyJaDx("0AB"), JaDx::kNeither);
}

TEST(CallAreaTest, AreaFromTheDigitThePrefixOrThePortableSuffix) {
  EXPECT_EQ(CallArea("JA1ABC"), 1);
  EXPECT_EQ(CallArea("JH0XYZ"), 10);
  EXPECT_EQ(CallArea("JR6ABC"), 6);
  EXPECT_EQ(CallArea("7K1XYZ"), 1);
  EXPECT_EQ(CallArea("7N4AAA"), 1);
  EXPECT_EQ(CallArea("7J3AAA"), 3);
  EXPECT_EQ(CallArea("JA1ABC/0"), 10);
  EXPECT_EQ(CallArea("JA1ABC/3"), 3);
  EXPECT_EQ(CallArea("JA1ABC/0/P"), 10);
  EXPECT_EQ(CallArea("JA1ABC/JR6"), 6);
  EXPECT_EQ(CallArea("JA1ABC/JD1"), 11);
  EXPECT_EQ(CallArea("JA1ABC/P"), 0);
  EXPECT_EQ(CallArea("JAXABC"), 0);
  EXPECT_EQ(CallArea("W1AW"), 0);
  EXPECT_EQ(CallArea("W1AW/1"), 0);
}

TEST(CallAreaTest, SpecialTableComesFirstAndOnlyWithoutPortableSuffix) {
  EXPECT_EQ(CallArea("JD1ABC"), 11);
  EXPECT_EQ(CallArea("JD1AB"), 1);  // not the three letters of an Ogasawara call sign
  EXPECT_EQ(CallArea("8J1RL"), -1);
  EXPECT_EQ(CallArea("8J1RM"), -1);
  EXPECT_EQ(CallArea("8J90XPO"), 3);
  EXPECT_EQ(CallArea("8M2000"), 0);
  EXPECT_EQ(CallArea("8N2000"), 0);
  EXPECT_EQ(CallArea("8J1RL/2"), 2);
}

TEST(CallAreaTest, SpecialStations) {
  for (std::string_view callsign : {"JA1YAA", "JH1ZAB/1", "JA1RL", "JA1RL/P", "8J1A", "8N3EXPO"})
    EXPECT_TRUE(IsSpecialStation(callsign)) << callsign;
  for (std::string_view callsign : {"JA1ABC", "JA1RLX", "JA1YA", "7J1YA"})
    EXPECT_FALSE(IsSpecialStation(callsign)) << callsign;
}

}  // namespace
}  // namespace vondal

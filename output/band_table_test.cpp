#include "output/band_table.h"

#include <gtest/gtest.h>

namespace vondal {
namespace {

TEST(BandTableTest, BandsThroughShortFormsAndGaps) {
  EXPECT_EQ(BandOf("1.9"), 2);     // the short form 1.907
  EXPECT_EQ(BandOf("1.900"), -1);  // 1900 kHz lies between 1874 and 1907
  EXPECT_EQ(BandOf("3.590"), -1);  // between two rows of band 3
  EXPECT_EQ(BandOf("3.600"), 3);
  EXPECT_EQ(BandOf("3.610"), 3);
  EXPECT_EQ(BandOf("3.750"), 4);
  EXPECT_EQ(BandOf("10."), 6);
  EXPECT_EQ(BandOf("10.000"), -1);
  EXPECT_EQ(BandOf("1200."), 15);
  EXPECT_EQ(BandOf("5600."), 17);
  EXPECT_EQ(BandOf("7"), -1);  // no point: 0 kHz
  EXPECT_EQ(BandOf("7a.0"), -1);
  EXPECT_EQ(BandOf("7.0255"), 5);
  EXPECT_EQ(BandOf("248000."), 24);
  EXPECT_EQ(BandOf("250000."), -1);
  EXPECT_EQ(BandOf("99999999999999999999.1"), -1);
}

TEST(BandTableTest, RangeEndsAreInclusive) {
  EXPECT_EQ(FrequencyOf("0.135"), 135);
  EXPECT_EQ(BandOf("0.135"), 0);
  EXPECT_EQ(BandOf("0.137"), 0);
  EXPECT_EQ(BandOf("0.138"), -1);
  EXPECT_EQ(BandOf("7.199"), 5);
  EXPECT_EQ(BandOf("7.200"), -1);
}

TEST(BandTableTest, NamesInEveryStyle) {
  EXPECT_EQ(BandName(5, 'L'), "    7  M");
  EXPECT_EQ(BandName(5, 'S'), "7M");
  EXPECT_EQ(BandName(5, 's'), "7");
  EXPECT_EQ(BandName(2, 's'), "1.9");
  EXPECT_EQ(BandName(18, 's'), "10.1G");
  EXPECT_EQ(BandName(14, 'm'), "70cm");
  EXPECT_EQ(BandName(kOutsideBands, 'S'), "*");
  EXPECT_EQ(BandName(kBandTotal, 'S'), "合計");
  EXPECT_EQ(BandName(kBandTotal, 'm'), "");
  EXPECT_EQ(BandName(27, 'L'), "");
  EXPECT_EQ(BandName(5, 'x'), "");
}

TEST(BandTableTest, ModesCompareExactly) {
  EXPECT_EQ(ModeOf("CW"), kModeCW);
  EXPECT_EQ(ModeOf("PSK31"), kModePSK31);
  EXPECT_EQ(ModeOf("cw"), kModeOther);
  EXPECT_EQ(ModeOf(""), kModeOther);
  EXPECT_EQ(ModeOf("CW "), kModeOther);
  EXPECT_EQ(ModeName(kModeOther), "*");
  EXPECT_EQ(ReportLength(ModeOf("SSB")), 2);
  EXPECT_EQ(ReportLength(ModeOf("AM")), 2);
  EXPECT_EQ(ReportLength(ModeOf("CW")), 3);
  EXPECT_EQ(ReportLength(ModeOf("FT8")), 3);
}

class SegmentTest : public ::testing::Test {
 protected:
  void TearDown() override { SetUserSegments({}); }
};

TEST_F(SegmentTest, BuiltInRowsInOrder) {
  EXPECT_EQ(SegmentOf("144.05"), 1);
  EXPECT_EQ(SegmentOf("144.3"), 2);
  EXPECT_EQ(SegmentOf("145.0"), 3);
  EXPECT_EQ(SegmentOf("144.6"), 0);  // in the band, in no segment
  EXPECT_EQ(SegmentOf("7.030"), 1);  // through the row 135-28199
  EXPECT_EQ(SegmentOf("7.100"), 2);  // the row 7045-7199 comes earlier
  EXPECT_EQ(SegmentOf("7.250"), 0);  // in the CW row, but outside every band
  EXPECT_EQ(SegmentOf("1.9"), 2);
}

TEST_F(SegmentTest, UserLinesComeFirstAndBadLinesAreSkipped) {
  SetUserSegments({"7.000 7.199 RTTY", "14.000,\t14.070;PSK31", "21.0 21.1", "21.2 21.1 CW", "28.0 28.1 cw",
                   "50.0 50.1 FM extra", "144.6 144.7 AM"});
  ASSERT_EQ(UserSegments().size(), 3u);
  EXPECT_EQ(SegmentOf("7.000"), 5);
  EXPECT_EQ(SegmentOf("7.100"), 5);
  EXPECT_EQ(SegmentOf("14.050"), 6);
  EXPECT_EQ(SegmentOf("14.200"), 2);
  EXPECT_EQ(SegmentOf("144.65"), 4);
  SetUserSegments({});
  EXPECT_EQ(SegmentOf("7.000"), 1);
}

// The map as (start, band, class) triples between two frequencies.
std::vector<BandMapPoint> MapBetween(int32_t lowKhz, int32_t highKhz) {
  std::vector<BandMapPoint> part;
  for (const BandMapPoint& p : BuildBandMap()) {
    if (p.startKhz >= lowKhz && p.startKhz <= highKhz) part.push_back(p);
  }
  return part;
}

TEST_F(SegmentTest, BandMapPaintsSegmentsAndMergesEqualClasses) {
  const std::vector<BandMapPoint> twoMeters = MapBetween(143000, 150000);
  const std::vector<BandMapPoint> expected = {{144000, 13, 1}, {144100, 13, 2}, {144500, 13, 0},
                                              {144700, 13, 3}, {145800, 13, 0}, {146000, -1, -1}};
  EXPECT_EQ(twoMeters, expected);
  // 7 MHz: CW below 7045, phone above, with both rows of the map kept apart.
  const std::vector<BandMapPoint> forty = MapBetween(6000, 8000);
  const std::vector<BandMapPoint> expectedForty = {{7000, 5, 1}, {7045, 5, 2}, {7200, -1, -1}};
  EXPECT_EQ(forty, expectedForty);
  const std::vector<BandMapPoint> map = BuildBandMap();
  for (size_t i = 1; i < map.size(); ++i) {
    EXPECT_LT(map[i - 1].startKhz, map[i].startKhz);
    EXPECT_NE(map[i - 1].segmentClass, map[i].segmentClass);
  }
}

TEST_F(SegmentTest, UserSegmentWinsOnTheBandMap) {
  SetUserSegments({"7.000 7.199 RTTY", "144.02 144.03 PSK31"});
  EXPECT_EQ(MapBetween(6000, 8000), (std::vector<BandMapPoint>{{7000, 5, 5}, {7200, -1, -1}}));
  EXPECT_EQ(MapBetween(144000, 144100),
            (std::vector<BandMapPoint>{{144000, 13, 1}, {144020, 13, 6}, {144031, 13, 1}, {144100, 13, 2}}));
}

}  // namespace
}  // namespace vondal

// The four reports on a fixed fixture log, byte for byte against tools/vonrix/testdata/ (see the
// README there for how to renew them after a reviewed change).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tools/vonrix/vonrix_test_support.h"

namespace vondal {
namespace {

using namespace vondal::testing;

// 400 contacts from 1998 to 2003 (none in 2001), a few out of order; 260 stations contacted
// unevenly, some portable or through a foreign prefix; club stations; foreign stations; call
// signs that name no station; frequencies on most bands, in short forms and outside every band.
std::string FixtureLog() {
  unsigned seed = 20120101;
  auto next = [&seed](unsigned range) {
    seed = seed * 1103515245 + 12345;
    return (seed >> 8) % range;
  };
  const char* prefixes[] = {"JA", "JH", "JR", "JE", "7K", "7M", "8J", "W", "DL", "VK", "JA", "JF"};
  const char* suffixes[] = {"", "", "", "", "", "/1", "/P", "/3"};
  const char* freqs[] = {"1.9",    "3.525",  "3.750",  "7.010",  "7.100",  "10.",     "10.120", "14.050",
                         "18.100", "21.200", "24.940", "28.500", "50.200", "144.500", "430.00", "1200.",
                         "2400.5", "5650.",  "9.000",  "0.136",  "0.475",  "47000.1", "248000."};
  std::vector<std::string> stations;
  for (int i = 0; i < 260; ++i) {
    std::string call = prefixes[next(12)];
    call += static_cast<char>('0' + next(10));
    if (i % 37 == 5) call += 'Y';  // some club stations
    for (unsigned k = 0, letters = 2 + next(2); k < letters; ++k) call += static_cast<char>('A' + next(26));
    stations.push_back(call);
  }
  stations[7] = "JA1RL";
  stations[11] = "AB";  // no station

  std::vector<Contact> contacts;
  int day = 0;
  for (int n = 0; n < 400; ++n) {
    day += next(7);
    if (day / 336 == 3) day += 336;                   // skip 2001
    const int shown = n % 53 == 52 ? day - 40 : day;  // now and then a contact entered late
    char date[16], start[16];
    std::snprintf(date, sizeof date, "%02d%02d%02d", (98 + shown / 336) % 100, 1 + shown / 28 % 12,
                  1 + shown % 28);
    std::snprintf(start, sizeof start, "%02d%02d", next(24), next(60));
    std::string call = stations[std::min(next(260), next(260))];
    if (next(5) == 0) call += suffixes[next(8)];
    if (n % 61 == 0) call = "KH0/" + call;
    contacts.push_back({date, start, call, freqs[next(23)]});
  }
  return LogOf(contacts);
}

std::string GoldenPath(const std::string& name) {
  return std::string(VONDAL_SOURCE_DIR) + "/tools/vonrix/testdata/" + name;
}

void CheckGolden(const std::string& name, const std::vector<std::string>& args) {
  MemoryFileSystem fs;
  fs.SetContents("FIXTURE.VD", FixtureLog());
  const VonrixResult result = RunOver(fs, args);
  ASSERT_EQ(result.status, 0) << result.console;
  if (std::getenv("VONRIX_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(GoldenPath(name), std::ios::binary) << result.report;
    return;
  }
  std::ifstream file(GoldenPath(name), std::ios::binary);
  ASSERT_TRUE(file) << "missing " << GoldenPath(name);
  std::stringstream golden;
  golden << file.rdbuf();
  EXPECT_EQ(result.report, golden.str()) << "the report differs from " << name;
}

TEST(VonrixGoldenTest, ContactCounts) { CheckGolden("counts.txt", {"FIXTURE", "counts.txt", "C"}); }

TEST(VonrixGoldenTest, ContactIntervals) { CheckGolden("intervals.txt", {"FIXTURE", "intervals.txt", "I"}); }

TEST(VonrixGoldenTest, ContactSpansOfJapaneseStations) {
  CheckGolden("spans.txt", {"FIXTURE", "spans.txt", "S", "-J", "CALL!:JA1RL*"});
}

TEST(VonrixGoldenTest, BandCounts) { CheckGolden("bands.txt", {"FIXTURE", "bands.txt", "B"}); }

}  // namespace
}  // namespace vondal

#include "app/text/charset.h"

#include <gtest/gtest.h>

namespace vondal {
namespace {

TEST(CharsetTest, RoundTripsJapaneseThroughUtf8) {
  std::string cp932 = "ﾛｸﾞ=表示ソ～";  // 0x5C trail bytes and the CP932 wave dash
  std::string utf8 = Cp932ToUtf8(cp932);
  EXPECT_EQ(utf8, "\xEF\xBE\x9B\xEF\xBD\xB8\xEF\xBE\x9E=\xE8\xA1\xA8\xE7\xA4\xBA\xE3\x82\xBD\xEF\xBD\x9E");
  EXPECT_EQ(Utf8ToCp932(utf8), cp932);
}

TEST(CharsetTest, BrokenAndUnmappableTextBecomesQuestionMarks) {
  EXPECT_EQ(Cp932ToUtf8("A\x81"), "A?");                // lead byte without trail
  EXPECT_EQ(Utf8ToCp932("x\xF0\x9F\x98\x80y"), "x?y");  // an emoji CP932 cannot hold
  EXPECT_EQ(Utf8ToCp932("\xFF"), "?");                  // not UTF-8 at all
}

// The table conversion must say what iconv says for every character, the broken ones included.
TEST(CharsetTest, TableConversionAgreesWithIconvOnEveryCharacter) {
  const auto table = [](const std::string& text) {
    std::string out(3 * text.size(), '\0');
    out.resize(static_cast<size_t>(Cp932ToUtf8At(out.data(), text) - out.data()));
    return out;
  };
  for (int lead = 0; lead < 256; ++lead) {
    const std::string alone(1, static_cast<char>(lead));
    ASSERT_EQ(table("a" + alone), Cp932ToUtf8("a" + alone)) << lead;
    for (int trail = 0; trail < 256; ++trail) {
      const std::string text = alone + static_cast<char>(trail) + "z";
      ASSERT_EQ(table(text), Cp932ToUtf8(text)) << lead << " " << trail;
    }
  }
}

TEST(CharsetTest, AsciiPassesUnchanged) { EXPECT_EQ(Cp932ToLocale("log.VD"), "log.VD"); }

}  // namespace
}  // namespace vondal

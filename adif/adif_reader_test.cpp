#include "adif/adif_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vondal {
namespace {

// Every record of a text as "NAME=value" items.
std::vector<std::vector<std::string>> Records(AdifReader& reader) {
  std::vector<std::vector<std::string>> records;
  std::vector<AdifField> fields;
  while (reader.Next(fields)) {
    auto& items = records.emplace_back();
    for (const AdifField& f : fields) items.push_back(std::string(f.name) + "=" + std::string(f.value));
  }
  return records;
}

using Items = std::vector<std::string>;

TEST(AdiTextTest, HeaderTagsInAnyCaseTypesAndTextBetweenFields) {
  AdifReader reader(
      "Made by hand <adif_ver:5>3.1.4 <PROGRAMID:4>test\r\n<eoh>\r\n"
      "<call:6>JA1ABC <qso_date:8:d>20240101 // a note\r\n<Time_On:6>120015<eor>\r\n"
      "<EOR> junk < not a tag > <CALL:5>K1ABC<MODE:3>FT8<COMMENT:9>a <b> : c<EoR>");
  const auto records = Records(reader);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0], (Items{"call=JA1ABC", "qso_date=20240101", "Time_On=120015"}));
  // A value holds whatever its length covers, tags and line ends included.
  EXPECT_EQ(records[1], (Items{"CALL=K1ABC", "MODE=FT8", "COMMENT=a <b> : c"}));
  EXPECT_EQ(reader.count(), 2);
  EXPECT_EQ(reader.leftOver(), 0u);
  EXPECT_EQ(reader.clock(), TimeZone::kUtc);
  EXPECT_FALSE(reader.ownExport());
  // Again from the first record.
  reader.Rewind();
  EXPECT_EQ(Records(reader).size(), 2u);
}

TEST(AdiTextTest, WithoutHeaderAndWithoutEoh) {
  AdifReader noHeader("<CALL:3>K1A<EOR>\n<CALL:3>K2B<EOR>\n");
  EXPECT_EQ(Records(noHeader), (std::vector<Items>{{"CALL=K1A"}, {"CALL=K2B"}}));
  // Text in front and no <EOH>: the text is passed over like any text between fields.
  AdifReader noEoh("some words\n<CALL:3>K1A<EOR>\n");
  EXPECT_EQ(Records(noEoh), (std::vector<Items>{{"CALL=K1A"}}));
  // The header's own fields are no record, even with an <EOR> among them.
  AdifReader header("x <PROGRAMID:3>abc <EOR> <EOH><CALL:3>K1A<EOR>");
  EXPECT_EQ(Records(header), (std::vector<Items>{{"CALL=K1A"}}));
}

TEST(AdiTextTest, AnUnfinishedRecordAtTheEndIsLeftOver) {
  const std::string whole = "<EOH><CALL:3>K1A<EOR>";
  const std::string unfinished = whole + "\n<CALL:3>K2B <MODE:2>CW\n";
  AdifReader noEor(unfinished);
  EXPECT_EQ(Records(noEor).size(), 1u);
  EXPECT_EQ(noEor.leftOver(), std::string("<CALL:3>K2B <MODE:2>CW\n").size());
  // A value whose length runs past the end.
  const std::string cut = whole + "<CALL:3>K2B<COMMENT:40>short<EOR>";
  AdifReader pastEnd(cut);
  EXPECT_EQ(Records(pastEnd).size(), 1u);
  EXPECT_EQ(pastEnd.leftOver(), std::string("<CALL:3>K2B<COMMENT:40>short<EOR>").size());
  // Every shorter text of a whole file still reads without a fault, and never more records.
  const std::string file = "h<EOH><CALL:3>K1A<QSO_DATE:8>20240101<EOR><CALL:3>K2B<EOR>";
  for (size_t size = 0; size <= file.size(); ++size) {
    AdifReader shorter(std::string_view(file).substr(0, size));
    EXPECT_LE(Records(shorter).size(), 2u) << size;
  }
}

TEST(AdiTextTest, CharsetAndClockOfTheFile) {
  // The processing menu's own export: CP932 and JST, or UTC when its first line says so.
  const std::string own = "ADIF Export from Vondal w01.022 (JST)\r\n<PROGRAMID:6>Vondal\r\n<EOH>\r\n";
  const std::string tokyo = own + "<NAME:4>\x93\x8C\x8B\x9E <EOR>\r\n";
  AdifReader jst(tokyo);
  EXPECT_TRUE(jst.ownExport());
  EXPECT_EQ(jst.clock(), TimeZone::kJst);
  EXPECT_EQ(jst.charset(), TextCharset::kCp932);
  AdifReader older("ADIF Export from Vondal w01.022\r\n<EOH><CALL:3>K1A<EOR>");
  EXPECT_EQ(older.clock(), TimeZone::kJst);
  EXPECT_EQ(older.charset(), TextCharset::kAscii);
  AdifReader utc("ADIF Export from Vondal w01.022 (UTC)\r\n<EOH><CALL:3>K1A<EOR>");
  EXPECT_EQ(utc.clock(), TimeZone::kUtc);
  // Even when its CP932 bytes would pass for UTF-8 ("蕨" is E8 A8, then 0x9F starts the next).
  const std::string warabi = own + "<NAME:4>\xE8\xA8\x9F\x40<EOR>";
  AdifReader passes(warabi);
  EXPECT_EQ(passes.charset(), TextCharset::kCp932);

  // Other files: UTF-8 when the bytes are, CP932 when not; the byte order mark is passed over.
  AdifReader utf8("WSJT-X\n<EOH><NAME:6>\xE6\x9D\xB1\xE4\xBA\xAC<EOR>");
  EXPECT_EQ(utf8.charset(), TextCharset::kUtf8);
  EXPECT_EQ(utf8.clock(), TimeZone::kUtc);
  AdifReader cp932("x\n<EOH><NAME:4>\x93\x8C\x8B\x9E<EOR>");
  EXPECT_EQ(cp932.charset(), TextCharset::kCp932);
  AdifReader bom("\xEF\xBB\xBF<CALL:3>K1A<EOR>");
  EXPECT_EQ(bom.charset(), TextCharset::kUtf8);
  EXPECT_EQ(Records(bom), (std::vector<Items>{{"CALL=K1A"}}));
}

TEST(AdiTextTest, CharsetGuess) {
  EXPECT_EQ(GuessCharset("plain text, long enough to be read eight bytes at a time"), TextCharset::kAscii);
  EXPECT_EQ(GuessCharset("abc \xE6\x9D\xB1"), TextCharset::kUtf8);
  EXPECT_EQ(GuessCharset("abc \xE6\x9D"), TextCharset::kUtf8);   // cut by the end of what was read
  EXPECT_EQ(GuessCharset("abc \xB1\xB2"), TextCharset::kCp932);  // ｱｲ
  EXPECT_EQ(GuessCharset("\xC0\x80"), TextCharset::kCp932);      // overlong
  EXPECT_EQ(GuessCharset("\xED\xA0\x80"), TextCharset::kCp932);  // a surrogate
  int replaced = 0;
  EXPECT_EQ(Utf8ToCp932("\xE6\x9D\xB1\xF0\x9F\x98\x80x\xFF", replaced),
            "\x93\x8C?x?");  // 東, 😀, x, a broken byte
  EXPECT_EQ(replaced, 2);
}

}  // namespace
}  // namespace vondal

#include "color/color_sets.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "log/faulty_file_system.h"

namespace vondal {
namespace {

constexpr int kTitle = static_cast<int>(ColorElement::Title);
constexpr int kVersion = static_cast<int>(ColorElement::Version);

// The built-in default set as the element table lists it, one attribute per element.
constexpr uint8_t kDefaultAttributes[kColorElementCount] = {
    0xf1, 0x07, 0x0f, 0x0f, 0x08, 0xf0, 0x0f, 0xf9, 0x70, 0x0f, 0x70, 0x03, 0x07, 0x08, 0x0f, 0x07, 0x0e,
    0x07, 0x16, 0x07, 0x06, 0x0e, 0x07, 0x06, 0x02, 0x0f, 0x0f, 0x0d, 0x70, 0x08, 0x0f, 0x8f, 0x08, 0x0f,
    0x0a, 0x08, 0x08, 0xf2, 0x70, 0x0c, 0x07, 0x02, 0x01, 0x00, 0x0f, 0x0a, 0x08, 0x08, 0xf2, 0x70, 0x0c,
    0x07, 0x02, 0x00, 0x00, 0x0f, 0x0a, 0x08, 0x08, 0xf2, 0x70, 0x0c, 0x07, 0x02, 0x01, 0x01,
};

std::string Header(std::string_view magic, int standard) {
  std::string header(magic);
  header.resize(200, '\0');
  header[199] = static_cast<char>(standard);
  return header;
}

// A set record written out by hand: `high` puts each attribute in the high byte of its word,
// as the 16-bit edition did.
std::string Record(uint8_t title, std::string_view name, std::string_view author = "JA1ABC",
                   bool high = false) {
  std::string record;
  for (int k = 0; k < kColorElementCount; ++k) {
    const char attr = static_cast<char>(k == kTitle ? title : kDefaultAttributes[k]);
    record += high ? std::string{'\0', attr} : std::string{attr, '\0'};
  }
  std::string field(name);
  field.resize(52, '\0');
  record += field;
  field = author;
  field.resize(12, '\0');
  record += field;
  record += std::string{24, 2, 29, 0};
  return record;
}

std::string File(int sets, int standard = 0) {
  std::string file = Header("Vonpaint 32bit\x1A", standard);
  for (int n = 0; n < sets; ++n) file += Record(static_cast<uint8_t>(0x10 + n), "set " + std::to_string(n));
  return file;
}

class ColorSetsTest : public ::testing::Test {
 protected:
  void TearDown() override { SetCurrentColorTable(DefaultColorTable()); }

  MemoryFileSystem fs;
  WriteCounters counters;
  ColorSets sets{fs, counters};
};

TEST_F(ColorSetsTest, MissingFileGivesTheDefaultSetAndQuitWritesItByteForByte) {
  ColorLoadReport report = sets.Load("C.VDC");
  EXPECT_EQ(report.note, "規定の配色を使用");
  EXPECT_EQ(report.fileLine, "新配色=C.VDC");
  EXPECT_EQ(CurrentColorTable(), DefaultColorTable());
  ASSERT_TRUE(sets.NeedsSave());
  ASSERT_EQ(sets.Save(), "");

  std::string expected = Header("Vonpaint 32bit\x1A", 0);
  std::string record;
  for (uint8_t attr : kDefaultAttributes) record += std::string{static_cast<char>(attr), '\0'};
  std::string name = "白馬岳の頂に憩う（規定色セット）";
  name.resize(52, '\0');
  record += name + std::string("QZ0ZZQ\0\0\0\0\0\0", 12) + std::string{16, 3, 3, 0};
  EXPECT_EQ(fs.Contents("C.VDC"), expected + record);
  EXPECT_FALSE(fs.Exists("C.VDC.tmp~"));
}

TEST_F(ColorSetsTest, SixteenBitFileIsConvertedAndWrittenBackInThisEdition) {
  fs.SetContents("OLD.VDC", Header("Vonpaint4DOS/V\x1A", 1) + Record(0xF1, "古い配色", "JA1OLD", true) +
                                Record(0x1E, "second", "JA1OLD", true));
  ColorLoadReport report = sets.Load("OLD.VDC");
  EXPECT_EQ(report.note, "配色ﾌｧｲﾙが16bit版用なので変換");
  EXPECT_EQ(report.fileLine, "配色=OLD.VDC");
  ASSERT_EQ(sets.count(), 2);
  EXPECT_EQ(sets.Set(0).table[kTitle], 0xF1);
  EXPECT_EQ(sets.Set(0).name, "古い配色");
  EXPECT_EQ(sets.current(), 1);  // the standard set
  EXPECT_EQ(CurrentColorTable()[kTitle], 0x1E);
  ASSERT_TRUE(sets.NeedsSave());
  ASSERT_EQ(sets.Save(), "");
  const std::string saved = fs.Contents("OLD.VDC");
  EXPECT_EQ(saved.substr(0, 15), "Vonpaint 32bit\x1A");
  EXPECT_EQ(saved.substr(200, 2), std::string("\xF1\0", 2));
}

TEST_F(ColorSetsTest, UnusableFilesKeepTheDefaultSetAndAreNeverOverwritten) {
  const std::string good = File(2);
  const std::string cases[] = {"", "not a colour file", good.substr(0, 199),
                               "Vonpaint 32bit!" + good.substr(15)};
  for (const std::string& bytes : cases) {
    fs.SetContents("U.VDC", bytes);
    ColorLoadReport report = sets.Load("U.VDC");
    EXPECT_EQ(report.note, "");
    EXPECT_EQ(report.fileLine, "配色=U.VDC");
    EXPECT_EQ(sets.count(), 1);
    EXPECT_EQ(sets.Set(0), DefaultColorSet());
    EXPECT_FALSE(sets.NeedsSave()) << bytes.size() << " bytes";
  }
  // There, but not to be opened: kept as well.
  FaultyFileSystem faulty(fs);
  faulty.faults.failOpen = {"U.VDC"};
  ColorSets guarded(faulty, counters);
  EXPECT_EQ(guarded.Load("U.VDC").note, "");
  EXPECT_FALSE(guarded.NeedsSave());
}

TEST_F(ColorSetsTest, SelectionAfterHashChoosesByNumberNameOrStandard) {
  fs.SetContents("S.VDC", File(5, 2));
  const std::pair<std::string, int> cases[] = {
      {"S.VDC#3", 3},         {"S.VDC#03", 3},   {"S.VDC#7", 0},
      {"S.VDC#123", 0},                                                 // three digits are a name
      {"S.VDC#\"set 4\"", 4}, {"S.VDC#et 1", 1}, {"S.VDC#\"set 4", 2},  // no closing quote: empty
      {"S.VDC#nothing", 0},   {"S.VDC#", 2},     {"S.VDC", 2},
  };
  for (const auto& [setting, expected] : cases) {
    sets.Load(setting);
    EXPECT_EQ(sets.current(), expected) << setting;
    EXPECT_EQ(CurrentColorTable()[kTitle], 0x10 + expected) << setting;
    EXPECT_EQ(sets.fileName(), "S.VDC");
  }
  // A standard number beyond the sets names the first one.
  fs.SetContents("S.VDC", File(3, 9));
  sets.Load("S.VDC");
  EXPECT_EQ(sets.standard(), 0);
}

TEST_F(ColorSetsTest, AHundredSetsLoadAndTheRestOfTheFileIsIgnored) {
  fs.SetContents("H.VDC", File(120) + "half a record");
  sets.Load("H.VDC");
  EXPECT_EQ(sets.count(), 100);
  EXPECT_EQ(sets.Set(99).name, "set 99");
}

TEST_F(ColorSetsTest, EveryTruncationAndCorruptionLoadsWholeSets) {
  std::string file = File(3);
  // A name filling its whole field, and an author ending in half a two-byte character.
  file.replace(200 + 132, 52, std::string(52, 'N'));
  file.replace(400 + 184, 6, std::string("AB\x82\0\0\0", 6));
  for (size_t size = 0; size <= file.size(); ++size) {
    fs.SetContents("T.VDC", file.substr(0, size));
    sets.Load("T.VDC");
    EXPECT_EQ(sets.count(), size < 400 ? 1 : static_cast<int>(size / 200 - 1));
  }
  for (size_t at = 0; at < file.size(); ++at) {
    std::string bad = file;
    bad[at] = static_cast<char>(~bad[at]);
    fs.SetContents("T.VDC", bad);
    sets.Load("T.VDC");
    ASSERT_GE(sets.count(), 1);
    for (int n = 0; n < sets.count(); ++n) {
      ASSERT_LE(sets.Set(n).name.size(), 51u);
      ASSERT_LE(sets.Set(n).author.size(), 11u);
    }
  }
  fs.SetContents("T.VDC", file);
  sets.Load("T.VDC");
  EXPECT_EQ(sets.Set(0).name, std::string(51, 'N'));
  EXPECT_EQ(sets.Set(1).author, "AB");
  // Written back, every field keeps its terminator.
  counters[kCountColor] = 1;
  ASSERT_EQ(sets.Save(), "");
  EXPECT_EQ(fs.Contents("T.VDC")[200 + 132 + 51], '\0');
}

TEST_F(ColorSetsTest, JoinAppendsUpToAHundredSetsAndRefusesBadFiles) {
  fs.SetContents("A.VDC", File(41));
  fs.SetContents("SIXTY.VDC", File(60));
  sets.Load("A.VDC");
  EXPECT_EQ(sets.Join("SIXTY"), "色ｾｯﾄ数が制限を超えます");
  EXPECT_EQ(sets.count(), 41);
  EXPECT_FALSE(sets.NeedsSave());
  EXPECT_EQ(sets.Join("missing"), "ｵｰﾌﾟﾝできません");
  fs.SetContents("ODD.VDC", File(1) + "x");
  EXPECT_EQ(sets.Join("ODD"), "不正なﾌｧｲﾙです");
  fs.SetContents("WRONG.VDC", "Vonpaint 16bit\x1A" + File(1).substr(15));
  EXPECT_EQ(sets.Join("WRONG"), "不正なﾌｧｲﾙです");
  EXPECT_EQ(sets.count(), 41);

  fs.SetContents("A.VDC", File(40));
  sets.Load("A.VDC");
  EXPECT_EQ(sets.Join("SIXTY.VDC"), "");
  EXPECT_EQ(sets.count(), 100);
  EXPECT_EQ(sets.Set(40).name, "set 0");
  EXPECT_TRUE(sets.NeedsSave());

  fs.SetContents("OLD.VDC", Header("Vonpaint4DOS/V\x1A", 0) + Record(0xF1, "old", "JA1OLD", true));
  sets.Load("A.VDC");
  EXPECT_EQ(sets.Join("OLD"), "");
  EXPECT_EQ(sets.Set(40).table[kTitle], 0xF1);
}

TEST_F(ColorSetsTest, ReloadForgetsChangesAndRestoreBringsBackTheEntry) {
  fs.SetContents("R.VDC", File(2));
  sets.Load("R.VDC");
  sets.CurrentSet().table[kTitle] = 0x4E;
  sets.CountChange();
  sets.Snapshot();
  sets.Copy(0);
  EXPECT_EQ(sets.count(), 3);
  sets.Restore();
  EXPECT_EQ(sets.count(), 2);
  EXPECT_EQ(CurrentColorTable()[kTitle], 0x4E);
  EXPECT_TRUE(sets.NeedsSave());
  sets.Reload();
  EXPECT_EQ(sets.Set(0).table[kTitle], 0x10);
  EXPECT_EQ(CurrentColorTable()[kTitle], 0x10);
  EXPECT_FALSE(sets.NeedsSave());
}

TEST_F(ColorSetsTest, FailedSavesSayWhyAndKeepTheOldFile) {
  fs.SetContents("F.VDC", File(2));
  FaultyFileSystem faulty(fs);
  ColorSets guarded(faulty, counters);
  guarded.Load("F.VDC");
  guarded.CountChange();
  faulty.faults.failOpen = {"F.VDC.tmp~"};
  EXPECT_EQ(guarded.Save(), "色ﾌｧｲﾙを書込ｵｰﾌﾟﾝできません");
  faulty.faults = {};
  faulty.faults.spaceLeft = 300;
  EXPECT_EQ(guarded.Save(), "色ﾌｧｲﾙに書込めません");
  EXPECT_EQ(fs.Contents("F.VDC"), File(2));
  EXPECT_TRUE(guarded.NeedsSave());
  faulty.faults = {};
  EXPECT_EQ(guarded.SaveAs("COPY"), "");
  EXPECT_EQ(fs.Contents("COPY.VDC"), File(2));
}

TEST(CopyName, NumbersCopiesUpToNine) {
  EXPECT_EQ(CopyName("Day"), "Copy~Day");
  EXPECT_EQ(CopyName("copy~X"), "Copy1~X");
  EXPECT_EQ(CopyName("COPY3~X"), "Copy4~X");
  EXPECT_EQ(CopyName("Copy9~Day"), "Copy~Copy9~Day");
  EXPECT_EQ(CopyName("Copy~"), "Copy1~");
  // Cut to 50 bytes, never inside a two-byte character.
  EXPECT_EQ(CopyName(std::string(44, 'x') + "ab"), "Copy~" + std::string(44, 'x') + "a");
  std::string kanji;
  for (int i = 0; i < 23; ++i) kanji += "\x88\x9F";
  EXPECT_EQ(CopyName("xx" + kanji), "Copy~xx" + kanji.substr(0, 42));  // 49 bytes
}

TEST_F(ColorSetsTest, CopyDeleteAndExchangeKeepTheStandardAndCurrentSetsOnTheirSets) {
  fs.SetContents("L.VDC", File(4, 2));
  sets.Load("L.VDC#1");
  EXPECT_EQ(sets.Copy(1), "");
  EXPECT_EQ(sets.Set(2).name, "Copy~set 1");
  EXPECT_EQ(sets.current(), 2);
  EXPECT_EQ(sets.standard(), 3);  // set 2 moved up behind the copy
  sets.ExchangeWithNext(2);
  EXPECT_EQ(sets.Set(2).name, "set 2");
  EXPECT_EQ(sets.standard(), 2);
  EXPECT_EQ(sets.current(), 3);
  sets.Delete(3);  // the copy, the current set: the set behind it takes its place
  EXPECT_EQ(sets.count(), 4);
  EXPECT_EQ(sets.current(), 3);
  EXPECT_EQ(sets.Set(3).name, "set 3");
  sets.Delete(0);
  EXPECT_EQ(sets.standard(), 1);
  EXPECT_EQ(sets.current(), 2);
  EXPECT_EQ(CurrentColorTable()[kTitle], 0x13);

  fs.SetContents("L.VDC", File(100));
  sets.Load("L.VDC");
  EXPECT_EQ(sets.Copy(0), "色ｾｯﾄ数が制限を超えます");
  EXPECT_EQ(sets.count(), 100);
}

TEST_F(ColorSetsTest, SourceExportWritesEachElementInColumns) {
  fs.SetContents("X.VDC", File(2));
  sets.Load("X.VDC");
  sets.CurrentSet().table[kTitle] = 0x8F;
  sets.CurrentSet().table[kVersion] = 0x07;
  const std::string text = ColorSourceText(sets);
  EXPECT_EQ(text.substr(0, text.find("//Version") + 10),
            "{\t//X.VDC#00\n\t{\n"
            "\t\tCOLfWHITE|COLfHI\t|COLbBLACK|COLbHI,\t\t\t\t\t\t//Title\n"
            "\t\tCOLfWHITE,\t\t\t\t\t\t\t\t\t\t\t\t\t//Version\n");
  // COBALT ends one column before a stop: a tab still takes it there.
  EXPECT_NE(text.find("\t\tCOLfCOBALT,\t\t\t\t\t\t\t\t\t\t\t\t\t//eBlankEnd\n"), std::string::npos);
  EXPECT_NE(text.find("\t\tCOLfCOBALT\t\t\t\t\t\t\t\t\t\t\t\t\t//mEdgeEnd\n"), std::string::npos);
  EXPECT_NE(text.find("//mEdgeEnd\n\t},\n\t\"set 0\",\n\t\"JA1ABC\",\n\t{24,2,29}\n},\n{\t//X.VDC#01\n"),
            std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 14), "\t{24,2,29}\n};\n");

  ASSERT_EQ(sets.ExportSource("out.C"), "");
  const std::string written = fs.Contents("out.C");
  EXPECT_EQ(written.substr(0, 18), "{\t//X.VDC#00\r\n\t{\r\n");
  EXPECT_EQ(written.size(), text.size() + std::count(text.begin(), text.end(), '\n'));
  FaultyFileSystem faulty(fs);
  faulty.faults.failOpen = {"locked.C.tmp~"};
  ColorSets guarded(faulty, counters);
  EXPECT_EQ(guarded.ExportSource("locked.C"), "ｵｰﾌﾟﾝできません");
}

}  // namespace
}  // namespace vondal

#include "app/config_reader.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/config_test_folder.h"
#include "app/text/program_folder.h"

namespace vondal {
namespace {

class ConfigReaderTest : public testing::Test {
 protected:
  ConfigReaderTest() {
    output_.print = [this](std::string_view text) { printed_ += text; };
    output_.exitProgram = [this] { ++exits_; };
  }

  // A table of single-value keys a, b and caption in [S], the list `list` (at most 3 values)
  // and the unlimited list `many`.
  static std::vector<ConfigKey> Table() {
    auto key = [](std::string name, int maxValues) {
      ConfigKey entry;
      entry.section = "S";
      entry.key = std::move(name);
      entry.maxValues = maxValues;
      return entry;
    };
    return {key("a", 0), key("b", 0), key("caption", 0), key("list", 3), key("many", kUnlimitedValues)};
  }

  int Read(std::string_view text) {
    table_ = Table();
    return ReadConfig(folder_.Write("Vondal.ini", text), table_, output_);
  }

  int List(std::string_view text) { return ReadConfig(folder_.Write("Vondal.ini", text), {}, output_); }

  // The value of the single-value key, or "<none>".
  std::string Value(size_t entry) const {
    return table_[entry].values.empty() ? "<none>" : table_[entry].values.front();
  }

  // A chain of files chain1.ini ... chainN.ini, each including the next.
  std::string WriteChain(int files) {
    for (int i = 1; i <= files; ++i) {
      std::string text = "[S]\n";
      if (i < files) text += "#include chain" + std::to_string(i + 1) + ".ini\n";
      if (i == files) text += "a=deepest\n";
      folder_.Write("chain" + std::to_string(i) + ".ini", text);
    }
    return folder_.path() + "chain1.ini";
  }

  ConfigTestFolder folder_;
  ConfigOutput output_;
  std::vector<ConfigKey> table_;
  std::string printed_;
  int exits_ = 0;
};

TEST_F(ConfigReaderTest, CommentsAreCutOutsideQuotesOnly) {
  EXPECT_EQ(Read("[S]\r\n"
                 "a = x // note\r\n"
                 "b=\"http://host\" \t// note\r\n"
                 "   // only a comment\r\n"
                 "caption=表示ソ//\"ポ\r\n"
                 "list=crlf\r\n"),
            kConfigOk);
  EXPECT_EQ(Value(0), " x");  // the value keeps its leading blank; the comment and its blanks go
  EXPECT_EQ(Value(1), "\"http://host\"");
  EXPECT_EQ(Value(2), "表示ソ");  // trail bytes 0x5C and 0x7C are no slashes
  EXPECT_EQ(table_[3].values.front(), "crlf");
}

TEST_F(ConfigReaderTest, FirstValueWinsAndListsStopAtTheirLimit) {
  EXPECT_EQ(Read("[s]\n"
                 "A\t =first\n"
                 "a=second\n"
                 "list=1\nLIST=2\nlist=3\nlist=4\n"
                 "many=1\nmany=2\nmany=3\nmany=4\nmany=5\n"
                 "[T]\nb=other set\n"
                 "line without equals\n"),
            kConfigOk);
  EXPECT_EQ(Value(0), "first");
  EXPECT_EQ(Value(1), "<none>");
  EXPECT_EQ(table_[3].values, (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(table_[4].values.size(), 5u);
}

TEST_F(ConfigReaderTest, DefinitionsAreSubstitutedNewestFirst) {
  EXPECT_EQ(Read("#define NUM=1\n"
                 "#define LONGNUM=NUM NUM\n"  // the value is substituted when defined
                 "[S]\n"
                 "a=NUM LONGNUM\n"
                 "#define NUM=2\n"  // the name of a define line is not substituted
                 "b=NUM\n"
                 "#define SET=[S]\n"
                 "caption=ＮＵＭ\n"),
            kConfigOk);
  EXPECT_EQ(Value(0), "1 1 1");
  EXPECT_EQ(Value(1), "2");
  EXPECT_EQ(Value(2), "ＮＵＭ");
}

TEST_F(ConfigReaderTest, BadDefinitionsStopTheRead) {
  EXPECT_EQ(Read("#define NAME\n[S]\na=1\n"), kConfigBadDefine);
  EXPECT_EQ(Value(0), "<none>");
  EXPECT_EQ(Read("#define   =1\n"), kConfigBadDefine);
  // A definition that multiplies a line without end is refused, not followed into the memory.
  EXPECT_EQ(Read("#define X=XXXXXXXXXXXXXXXX\n#define X=XXXXXXXXXXXXXXXX\n#define X=XXXXXXXXXXXXXXXX\n"
                 "#define X=XXXXXXXXXXXXXXXX\n#define X=XXXXXXXXXXXXXXXX\n"),
            kConfigBadDefine);
}

TEST_F(ConfigReaderTest, StrictTurnsUnknownDirectivesIntoErrors) {
  EXPECT_EQ(Read("#pragma once\n#error\n#include\n[S]\na=1\n"), kConfigOk);
  EXPECT_EQ(Value(0), "1");
  EXPECT_EQ(Read("#error strict\n#pragma once\n[S]\na=1\n"), kConfigInvalidDirective);
  EXPECT_EQ(Value(0), "<none>");
  EXPECT_EQ(Read("#error STRICT sloppy\n"), kConfigInvalidDirective);
}

TEST_F(ConfigReaderTest, PrintNamesTheFileAndTheLine) {
  std::string file = folder_.path() + "Vondal.ini";
  EXPECT_EQ(Read("#error print\n\n#define oops\n"), kConfigBadDefine);
  EXPECT_EQ(printed_, "(!) " + file + ":3: #defineの文法が違います \"#define oops\"\n");
}

TEST_F(ConfigReaderTest, ContinueCountsTheErrorsAndReadsOn) {
  EXPECT_EQ(Read("#error continue strict\n#bad\n#define\tbad\n#include missing.ini\n[S]\na=kept\n"), 3);
  EXPECT_EQ(Value(0), "kept");
  EXPECT_EQ(exits_, 0);
}

TEST_F(ConfigReaderTest, ExitEndsTheProgramAtTheFirstError) {
  EXPECT_EQ(Read("#error exit continue\n#define bad\n[S]\na=1\n"), kConfigBadDefine);
  EXPECT_EQ(exits_, 1);
}

TEST_F(ConfigReaderTest, IncludesAreFoundBesideTheIncludingFile) {
  std::filesystem::create_directory(folder_.path() + "sub");
  folder_.Write("sub/inner.ini", "[S]\nb=inner\n#include last.ini  \n");
  folder_.Write("sub/last.ini", "caption=last\n");
  EXPECT_EQ(Read("#include\t " + folder_.path() + "sub/inner.ini\na=after\n"), kConfigOk);
  EXPECT_EQ(Value(0), "after");  // the section opened by the included file goes on
  EXPECT_EQ(Value(1), "inner");
  EXPECT_EQ(Value(2), "last");
}

TEST_F(ConfigReaderTest, PlusNamesTheProgramFolder) {
  std::string name = "config-reader-test-" + std::to_string(getpid()) + ".ini";
  std::string path = InProgramFolder(name);
  std::filesystem::create_directories(ProgramFolder());
  std::ofstream(path, std::ios::binary) << "[S]\na=program\n";
  table_ = Table();
  EXPECT_EQ(ReadConfig("+" + name, table_, output_), kConfigOk);
  EXPECT_EQ(Value(0), "program");
  EXPECT_EQ(Read("#include +" + name + "\n"), kConfigOk);
  EXPECT_EQ(Value(0), "program");
  std::filesystem::remove(path);
}

TEST_F(ConfigReaderTest, EightFilesDeepAreReadNineAreTooDeep) {
  table_ = Table();
  EXPECT_EQ(ReadConfig(WriteChain(8), table_, output_), kConfigOk);
  EXPECT_EQ(Value(0), "deepest");
  table_ = Table();
  EXPECT_EQ(ReadConfig(WriteChain(9), table_, output_), kConfigNestingTooDeep);
  EXPECT_EQ(Value(0), "<none>");
}

TEST_F(ConfigReaderTest, AFileIncludingItselfEndsTooDeep) {
  EXPECT_EQ(Read("#error print\n#include Vondal.ini\n"), kConfigNestingTooDeep);
  EXPECT_NE(printed_.find("ﾈｽﾃｨﾝｸﾞが深すぎます"), std::string::npos);
  // Under continue every include line is passed over once; the read still ends.
  EXPECT_EQ(Read("#error continue\n#include Vondal.ini\n#include Vondal.ini\n[S]\na=1\n"), 2);
}

TEST_F(ConfigReaderTest, FilesThatCannotBeOpened) {
  table_ = Table();
  EXPECT_EQ(ReadConfig(folder_.path() + "none.ini", table_, output_), kConfigCannotOpen);
  EXPECT_EQ(ReadConfig(folder_.path(), table_, output_), kConfigCannotOpen);  // a folder
  EXPECT_EQ(Read("#include none.ini\n[S]\na=1\n"), kConfigIncludeCannotOpen);
  EXPECT_EQ(Value(0), "<none>");
  EXPECT_EQ(Read("#include /dev/zero\n"), kConfigIncludeCannotOpen);  // never read without end
}

TEST_F(ConfigReaderTest, SectionNamesLongerThan34BytesAreErrors) {
  std::string name32(32, 'N');
  EXPECT_EQ(Read("[" + name32 + "]\n"), kConfigOk);
  EXPECT_EQ(Read("[" + name32 + "X]\n"), kConfigSectionTooLong);
  // Passed over, the long section still takes the keys below it away from [S].
  EXPECT_EQ(Read("#error continue\n[S]\n[" + name32 + "X]\na=lost\n"), 1);
  EXPECT_EQ(Value(0), "<none>");
  // A line ending in the second byte 0x5D of "ゾ" opens no section.
  EXPECT_EQ(Read("[S]\n[ゾ\na=1\n"), kConfigOk);
  EXPECT_EQ(Value(0), "1");
}

TEST_F(ConfigReaderTest, LongLinesAreReadInPiecesWithoutSplittingCharacters) {
  std::string kana;
  for (int i = 0; i < 2500; ++i) kana += "ソ";
  EXPECT_EQ(Read("[S]\na=" + std::string(5000, 'x') + "\nb=" + kana + "\ncaption=next\n"), kConfigOk);
  EXPECT_EQ(Value(0), std::string(1054, 'x'));  // 1,056 bytes less "a="
  EXPECT_EQ(Value(1).size(), 1054u);            // 527 whole characters
  EXPECT_EQ(Value(1), kana.substr(0, 1054));
  EXPECT_EQ(Value(2), "next");
}

TEST_F(ConfigReaderTest, BinaryGarbageAndCtrlZ) {
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919) % 251 + 1);
  garbage[100] = '\0';
  EXPECT_GE(Read(garbage), kConfigSectionTooLong);  // any result, but an answer
  EXPECT_EQ(Read("[S]\na=1\x1A\nb=2\n"), kConfigOk);
  EXPECT_EQ(Value(0), "1");
  EXPECT_EQ(Value(1), "<none>");
  EXPECT_EQ(Read("[S]\na=1\x81\nb=2\n"), kConfigOk);  // a stray lead byte does not eat the line end
  EXPECT_EQ(Value(0), "1\x81");
  EXPECT_EQ(Value(1), "2");
}

TEST_F(ConfigReaderTest, ListModePrintsFilesSectionsAndCaptions) {
  folder_.Write("more.ini", "[SECOND]\ncaption=二つ目\n");
  std::string file = folder_.path() + "Vondal.ini";
  EXPECT_EQ(List("[DEFAULT]\ncaption=既定\n[A]\nCaption=短い\n#include more.ini\n#include gone.ini\n"),
            kConfigIncludeCannotOpen);
  EXPECT_EQ(printed_, "\n\"" + file + "\"\n[DEFAULT]\t既定\n[A]\t\t短い\n \"" + folder_.path() +
                          "more.ini\"\n [SECOND]\t二つ目\n \"" + folder_.path() +
                          "gone.ini\"\n(!) ｵｰﾌﾟﾝできません");
  printed_.clear();
  EXPECT_EQ(ReadConfig(folder_.path() + "none.ini", {}, output_), kConfigCannotOpen);
  EXPECT_EQ(printed_, "\n\"" + folder_.path() + "none.ini\"\n(!) ｵｰﾌﾟﾝできません");
}

}  // namespace
}  // namespace vondal

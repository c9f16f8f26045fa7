#include "tools/scroll/scroll_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tools/scroll/line_colors.h"
#include "tools/scroll/line_reader.h"

namespace vondal::scroll {
namespace {

// The lines of a file as the viewer finds them: read one after another, and each on its own.
std::vector<std::string> Lines(std::string_view content) {
  BlockAllocator allocator(SIZE_MAX, kScrollBlockSize);
  ScrollText text;
  EXPECT_EQ(BuildText(content, '1', "", allocator, &text), "");
  std::vector<std::string> lines;
  for (LineWalker walker(text, 0); !walker.AtEnd(); walker.Next()) {
    lines.emplace_back(walker.line());
    EXPECT_EQ(text.Line(walker.index()), walker.line());
  }
  EXPECT_EQ(lines.size(), text.count());
  return lines;
}

using Strings = std::vector<std::string>;

TEST(LineReader, CrLfAndLfEndLinesAlike) {
  EXPECT_EQ(Lines("a\r\nb\nc"), (Strings{"a", "b", "c"}));
  EXPECT_EQ(Lines("a\n\n"), (Strings{"a", ""}));
  EXPECT_EQ(Lines("a\rb\r\n"), (Strings{"a\rb"}));  // a lone CR is part of the line
  EXPECT_EQ(Lines(""), Strings{});
  EXPECT_EQ(Lines("\n"), Strings{""});
  EXPECT_EQ(Lines(std::string("a\0b\n", 4)), Strings{std::string("a\0b", 3)});
}

TEST(LineReader, AnEndOfFileMarkAtTheVeryEndIsNoLine) {
  EXPECT_EQ(Lines("a\r\n\x1A"), Strings{"a"});
  EXPECT_EQ(Lines("\x1A"), Strings{});
  EXPECT_EQ(Lines("a\x1A"
                  "b\n"),
            Strings{"a\x1A"
                    "b"});
}

TEST(LineReader, EveryLineIsFoundFromItsCheckpoint) {
  std::string content;
  for (int n = 0; n < 200; ++n) content += std::to_string(n) + (n % 3 ? "\r\n" : "\n");
  const std::vector<std::string> lines = Lines(content);
  ASSERT_EQ(lines.size(), 200u);
  EXPECT_EQ(lines[63], "63");
  EXPECT_EQ(lines[64], "64");
  EXPECT_EQ(lines[199], "199");
}

// Line feeds are found a 64-byte block at a time: lines of every length around the blocks'
// edges, ended by LF or CR LF, and a text that ends anywhere in a block, split as plainly as
// cutting at each line feed.
TEST(LineReader, LinesOfEveryLengthAcrossTheBlocks) {
  std::string content;
  Strings expected;
  for (int length = 0; length < 140; ++length) {
    std::string line(length, static_cast<char>('a' + length % 26));
    expected.push_back(line);
    content += line + (length % 2 ? "\r\n" : "\n");
  }
  EXPECT_EQ(Lines(content), expected);
  for (size_t end = content.size() - 130; end < content.size(); ++end) {
    Strings plain;
    std::string_view rest(content.data(), end);
    while (!rest.empty()) {
      const size_t lineFeed = rest.find('\n');
      std::string_view line = rest.substr(0, lineFeed);
      if (line.ends_with('\r')) line.remove_suffix(1);  // also a CR that ends the text
      plain.emplace_back(line);
      rest.remove_prefix(lineFeed == std::string_view::npos ? rest.size() : lineFeed + 1);
    }
    EXPECT_EQ(Lines(content.substr(0, end)), plain) << "text of " << end << " bytes";
  }
}

TEST(LineReader, LongLinesAreCutIntoPiecesOfTheLineBuffer) {
  const std::string exact(kLineBuffer, 'x');
  EXPECT_EQ(Lines(exact + "\n"), Strings{exact});
  const std::string longer(kLineBuffer * 2 + 1, 'y');
  EXPECT_EQ(Lines(longer), (Strings{std::string(kLineBuffer, 'y'), std::string(kLineBuffer, 'y'), "y"}));
  // A two-byte character across the cut goes whole into the next piece.
  const std::string kanji = std::string(kLineBuffer - 1, 'z') + "漢" + "z";
  EXPECT_EQ(Lines(kanji), (Strings{std::string(kLineBuffer - 1, 'z'), "漢z"}));
  // CR LF right after a full line buffer still ends that line.
  EXPECT_EQ(Lines(exact + "\r\nz"), (Strings{exact, "z"}));
  EXPECT_EQ(Lines(exact + "y\r\n"), (Strings{exact, "y"}));
}

ScrollText Build(std::string_view content, char mode, BlockAllocator& allocator,
                 std::string_view letters = "") {
  ScrollText text;
  EXPECT_EQ(BuildText(content, mode, letters, allocator, &text), "");
  return text;
}

std::vector<int> Colors(const ScrollText& text) { return {text.colors.begin(), text.colors.end()}; }

TEST(LineColors, DetectionTakesTheFirstRuleThatMatches) {
  BlockAllocator allocator(SIZE_MAX, kScrollBlockSize);
  EXPECT_EQ(Build("CF@123456A654321\nBx\nx\n", 0, allocator).mode, '0');
  // The comparison header counts only as the first line.
  EXPECT_EQ(Build("x\nCF@123456A654321\n", 0, allocator).mode, 0);
  EXPECT_EQ(Build("x\n[240101][晴]\n<SUMMARYSHEET VERSION=R2.0>\n", 0, allocator).mode, 'd');
  EXPECT_EQ(Build("<SUMMARYSHEET VERSION=R2.0>\n[240101][晴]\n", 0, allocator).mode, 't');
  EXPECT_EQ(Build("plain\ntext\n", 0, allocator).mode, 0);
  // Case counts: the patterns are case-sensitive.
  EXPECT_EQ(Build("<summarysheet version=r2.0>\n", 0, allocator).mode, 0);
  // "<" is searched for ahead of the lines a window at a time: a sheet line far into the text
  // is found behind lines holding "<" that match nothing.
  std::string text;
  while (text.size() < 200 * 1024) text += "<plain> text\n";
  EXPECT_EQ(Build(text + "<SUMMARYSHEET VERSION=R2.0>\n", 0, allocator).mode, 't');
  EXPECT_EQ(Build(std::string(150 * 1024, 'x') + "\n<SUMMARYSHEET VERSION=R2.0>\n", 0, allocator).mode, 't');
}

TEST(LineColors, ModeZeroAndOneMarkLinesStartingWithB) {
  BlockAllocator allocator(SIZE_MAX, kScrollBlockSize);
  const ScrollText text = Build("CF@123456A654321\nBline\nline\n", 0, allocator);
  EXPECT_EQ(Colors(text), (std::vector<int>{7, 6, 7}));
  EXPECT_EQ(Colors(Build("Bx\nx\n", '1', allocator)), (std::vector<int>{6, 7}));
}

TEST(LineColors, AComparisonSwitchesModeZeroToThreeAndColoursTheFileBBlocks) {
  BlockAllocator allocator(SIZE_MAX, kScrollBlockSize);
  const ScrollText text = Build(
      "CF@123456A654321\n"
      "======== fileA line 1 ========\n"
      "a\n"
      "======== fileB line 1 ========\n"
      "b1\n"
      "b2\n"
      "======== fileA line 9 ========\n"
      "a\n",
      0, allocator);
  EXPECT_EQ(text.mode, '3');
  EXPECT_EQ(Colors(text), (std::vector<int>{7, 7, 7, 6, 6, 6, 7, 7}));
  // Mode 1 stays mode 1.
  EXPECT_EQ(Build("======== fileA line 1 ========\n", '1', allocator).mode, '1');
}

TEST(LineColors, DiaryAndSummarySheetRules) {
  BlockAllocator allocator(SIZE_MAX, kScrollBlockSize);
  EXPECT_EQ(Colors(Build("[240101][晴]\n【見出し】\n旅行(写)あり\n献血に行く\n普通の行\n", 'd', allocator)),
            (std::vector<int>{6, 3, 11, 12, 7}));
  EXPECT_EQ(Colors(Build("<CONTESTNAME>\nscore 0\nscore 10\n", 't', allocator)),
            (std::vector<int>{6, 12, 7}));
}

TEST(LineColors, LettersColourTheLinesInModesCAndS) {
  BlockAllocator allocator(SIZE_MAX, kScrollBlockSize);
  const ScrollText c = Build("ra\nKb\n\nxc\n漢字\n", 'c', allocator);
  EXPECT_EQ(Colors(c), (std::vector<int>{4, 8, 7, 7, 7}));
  EXPECT_EQ(c.Line(0), "a");
  EXPECT_EQ(c.Line(3), "c");
  EXPECT_EQ(c.Line(4), "字");  // a two-byte first character goes whole
  EXPECT_EQ(Colors(Build("a\nb\nc\n", 's', allocator, "gY")), (std::vector<int>{2, 14, 7}));
}

class ReadTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() / ("scroll-text-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::string Write(const std::string& name, const std::string& bytes) {
    std::string path = (folder_ / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  std::filesystem::path folder_;
};

TEST_F(ReadTextTest, ReadsTheFileAndTheColourFile) {
  BlockAllocator allocator(SIZE_MAX, kScrollBlockSize);
  ScrollText text;
  ASSERT_EQ(ReadText(Write("a.txt", "x\r\ny\r\n"), 's', Write("a.col", "Rg\r\nignored\n"), allocator, &text),
            "");
  ASSERT_EQ(text.count(), 2u);
  EXPECT_EQ(text.Line(1), "y");
  EXPECT_EQ(Colors(text), (std::vector<int>{12, 2}));
}

TEST_F(ReadTextTest, FilesThatCannotBeReadAreRefused) {
  BlockAllocator allocator(SIZE_MAX, kScrollBlockSize);
  ScrollText text;
  EXPECT_EQ(ReadText((folder_ / "missing").string(), 0, "", allocator, &text), "Can't open text file");
  EXPECT_EQ(ReadText(folder_.string(), 0, "", allocator, &text), "Can't open text file");
  EXPECT_EQ(ReadText("", 0, "", allocator, &text), "Can't open text file");
  EXPECT_EQ(ReadText(Write("b.txt", "x\n"), 's', (folder_ / "none.col").string(), allocator, &text),
            "Can't open color file");
}

TEST_F(ReadTextTest, AnEmptyFileHasNoLines) {
  BlockAllocator allocator(SIZE_MAX, kScrollBlockSize);
  ScrollText text;
  ASSERT_EQ(ReadText(Write("empty.txt", ""), 0, "", allocator, &text), "");
  EXPECT_EQ(text.count(), 0u);
}

TEST(ScrollMemory, RunningOutOfMemoryIsReportedNotACrash) {
  BlockAllocator allocator(1500000, kScrollBlockSize);
  ScrollText text;
  const std::string big(2000000, '\n');
  EXPECT_EQ(BuildText(big, 0, "", allocator, &text), "Malloc failed (oversized)");
  BlockAllocator small(10, kScrollBlockSize);
  EXPECT_EQ(BuildText("a\nb\n", 0, "", small, &text), "Malloc failed");
}

}  // namespace
}  // namespace vondal::scroll

#include "color/color_editor.h"

#include <gtest/gtest.h>

#include <deque>

#include "color/instant_fixes.h"
#include "console/console.h"
#include "console/fake_terminal.h"

namespace vondal {
namespace {

constexpr int kTitle = static_cast<int>(ColorElement::Title);
constexpr int kVersion = static_cast<int>(ColorElement::Version);
const KeyEvent kUp = ExtendedKey(scan::kUp);
const KeyEvent kDown = ExtendedKey(scan::kDown);
const KeyEvent kLeft = ExtendedKey(scan::kLeft);
const KeyEvent kRight = ExtendedKey(scan::kRight);
const KeyEvent kEnter = CharacterKey(13);
const KeyEvent kEsc = CharacterKey(27);
const KeyEvent kTab = CharacterKey(9);

// Hands out the fake terminal's keys and keeps the terminal as it stood before each of them.
class ScreenShots : public KeySource {
 public:
  explicit ScreenShots(FakeTerminal& terminal) : terminal_(terminal) {}
  KeyEvent ReadKey() override {
    shots.push_back(terminal_);
    return terminal_.ReadKey();
  }
  std::vector<FakeTerminal> shots;

 private:
  FakeTerminal& terminal_;
};

class ColorEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AttachConsole(&screen_, &terminal_);
    SetKeySource(&shots_);
    TheConsoleSwitches() = {};
    TheColorEditorMemory() = {};
    // Three sets, the first the standard one: the default set and two copies.
    sets_.Load("E.VDC");
    sets_.Copy(0);
    sets_.Copy(1);
    ASSERT_EQ(sets_.SaveAs("E"), "");
    sets_.Load("E.VDC");
    ASSERT_FALSE(sets_.NeedsSave());
  }
  void TearDown() override {
    SetKeySource(nullptr);
    SetCurrentColorTable(DefaultColorTable());
  }

  void Keys(std::initializer_list<KeyEvent> keys) {
    for (const KeyEvent& key : keys) terminal_.PushKey(key);
  }
  void Keys(std::string_view text) { terminal_.PushKeys(text); }
  uint8_t Attr(int element) const { return sets_.CurrentSet().table[element]; }
  long Changes() const { return counters_[kCountColor]; }

  Screen screen_{80, 25};
  FakeTerminal terminal_{80, 25};
  ScreenShots shots_{terminal_};
  MemoryFileSystem fs_;
  WriteCounters counters_;
  ColorSets sets_{fs_, counters_};

  // What the string editor would have left: the typed texts and the keys that ended them.
  std::deque<std::optional<std::string>> lines_;
  std::deque<std::pair<std::string, int>> fields_;
  std::vector<std::string> errors_;
  ColorEditorContext context_{
      sets_,
      [this](std::string_view, std::string_view, size_t) {
        std::optional<std::string> line = lines_.front();
        lines_.pop_front();
        return line;
      },
      [this](std::string& text, int, int, int, size_t) {
        auto [typed, exit] = fields_.front();
        fields_.pop_front();
        text = typed;
        return exit;
      },
      [this](std::string_view text) { errors_.emplace_back(text); },
      [] {
        return std::array<uint8_t, 3>{26, 12, 24};
      },
  };
};

TEST_F(ColorEditorTest, CursorWrapsAtTheGridsEdgesAndIsKeptForTheNextEntry) {
  TheColorEditorMemory().element = 60;
  Keys({kRight, kTab});
  EXPECT_EQ(RunColorEditor(context_), 9);
  EXPECT_EQ(TheColorEditorMemory().element, 5);
  Keys({kLeft, kDown, kDown, kDown, kDown, kDown, kDown, CharacterKey(':')});  // 60 … 65, 0
  EXPECT_EQ(RunColorEditor(context_), ':');
  EXPECT_EQ(TheColorEditorMemory().element, 0);
  Keys({kUp, kRight, kLeft, CharacterKey('^')});  // 65, 10 (first column), 65 (the last, clamped)
  EXPECT_EQ(RunColorEditor(context_), '^');
  EXPECT_EQ(TheColorEditorMemory().element, 65);
  Keys({kEnter});
  EXPECT_EQ(RunColorEditor(context_), 'e');
}

TEST_F(ColorEditorTest, BrightBitsPickAndApplyChangeTheSetAndItsDate) {
  Keys("P");  // nothing picked yet: nothing happens
  Keys("FBC");
  Keys({kDown});
  Keys("P");
  Keys({kTab});
  RunColorEditor(context_);
  EXPECT_EQ(Attr(kTitle), 0x79);
  EXPECT_EQ(Attr(kVersion), 0x79);
  EXPECT_EQ(CurrentColorTable()[kVersion], 0x79);
  EXPECT_EQ(sets_.CurrentSet().date, (std::array<uint8_t, 3>{26, 12, 24}));
  EXPECT_EQ(Changes(), 3);
  // The first P left the set as it was, date and all.
  EXPECT_NE(shots_.shots[1].Dump().find("160303"), std::string::npos);
  // Each element is drawn in its own attribute, the set line in the set's colours.
  EXPECT_EQ(terminal_.Attr(3, 3), 0x79);
  EXPECT_NE(terminal_.Row(13).find("261224"), std::string::npos);
  EXPECT_EQ(terminal_.Attr(13, 73), ColorOf(ColorElement::Date));
}

TEST_F(ColorEditorTest, PaletteEscTakesTheChoiceBackAndEnterKeepsIt) {
  Keys(" ");
  Keys({kRight, kDown, kEsc});
  Keys(" ");
  Keys({kRight, kDown});
  Keys("F");
  Keys({kEnter, kTab});
  RunColorEditor(context_);
  // While the palette is open the element shows the combination under the cursor.
  EXPECT_EQ(shots_.shots[3].Attr(2, 3), 0x82);
  EXPECT_EQ(shots_.shots[4].Attr(2, 3), 0xF1);  // Esc took it back
  EXPECT_EQ(Attr(kTitle), 0x8A);  // foreground 1 → 2 and bright, background 7 → 0, still bright
  EXPECT_EQ(Changes(), 1);
}

TEST_F(ColorEditorTest, InstantFixesOfferOnlyWhatWouldChange) {
  EXPECT_FALSE(InstantFixChanges(0, DefaultColorTable()));  // eEdgeEnd is black already
  EXPECT_TRUE(InstantFixChanges(1, DefaultColorTable()));
  Keys("I0I");
  Keys("A");
  Keys({kTab});
  RunColorEditor(context_);
  const std::string list = shots_.shots[1].Dump();
  EXPECT_NE(list.find("     編集後ﾌｨｰﾙﾄﾞ両端(eEdgeEnd)を黒に"), std::string::npos);
  EXPECT_NE(list.find("   1 ｺﾝﾄﾛｰﾙｺｰﾄﾞ"), std::string::npos);
  EXPECT_NE(list.find("(番号のないものは適用済み)"), std::string::npos);
  const ColorTable& t = sets_.CurrentSet().table;
  EXPECT_EQ(t[static_cast<int>(ColorElement::CtrlCode)], 0x0A);
  EXPECT_EQ(t[static_cast<int>(ColorElement::mCtrlEnd)], 0x02);
  EXPECT_EQ(t[static_cast<int>(ColorElement::eMenuKey)], 0x0A);  // offered, and applied after fix 1
  EXPECT_EQ(Changes(), 1);                                       // "0" changed nothing
}

TEST_F(ColorEditorTest, SetListCopiesDeletesAndMovesWithTheNumbersFollowing) {
  sets_.Select(1);  // entered with set 1 in use; set 0 is the standard set
  Keys("L");
  Keys({kUp});
  Keys("D");  // the standard set, though not in use
  Keys({kDown});
  Keys("D");  // the set in use
  Keys({kDown});
  Keys("C");  // set 2 copied to 3, the cursor on the copy
  Keys({ExtendedKey(scan::kCtrlUp)});
  Keys("U");                               // the copy, now set 2, becomes the standard set
  Keys({ExtendedKey(scan::kDown, true)});  // Shift: the last set
  Keys("D");
  Keys({kEnter});  // set 3 (the old set 2) deleted
  Keys({kEsc, kTab});
  RunColorEditor(context_);
  EXPECT_EQ(errors_,
            (std::vector<std::string>{"標準の色ｾｯﾄは削除できません", "使用中の色ｾｯﾄは削除できません"}));
  ASSERT_EQ(sets_.count(), 3);
  EXPECT_EQ(sets_.Set(2).name, "Copy2~白馬岳の頂に憩う（規定色セット）");
  EXPECT_EQ(sets_.standard(), 2);
  EXPECT_EQ(sets_.current(), 1);  // Esc: back to the set in use on entry
  EXPECT_EQ(Changes(), 4);
}

TEST_F(ColorEditorTest, SetListEnterKeepsTheSetUnderTheCursor) {
  Keys("L");
  Keys({kDown, kDown, kEnter, kTab});
  RunColorEditor(context_);
  EXPECT_EQ(sets_.current(), 2);
  EXPECT_EQ(CurrentColorTable(), sets_.Set(2).table);
  EXPECT_EQ(Changes(), 0);  // which set is in use is no change of the file
}

TEST_F(ColorEditorTest, NameBoxChecksTheDateAndEscCancelsEverything) {
  TheConsoleSwitches().authorsuse = true;
  Keys("N");
  fields_ = {{"変えた名前", 27}};
  Keys("N");
  fields_.push_back({"新しい名前", kExtendedKey + scan::kDown});
  fields_.push_back({"JA9XYZ", kExtendedKey + scan::kDown});
  fields_.push_back({"261399", 13});  // no 99th month
  fields_.push_back({"261224", 13});  // the date field again
  Keys({kTab});
  RunColorEditor(context_);
  EXPECT_EQ(errors_, std::vector<std::string>{"日付が不正です"});
  EXPECT_EQ(sets_.CurrentSet().name, "新しい名前");
  EXPECT_EQ(sets_.CurrentSet().author, "JA9XYZ");
  EXPECT_EQ(sets_.CurrentSet().date, (std::array<uint8_t, 3>{26, 12, 24}));
  EXPECT_EQ(Changes(), 1);
  EXPECT_TRUE(fields_.empty());
}

TEST_F(ColorEditorTest, FileMenuJoinsRestoresAndLeaves) {
  ColorSets other(fs_, counters_);
  other.Load("missing");
  other.CurrentSet().name = "他局の配色";
  ASSERT_EQ(other.SaveAs("OTHER"), "");
  counters_[kCountColor] = 0;

  Keys("F");
  Keys({kEsc});
  Keys("B");
  Keys({kEnter});  // restored: the set as it was on entry
  Keys({kEsc});
  Keys("J");
  lines_ = {"OTHER", "NOPE", ""};
  Keys({kEsc});
  Keys("J");
  Keys({kEsc});
  Keys("A");  // an empty name: nothing written
  Keys({kEsc});
  Keys("Q");
  EXPECT_EQ(RunColorEditor(context_), 0);
  EXPECT_EQ(Attr(kTitle), 0xF1);
  ASSERT_EQ(sets_.count(), 4);
  EXPECT_EQ(sets_.Set(3).name, "他局の配色");
  EXPECT_EQ(errors_, std::vector<std::string>{"ｵｰﾌﾟﾝできません"});
  // Source export only in developer mode: "C" does nothing without it.
  Keys({kEsc});
  Keys("C");
  Keys({kEsc, kEnter});
  EXPECT_EQ(RunColorEditor(context_), 'e');
  EXPECT_TRUE(lines_.empty());
}

}  // namespace
}  // namespace vondal

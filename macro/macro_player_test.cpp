#include "macro/macro_player.h"

#include "macro/edit_error.h"
#include "macro/editor_test_fixture.h"
#include "macro/player_key_source.h"

namespace vondal {
namespace {

using ::testing::StartsWith;

class MacroPlayerTest : public EditorTest {
 protected:
  MacroPlayer& player() { return ThePlayer(); }
  int Read(InputMode mode = InputMode::kEdit) { return player().ReadKey(state_, mode); }
  // Every key byte of `text` as the player hands them out.
  std::string PlayAll(std::string text) {
    played_.push_back(std::move(text));  // a macro text stays in place while it plays
    player().StartMacro(state_, played_.back().c_str());
    std::string keys;
    while (player().Playing()) keys.push_back(static_cast<char>(Read()));
    return keys;
  }

  std::deque<std::string> played_;
};

TEST_F(MacroPlayerTest, LabelsCommentsAndNoOpsAreSkipped) {
  EXPECT_EQ(PlayAll(Keys("a^LLb")), "ab");
  EXPECT_EQ(PlayAll(Keys("^L日ab")), "ab");  // a label at the start, with a two-byte name
  EXPECT_EQ(PlayAll(Keys("a^\\13^\\b")), "ab");
  EXPECT_EQ(PlayAll(Keys("a^\\abc")), "a");  // without a second 28: the rest is a comment
  EXPECT_EQ(PlayAll(Keys("a^_^_b^_")), "ab");
  EXPECT_EQ(PlayAll(Keys("a^Sb")), "a");
}

TEST_F(MacroPlayerTest, EndReturnsToTheCallerAndStopEndsAll) {
  player().StartMacro(state_, "xy");
  std::string keys(1, static_cast<char>(Read()));
  keys += PlayAll(Keys("a^Sb"));
  EXPECT_EQ(keys, "xay");
  player().StartMacro(state_, "xy");
  keys.assign(1, static_cast<char>(Read()));
  keys += PlayAll(Keys("a^Tb"));
  EXPECT_EQ(keys, "xa");
}

TEST_F(MacroPlayerTest, EightSuspendedMacrosAtMost) {
  // A macro started by the last byte of another takes no level.
  for (int i = 0; i < 20; ++i) EXPECT_EQ(PlayAll("a"), "a");
  // Nine macros each started in the middle of the one before: the ninth fails and all stop.
  for (int i = 0; i < 8; ++i) {
    player().StartMacro(state_, "ab");
    EXPECT_EQ(Read(), 'a');
  }
  EXPECT_EQ(player().Depth(), 7);
  player().StartMacro(state_, "ab");
  EXPECT_EQ(player().Depth(), 8);
  EXPECT_EQ(Read(), 'a');
  const int bells = terminal_.bells();
  player().StartMacro(state_, "ab");
  EXPECT_FALSE(player().Playing());
  EXPECT_THAT(MessageLine(), StartsWith("ﾏｸﾛのﾈｽﾃｨﾝｸﾞ超過です"));
  EXPECT_EQ(MessageLine().substr(28, 7), "ﾏｸﾛ中断");
  EXPECT_EQ(terminal_.bells(), bells + 1);
}

TEST_F(MacroPlayerTest, PauseWaitsAndEscAborts) {
  keyboard_.keys = {CharacterKey('z'), CharacterKey(0x1B), CharacterKey('q')};
  EXPECT_EQ(PlayAll(Keys("a^Pb")), "ab");
  EXPECT_THAT(keyboard_.MessageLineAt(0), StartsWith("ﾏｸﾛ･ﾎﾟｰｽﾞ"));
  EXPECT_EQ(MessageLine(), std::string(80, ' '));

  macro_ = Keys("a^Pbc");
  player().StartMacro(state_, macro_.c_str());
  EXPECT_EQ(Read(), 'a');
  EXPECT_EQ(Read(InputMode::kRaw), 'q');  // Esc at the pause: nothing more of the macro
  EXPECT_EQ(keyboard_.MessageLineAt(2).substr(28, 7), "ﾏｸﾛ中断");
  EXPECT_FALSE(player().Playing());
}

TEST_F(MacroPlayerTest, EscTypedWhileAMacroPlaysStopsItAndOtherKeysWaitTheirTurn) {
  // A macro that never ends (as one calling itself through its label) gives way to Esc.
  macro_ = std::string(100000, 'a');
  keyboard_.typedAhead = true;
  keyboard_.keys = {CharacterKey('x'), CharacterKey(0x1B), CharacterKey('y')};
  player().StartMacro(state_, macro_.c_str());
  int played = 0;
  int key;
  while ((key = player().ReadCommandKey(state_, InputMode::kEdit)) == 'a' && played < 100000) ++played;
  EXPECT_LT(played, 5000);
  EXPECT_FALSE(player().Playing());
  EXPECT_EQ(key, 'y');  // 'x' was typed for the macro given up on
  EXPECT_EQ(keyboard_.MessageLineAt(keyboard_.screens.size() - 1).substr(28, 7), "ﾏｸﾛ中断");

  // Without an Esc the macro plays to its end, and what was typed meanwhile follows in order.
  keyboard_.keys = {CharacterKey('1'), CharacterKey('2')};
  macro_ = std::string(10000, 'b');
  player().StartMacro(state_, macro_.c_str());
  std::string keys;
  while (player().Playing())
    keys.push_back(static_cast<char>(player().ReadCommandKey(state_, InputMode::kEdit)));
  EXPECT_EQ(keys, macro_);
  EXPECT_TRUE(keyboard_.keys.empty());  // looked at, and held for after the macro
  EXPECT_EQ(Read(InputMode::kRaw), '1');
  EXPECT_EQ(Read(InputMode::kRaw), '2');
}

// A regression: Esc stopped a macro between a command and its parameter, and the keys typed
// next became the parameter. Now the macro stops before a command: what is typed acts as typed.
TEST_F(MacroPlayerTest, EscStopsAMacroBetweenCommandsNeverInsideOne) {
  std::string moves;
  for (int i = 0; i < 50000; ++i) moves += Keys("^C+");  // cursor right, two bytes a command
  macro_ = moves;
  state_.text.clear();
  state_.cursor = 0;
  keyboard_.typedAhead = true;
  keyboard_.keys = {CharacterKey(0x1B)};
  keyboard_.Type("12345");
  keyboard_.keys.push_back(ExtendedKey(scan::kLeft, true));
  keyboard_.Type("x");
  keyboard_.keys.push_back(CharacterKey(0x1B));  // leaves the editor
  player().StartMacro(state_, macro_.c_str());
  EXPECT_EQ(Edit(state_), 27);
  EXPECT_FALSE(player().Playing());
  EXPECT_EQ(state_.text, "x12345");  // Shift+Left took the cursor to the head
}

// Reads that are not a command's first byte never stop the macro, however long it plays.
TEST_F(MacroPlayerTest, EscWaitsForTheNextCommandRead) {
  macro_ = std::string(10000, 'a');
  keyboard_.typedAhead = true;
  keyboard_.keys = {CharacterKey(0x1B), CharacterKey('y')};
  player().StartMacro(state_, macro_.c_str());
  for (int i = 0; i < 6000; ++i) ASSERT_EQ(Read(), 'a');
  EXPECT_EQ(player().ReadCommandKey(state_, InputMode::kEdit), 'y');
  EXPECT_FALSE(player().Playing());
}

TEST_F(MacroPlayerTest, AltHeldAtTheStartAbortsAndTheSilentAbortDoesNotBeep) {
  const int bells = terminal_.bells();
  RememberKey(CharacterKey('x', false, false, true));
  player().StartMacro(state_, "abc");
  EXPECT_FALSE(player().Playing());
  EXPECT_EQ(MessageLine().substr(28, 7), "ﾏｸﾛ中断");
  EXPECT_EQ(terminal_.bells(), bells + 1);

  RememberKey(KeyEvent{});
  player().StartMacro(state_, "abc");
  ShowEditError(state_, EditError::kSilentAbort);
  EXPECT_FALSE(player().Playing());
  EXPECT_EQ(terminal_.bells(), bells + 1);

  player().StartMacro(state_, "abc");
  ShowMessage("書込禁止です", state_);
  EXPECT_FALSE(player().Playing());
  EXPECT_THAT(MessageLine(), StartsWith("書込禁止です"));
  EXPECT_EQ(terminal_.bells(), bells + 2);
}

TEST_F(MacroPlayerTest, RecordingTheKeyMacro) {
  keyboard_.keys = {CharacterKey(0x11), CharacterKey('a'),  CharacterKey('b'),  ExtendedKey(scan::kLeft),
                    CharacterKey(0x01), CharacterKey(0x11), CharacterKey(0x1B), CharacterKey(13)};
  Edit(state_);
  EXPECT_EQ(player().KeyMacro(), Keys("ab^C-^Ba"));
  EXPECT_THAT(keyboard_.MessageLineAt(1), StartsWith("ｷｰﾏｸﾛ 255"));
  EXPECT_THAT(keyboard_.MessageLineAt(5), StartsWith("ｷｰﾏｸﾛ 249"));
  EXPECT_TRUE(player().MacroUsed());

  // Shift with Left and Backspace, a pause; then Home plays the key macro.
  state_.text.clear();
  keyboard_.keys = {CharacterKey(0x11),    ExtendedKey(scan::kLeft, true),
                    CharacterKey(8, true), CharacterKey(0x10),
                    CharacterKey(0x11),    CharacterKey(13)};
  Edit(state_);
  EXPECT_EQ(player().KeyMacro(), Keys("^C<^DB^P"));
  keyboard_.keys = {CharacterKey(0x11), CharacterKey('x'),        CharacterKey('y'),
                    CharacterKey(0x11), ExtendedKey(scan::kHome), CharacterKey(13)};
  Edit(state_);
  EXPECT_EQ(state_.text, "xyxy");

  // Where recording is not possible, Ctrl+Q and Home only beep.
  player().SetRecordingState(kRecordingNotPossible);
  const int bells = terminal_.bells();
  keyboard_.keys = {CharacterKey(0x11), ExtendedKey(scan::kHome), CharacterKey(13)};
  Edit(state_);
  EXPECT_EQ(state_.text, "xyxy");
  EXPECT_EQ(terminal_.bells(), bells + 2);
}

TEST_F(MacroPlayerTest, AFullKeyMacroNeverSplitsACodeFromItsParameter) {
  keyboard_.keys = {CharacterKey(0x11)};
  for (int i = 0; i < 254; ++i) keyboard_.keys.push_back(CharacterKey('a'));
  keyboard_.keys.push_back(ExtendedKey(scan::kLeft));
  for (int i = 0; i < 254; ++i) EXPECT_EQ(Read(), 'a');
  EXPECT_EQ(Read(), 3);  // refused for the key macro, still handed to its reader
  EXPECT_EQ(Read(), '-');
  EXPECT_EQ(player().RecordedBytes(), 254);
  EXPECT_FALSE(player().Recording());
  EXPECT_THAT(MessageLine(), StartsWith("ｷｰﾏｸﾛが溢れます"));

  keyboard_.keys = {CharacterKey(0x11)};
  for (int i = 0; i < 256; ++i) keyboard_.keys.push_back(CharacterKey('b'));
  for (int i = 0; i < 256; ++i) Read();
  EXPECT_EQ(player().RecordedBytes(), kKeyMacroCapacity);
  EXPECT_EQ(std::string(player().KeyMacro()), std::string(255, 'b'));
}

TEST_F(MacroPlayerTest, AParameterComesBeforeAMacroStartedMeanwhile) {
  keyboard_.keys = {ExtendedKey(scan::kRight)};
  EXPECT_EQ(Read(), 3);
  player().StartMacro(state_, "z");
  EXPECT_EQ(Read(), '+');
  EXPECT_EQ(Read(), 'z');
}

TEST_F(MacroPlayerTest, MenusReadWholeKeysThroughThePlayer) {
  PlayerKeySource source;
  player().StartMacro(state_, "\xFF\x3B日q");
  EXPECT_EQ(source.ReadKey().code, kExtendedKey + scan::kF1);
  EXPECT_EQ(source.ReadKey().code, 0x93FA);
  EXPECT_EQ(source.ReadKey().upper, 'Q');
  // Typed keys keep their modifiers; Home beeps where the key macro cannot play.
  player().SetRecordingState(kRecordingNotPossible);
  const int bells = terminal_.bells();
  keyboard_.keys = {ExtendedKey(scan::kHome), ExtendedKey(scan::kUp, true)};
  KeyEvent key = source.ReadKey();
  EXPECT_EQ(key.code, kExtendedKey + scan::kUp);
  EXPECT_TRUE(key.shift);
  EXPECT_EQ(terminal_.bells(), bells + 1);
}

}  // namespace
}  // namespace vondal

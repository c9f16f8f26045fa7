#include "console/key_decoder.h"

#include <gtest/gtest.h>

#include <string>

namespace vondal {
namespace {

struct Case {
  const char* name;
  std::string bytes;
  int code;
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

constexpr int X = kExtendedKey;

// Every spelling doc/keys.md lists, with the key event it must give.
const Case kKeyTable[] = {
    {"Enter", "\r", 13},
    {"Tab", "\t", 9},
    {"Backspace DEL", "\x7f", 8},
    {"Backspace BS", "\x08", 8},
    {"Space", " ", 32},
    {"Ctrl+A", "\x01", 1, false, true},
    {"Ctrl+Z", "\x1a", 26, false, true},
    {"Ctrl+C", "\x03", 3, false, true},
    {"Ctrl+backslash", "\x1c", 0x1c, false, true},
    {"Ctrl+]", "\x1d", 0x1d, false, true},
    {"q", "q", 'q'},
    {"Up CSI", "\x1b[A", X + 0x48},
    {"Down CSI", "\x1b[B", X + 0x50},
    {"Right CSI", "\x1b[C", X + 0x4D},
    {"Left CSI", "\x1b[D", X + 0x4B},
    {"Up SS3", "\x1bOA", X + 0x48},
    {"Left SS3", "\x1bOD", X + 0x4B},
    {"Shift+Up", "\x1b[1;2A", X + 0x48, true},
    {"Shift+Down", "\x1b[1;2B", X + 0x50, true},
    {"Ctrl+Up", "\x1b[1;5A", X + 0x8D, false, true},
    {"Ctrl+Down", "\x1b[1;5B", X + 0x91, false, true},
    {"Ctrl+Left", "\x1b[1;5D", X + 0x73, false, true},
    {"Ctrl+Right", "\x1b[1;5C", X + 0x74, false, true},
    {"Ctrl+Shift+Left", "\x1b[1;6D", X + 0x73, true, true},
    {"Alt+Up", "\x1b[1;3A", X + 0x98, false, false, true},
    {"Home CSI H", "\x1b[H", X + 0x47},
    {"Home SS3 H", "\x1bOH", X + 0x47},
    {"Home CSI 1~", "\x1b[1~", X + 0x47},
    {"Home CSI 7~", "\x1b[7~", X + 0x47},
    {"End CSI F", "\x1b[F", X + 0x4F},
    {"End SS3 F", "\x1bOF", X + 0x4F},
    {"End CSI 4~", "\x1b[4~", X + 0x4F},
    {"End CSI 8~", "\x1b[8~", X + 0x4F},
    {"Ctrl+Home", "\x1b[1;5H", X + 0x77, false, true},
    {"Ctrl+End", "\x1b[1;5F", X + 0x75, false, true},
    {"Shift+Home", "\x1b[1;2H", X + 0x47, true},
    {"Ins", "\x1b[2~", X + 0x52},
    {"Del", "\x1b[3~", X + 0x53},
    {"PgUp", "\x1b[5~", X + 0x49},
    {"PgDn", "\x1b[6~", X + 0x51},
    {"Shift+Ins", "\x1b[2;2~", X + 0x52, true},
    {"Shift+Del", "\x1b[3;2~", X + 0x53, true},
    {"Ctrl+Ins", "\x1b[2;5~", X + 0x92, false, true},
    {"Ctrl+Del", "\x1b[3;5~", X + 0x93, false, true},
    {"Shift+PgUp", "\x1b[5;2~", X + 0x49, true},
    {"Ctrl+PgUp", "\x1b[5;5~", X + 0x84, false, true},
    {"Ctrl+PgDn", "\x1b[6;5~", X + 0x76, false, true},
    {"F1 SS3", "\x1bOP", X + 0x3B},
    {"F2 SS3", "\x1bOQ", X + 0x3C},
    {"F3 SS3", "\x1bOR", X + 0x3D},
    {"F4 SS3", "\x1bOS", X + 0x3E},
    {"F1 CSI 11~", "\x1b[11~", X + 0x3B},
    {"F3 kitty CSI 13~", "\x1b[13~", X + 0x3D},
    {"F5", "\x1b[15~", X + 0x3F},
    {"F6", "\x1b[17~", X + 0x40},
    {"F7", "\x1b[18~", X + 0x41},
    {"F8", "\x1b[19~", X + 0x42},
    {"F9", "\x1b[20~", X + 0x43},
    {"F10", "\x1b[21~", X + 0x44},
    {"F11", "\x1b[23~", X + 0x85},
    {"F12", "\x1b[24~", X + 0x86},
    {"Shift+F1", "\x1b[1;2P", X + 0x54, true},
    {"Shift+F2", "\x1b[1;2Q", X + 0x55, true},
    {"Shift+F3", "\x1b[1;2R", X + 0x56, true},
    {"Shift+F4", "\x1b[1;2S", X + 0x57, true},
    {"Shift+F5", "\x1b[15;2~", X + 0x58, true},
    {"Shift+F8", "\x1b[19;2~", X + 0x5B, true},
    {"Shift+F1 SS3 digit", "\x1bO2P", X + 0x54, true},
    {"Shift+F1 as F13", "\x1b[25~", X + 0x54, true},
    {"Shift+F8 as F20", "\x1b[34~", X + 0x5B, true},
    {"Shift+F11", "\x1b[23;2~", X + 0x87, true},
    {"Ctrl+F1", "\x1b[1;5P", X + 0x5E, false, true},
    {"F1 Linux console", "\x1b[[A", X + 0x3B},
    {"F5 Linux console", "\x1b[[E", X + 0x3F},
    {"Shift+Tab", "\x1b[Z", 9, true},
    {"rxvt Shift+Up", "\x1b[a", X + 0x48, true},
    {"rxvt Ctrl+Up", "\x1bOa", X + 0x8D, false, true},
    {"rxvt Ctrl+Down", "\x1bOb", X + 0x91, false, true},
    {"rxvt Shift+Home", "\x1b[7$", X + 0x47, true},
    {"rxvt Ctrl+Ins", "\x1b[2^", X + 0x92, false, true},
    {"Alt+Up (meta Esc)", "\x1b\x1b[A", X + 0x98, false, false, true},
    {"kitty Esc", "\x1b[27u", 27},
    {"kitty Shift+Enter", "\x1b[13;2u", 13, true},
    {"kitty Shift+Backspace", "\x1b[127;2u", 8, true},
    {"kitty Shift+Tab", "\x1b[9;2u", 9, true},
    {"kitty Ctrl+a", "\x1b[97;5u", 1, false, true},
    {"kitty Shift+a", "\x1b[97;2u", 'A', true},
    {"kitty press event", "\x1b[13;2:1u", 13, true},
    {"kitty alternate keys", "\x1b[97:65;2u", 'A', true},
    {"modifyOtherKeys Shift+Enter", "\x1b[27;2;13~", 13, true},
    {"modifyOtherKeys Shift+Backspace", "\x1b[27;2;127~", 8, true},
    {"modifyOtherKeys Shift+Tab", "\x1b[27;2;9~", 9, true},
    {"modifyOtherKeys Ctrl+Enter", "\x1b[27;5;13~", 13, false, true},
    {"UTF-8 kanji 漢 (CP932 8ABF)", "\xE6\xBC\xA2", 0x8ABF},
    {"UTF-8 hiragana あ (CP932 82A0)", "\xE3\x81\x82", 0x82A0},
    {"UTF-8 half-width katakana ｱ (CP932 B1)", "\xEF\xBD\xB1", 0xB1},
    {"UTF-8 □ (CP932 81A0)", "\xE2\x96\xA1", 0x81A0},
    {"UTF-8 full-width Ａ (CP932 8260)", "\xEF\xBC\xA1", 0x8260},
};

TEST(KeyDecoder, DecodesEveryKeyOfTheTable) {
  for (const Case& c : kKeyTable) {
    SCOPED_TRACE(c.name);
    DecodeResult result = DecodeKey(c.bytes);
    ASSERT_EQ(result.status, DecodeStatus::kKey);
    EXPECT_EQ(result.length, c.bytes.size());
    EXPECT_EQ(result.key.code, c.code);
    EXPECT_EQ(result.key.shift, c.shift);
    EXPECT_EQ(result.key.ctrl, c.ctrl);
    EXPECT_EQ(result.key.alt, c.alt);
  }
}

TEST(KeyDecoder, EventFieldsFollowTheConsoleForm) {
  KeyEvent q = DecodeKey("q").key;
  EXPECT_EQ(q.code, 0x71);
  EXPECT_EQ(q.upper, 0x51);
  KeyEvent f1 = DecodeKey("\x1bOP").key;
  EXPECT_EQ(f1.first, 0);
  EXPECT_EQ(f1.second, 0x3B);
  EXPECT_EQ(f1.upper, 0xFF3B);
  KeyEvent kanji = DecodeKey("\xE6\xBC\xA2").key;
  EXPECT_EQ(kanji.first, 0x8A);
  EXPECT_EQ(kanji.second, 0xBF);
  EXPECT_EQ(kanji.upper, kanji.code);
}

TEST(KeyDecoder, OnlyTheFirstKeyOfSeveralIsTaken) {
  DecodeResult result = DecodeKey("\x1b[Aq");
  EXPECT_EQ(result.status, DecodeStatus::kKey);
  EXPECT_EQ(result.length, 3u);
  result = DecodeKey("ab");
  EXPECT_EQ(result.length, 1u);
}

TEST(KeyDecoder, UnfinishedSequencesAskForMoreUntilTheWaitIsOver) {
  for (std::string partial : {"\x1b", "\x1b[", "\x1b[1;", "\x1b[1;5", "\x1bO", "\x1b[[", "\xE6", "\xE6\xBC",
                              "\x1b\x1b", "\x1b\x1b[1"}) {
    SCOPED_TRACE(partial);
    EXPECT_EQ(DecodeKey(partial).status, DecodeStatus::kNeedMore);
    EXPECT_NE(DecodeKey(partial, true).status, DecodeStatus::kNeedMore);
    EXPECT_GT(DecodeKey(partial, true).length, 0u);
  }
  // After the wait a lone Esc is the Esc key, and so is the Esc of Esc "[" (the "[" comes
  // next); a cut sequence is dropped.
  EXPECT_EQ(DecodeKey("\x1b", true).key.code, 27);
  DecodeResult escBracket = DecodeKey("\x1b[", true);
  EXPECT_EQ(escBracket.key.code, 27);
  EXPECT_EQ(escBracket.length, 1u);
  DecodeResult cut = DecodeKey("\x1b[1;5", true);
  EXPECT_EQ(cut.status, DecodeStatus::kInvalid);
  EXPECT_EQ(cut.length, 5u);
  EXPECT_EQ(DecodeKey("\xE6\xBC", true).status, DecodeStatus::kInvalid);
}

// The menus open with Esc and read the key after it (Esc ! in the main menu): typed fast, over a
// slow link or ahead of the program, both arrive in one read and must still be two keys.
TEST(KeyDecoder, EscFollowedByAByteThatBeginsNoSequenceIsTwoKeys) {
  struct Typed {
    std::string bytes;
    bool atEnd;
  };
  for (const Typed& typed : std::initializer_list<Typed>{{"\x1b!", false},
                                                         {"\x1b?", false},
                                                         {"\x1bq", false},
                                                         {"\x1b\x45", false},  // Esc E
                                                         {"\x1b\r", false},
                                                         {"\x1b\x7f", false},
                                                         {"\x1b\xE3\x81\x82", false},  // あ
                                                         {"\x1b\xE3", false},  // the rest of あ not read yet
                                                         {"\x1b[", true},
                                                         {"\x1bO", true},
                                                         {"\x1b[\r", false},
                                                         {"\x1b[x", false},
                                                         {"\x1bOq", false},
                                                         {"\x1b\x1bx", false}}) {
    SCOPED_TRACE(typed.bytes);
    DecodeResult esc = DecodeKey(typed.bytes, typed.atEnd);
    ASSERT_EQ(esc.status, DecodeStatus::kKey);
    EXPECT_EQ(esc.length, 1u);
    EXPECT_EQ(esc.key.code, 27);
    EXPECT_FALSE(esc.key.alt);
  }
  DecodeResult next = DecodeKey(std::string_view("\x1b!").substr(1));
  EXPECT_EQ(next.key.code, '!');
  EXPECT_FALSE(next.key.alt);
  // Alt is still told where the terminal spells it: the enhanced modes and rxvt's Esc before a
  // sequence.
  EXPECT_TRUE(DecodeKey("\x1b[1;3A").key.alt);
  EXPECT_TRUE(DecodeKey("\x1b[97;3u").key.alt);
  EXPECT_TRUE(DecodeKey("\x1b\x1b[A").key.alt);
}

TEST(KeyDecoder, GarbageIsDroppedAndTheRestStillDecodes) {
  // Unknown but well-formed sequences are dropped whole.
  EXPECT_EQ(DecodeKey("\x1b[99~").status, DecodeStatus::kInvalid);
  EXPECT_EQ(DecodeKey("\x1b[99~").length, 5u);
  EXPECT_EQ(DecodeKey("\x1b[1;2X").status, DecodeStatus::kInvalid);
  // A control byte inside a sequence ends it; that byte is a key of its own afterwards.
  DecodeResult broken = DecodeKey("\x1b[1\r");
  EXPECT_EQ(broken.status, DecodeStatus::kInvalid);
  EXPECT_EQ(broken.length, 3u);
  // Invalid UTF-8: stray continuation bytes, overlong forms, a lead without its trail.
  EXPECT_EQ(DecodeKey("\x80").status, DecodeStatus::kInvalid);
  EXPECT_EQ(DecodeKey("\xC0\xAF").status, DecodeStatus::kInvalid);
  EXPECT_EQ(DecodeKey("\xE0\x80\xAF").status, DecodeStatus::kInvalid);
  EXPECT_EQ(DecodeKey("\xE6q").status, DecodeStatus::kInvalid);
  EXPECT_EQ(DecodeKey("\xE6q").length, 1u);
  EXPECT_EQ(DecodeKey("\xFF").status, DecodeStatus::kInvalid);
  // A Shift-JIS lead byte from a terminal that does not speak UTF-8 is not a key either.
  EXPECT_EQ(DecodeKey("\x8A\xBF").status, DecodeStatus::kInvalid);
  // An endless parameter list is cut off instead of being waited for.
  std::string endless = "\x1b[" + std::string(100, '1');
  EXPECT_EQ(DecodeKey(endless).status, DecodeStatus::kInvalid);
  EXPECT_EQ(DecodeKey(std::string(1, '\0')).status, DecodeStatus::kInvalid);
}

TEST(KeyDecoder, CharactersCp932CannotHoldAreRefused) {
  EXPECT_EQ(DecodeKey("\xF0\x9F\x98\x80").status, DecodeStatus::kUnmappable);  // an emoji
  EXPECT_EQ(DecodeKey("\xF0\x9F\x98\x80").length, 4u);
  EXPECT_EQ(DecodeKey("\xC3\xA9").status, DecodeStatus::kUnmappable);  // é
  EXPECT_EQ(DecodeKey("?").key.code, '?');
}

TEST(KeyDecoder, TerminalRepliesAreToldFromKeys) {
  EXPECT_EQ(DecodeKey("\x1b[?1u").reply, ReplyKind::kKittyFlags);
  EXPECT_EQ(DecodeKey("\x1b[?62;22c").reply, ReplyKind::kDeviceAttributes);
  DecodeResult position = DecodeKey("\x1b[5;13R");
  EXPECT_EQ(position.status, DecodeStatus::kReply);
  EXPECT_EQ(position.reply, ReplyKind::kCursorPosition);
  EXPECT_EQ(position.replyRow, 5);
  EXPECT_EQ(position.replyCol, 13);
  // On row 1 the report would read as Shift+F3, which is why the program never asks there.
  EXPECT_EQ(DecodeKey("\x1b[1;2R").status, DecodeStatus::kKey);
}

}  // namespace
}  // namespace vondal

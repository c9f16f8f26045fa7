#include "macro/key_translation.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "macro/editor_test_fixture.h"

namespace vondal {
namespace {

// A translation as the bytes a key macro records: "" refused, "prompt" the control-code prompt.
std::string Bytes(const Translation& t) {
  if (t.kind == Translation::kRefused) return "";
  if (t.kind == Translation::kControlCodePrompt) return "prompt";
  std::string bytes(1, static_cast<char>(t.code));
  if (t.param >= 0) bytes.push_back(static_cast<char>(t.param));
  return bytes;
}

struct Row {
  const char* name;
  KeyEvent key;
  std::array<std::string, 4> modes;  // input modes 0-3
};

TEST(KeyTranslationTest, EveryKeyOfTheTableInTheEditingModes) {
  const Row rows[] = {
      {"Ctrl+A", CharacterKey(0x01), {Keys("^Ba"), Keys("^Ba"), Keys("^A"), ""}},
      {"Ctrl+B", CharacterKey(0x02), {Keys("^Bb"), Keys("^Bb"), "", Keys("^B")}},
      {"Ctrl+E", CharacterKey(0x05), {Keys("^Be"), Keys("^Be"), "", ""}},
      {"Ctrl+F", CharacterKey(0x06), {Keys("^Bf"), Keys("^Bf"), "", ""}},
      {"Backspace", CharacterKey(0x08), {Keys("^Db"), Keys("^Db"), "", ""}},
      {"Shift+Backspace", CharacterKey(0x08, true), {Keys("^DB"), Keys("^DB"), "", ""}},
      {"Ctrl+K", CharacterKey(0x0B), {"", "", Keys("^K"), Keys("^K")}},
      {"Enter", CharacterKey(0x0D), {Keys("^M^M"), Keys("^M^M"), Keys("^F"), ""}},
      {"Ctrl+R", CharacterKey(0x12), {Keys("^R"), "", "", ""}},
      {"Ctrl+W", CharacterKey(0x17), {Keys("^Cw"), Keys("^Cw"), Keys("^Cw"), ""}},
      {"Ctrl+X", CharacterKey(0x18), {Keys("^Bx"), Keys("^Bx"), "", ""}},
      {"Ctrl+Y", CharacterKey(0x19), {Keys("^By"), Keys("^By"), "", ""}},
      {"Ctrl+Z", CharacterKey(0x1A), {Keys("^Z"), Keys("^Z"), "", ""}},
      {"Esc", CharacterKey(0x1B), {"", "", Keys("^["), Keys("^[")}},
      {"Left", ExtendedKey(scan::kLeft), {Keys("^C-"), Keys("^C-"), Keys("^C-"), ""}},
      {"Shift+Left", ExtendedKey(scan::kLeft, true), {Keys("^C<"), Keys("^C<"), Keys("^C<"), ""}},
      {"Right", ExtendedKey(scan::kRight), {Keys("^C+"), Keys("^C+"), Keys("^C+"), ""}},
      {"Shift+Right", ExtendedKey(scan::kRight, true), {Keys("^C>"), Keys("^C>"), Keys("^C>"), ""}},
      {"Ctrl+Left", ExtendedKey(scan::kCtrlLeft, false, true), {Keys("^Cl"), Keys("^Cl"), Keys("^Cl"), ""}},
      {"Shift+Ctrl+Left",
       ExtendedKey(scan::kCtrlLeft, true, true),
       {Keys("^CL"), Keys("^CL"), Keys("^CL"), ""}},
      {"Ctrl+Right", ExtendedKey(scan::kCtrlRight, false, true), {Keys("^Cr"), Keys("^Cr"), Keys("^Cr"), ""}},
      {"Shift+Ctrl+Right",
       ExtendedKey(scan::kCtrlRight, true, true),
       {Keys("^CR"), Keys("^CR"), Keys("^CR"), ""}},
      {"Insert", ExtendedKey(scan::kIns), {Keys("^]"), Keys("^]"), "", ""}},
      {"F11", ExtendedKey(scan::kF11), {Keys("^]"), Keys("^]"), "", ""}},
      {"Delete", ExtendedKey(scan::kDel), {Keys("^Dd"), Keys("^Dd"), "", ""}},
      {"Shift+Delete", ExtendedKey(scan::kDel, true), {Keys("^DD"), Keys("^DD"), "", ""}},
      {"Ctrl+]", CharacterKey(0x1D), {"prompt", "prompt", "", "prompt"}},
      {"Tab", CharacterKey(0x09), {"", "", "", ""}},
      {"F1", ExtendedKey(scan::kF1), {"", "", "", ""}},
      {"Alt+Left", ExtendedKey(scan::kAltLeft, false, false, true), {"", "", "", ""}},
      {"a", CharacterKey('a'), {"a", "a", "a", "a"}},
      {"日 (a pair: the trail byte as parameter)",
       CharacterKey(0x93FA),
       {"\x93\xFA", "\x93\xFA", "\x93\xFA", "\x93\xFA"}},
  };
  const ExitKeyList none;
  for (const Row& row : rows) {
    for (int mode = 0; mode < 4; ++mode) {
      EXPECT_EQ(Bytes(TranslateKey(row.key, static_cast<InputMode>(mode), none)), row.modes[mode])
          << row.name << " in mode " << mode;
    }
  }
}

TEST(KeyTranslationTest, ExitKeysComeFirstWhileEditing) {
  // As the field table writes them: "-" returns "=", Esc itself, then PgUp returns Ctrl+U, F1 "1".
  const ExitKeyList exits{Keys("-^[\xFF") + char(scan::kPgUp) + char(scan::kF1), Keys("=^[\xFF^U1")};
  EXPECT_EQ(Bytes(TranslateKey(CharacterKey('-'), InputMode::kEdit, exits)), Keys("^M="));
  EXPECT_EQ(Bytes(TranslateKey(CharacterKey(0x1B), InputMode::kEditNoMenu, exits)), Keys("^M^["));
  EXPECT_EQ(Bytes(TranslateKey(ExtendedKey(scan::kPgUp), InputMode::kEdit, exits)), Keys("^N^U"));
  EXPECT_EQ(Bytes(TranslateKey(ExtendedKey(scan::kF1), InputMode::kEdit, exits)), Keys("^N1"));
  // While a range end or a search target is chosen they are ordinary keys.
  EXPECT_EQ(Bytes(TranslateKey(CharacterKey('-'), InputMode::kRangeEnd, exits)), "-");
  EXPECT_EQ(Bytes(TranslateKey(CharacterKey(0x1B), InputMode::kSearchTarget, exits)), Keys("^["));
  // A scan code equal to a character code does not end editing as that character.
  EXPECT_EQ(Bytes(TranslateKey(ExtendedKey('-'), InputMode::kEdit, exits)), "");
}

TEST(KeyTranslationTest, RawAndMenuKeysAreNotTranslated) {
  const ExitKeyList exits{"a", "b"};
  EXPECT_EQ(Bytes(TranslateKey(CharacterKey('a'), InputMode::kRaw, exits)), "a");
  EXPECT_EQ(Bytes(TranslateKey(CharacterKey('a'), InputMode::kMenuKey, exits)), "A");
  EXPECT_EQ(Bytes(TranslateKey(CharacterKey(0x1D), InputMode::kRaw, exits)), Keys("^]"));
  EXPECT_EQ(Bytes(TranslateKey(ExtendedKey(scan::kLeft), InputMode::kRaw, exits)), "\xFF\x4B");
  EXPECT_EQ(Bytes(TranslateKey(CharacterKey(0x82A0), InputMode::kMenuKey, exits)), "\x82\xA0");
}

TEST(KeyTranslationTest, ControlCodeLetter) {
  EXPECT_EQ(Bytes(ControlCodeLetter(CharacterKey('a'))), Keys("^^A"));
  EXPECT_EQ(Bytes(ControlCodeLetter(CharacterKey('_'))), Keys("^^_"));
  EXPECT_EQ(ControlCodeLetter(CharacterKey(0x1B)).code, 0x1B);  // cancelled
  EXPECT_EQ(Bytes(ControlCodeLetter(CharacterKey('@'))), "");
  EXPECT_EQ(ControlCodeLetter(CharacterKey('@')).code, 0);
}

}  // namespace
}  // namespace vondal

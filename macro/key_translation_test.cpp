#include "macro/key_translation.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace vondal {
namespace {

// A translation as the bytes a key macro records: "" refused, "^]" the control-code prompt.
std::string Bytes(const Translation& t) {
  if (t.kind == Translation::kRefused) return "";
  if (t.kind == Translation::kControlCodePrompt) return "^]";
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
      {"Ctrl+A", CharacterKey(0x01), {"\x02" "a", "\x02" "a", "\x01", ""}},
      {"Ctrl+B", CharacterKey(0x02), {"\x02" "b", "\x02" "b", "", "\x02"}},
      {"Ctrl+E", CharacterKey(0x05), {"\x02" "e", "\x02" "e", "", ""}},
      {"Ctrl+F", CharacterKey(0x06), {"\x02" "f", "\x02" "f", "", ""}},
      {"Backspace", CharacterKey(0x08), {"\x04" "b", "\x04" "b", "", ""}},
      {"Shift+Backspace", CharacterKey(0x08, true), {"\x04" "B", "\x04" "B", "", ""}},
      {"Ctrl+K", CharacterKey(0x0B), {"", "", "\x0B", "\x0B"}},
      {"Enter", CharacterKey(0x0D), {"\r\r", "\r\r", "\x06", ""}},
      {"Ctrl+R", CharacterKey(0x12), {"\x12", "", "", ""}},
      {"Ctrl+W", CharacterKey(0x17), {"\x03w", "\x03w", "\x03w", ""}},
      {"Ctrl+X", CharacterKey(0x18), {"\x02x", "\x02x", "", ""}},
      {"Ctrl+Y", CharacterKey(0x19), {"\x02y", "\x02y", "", ""}},
      {"Ctrl+Z", CharacterKey(0x1A), {"\x1A", "\x1A", "", ""}},
      {"Esc", CharacterKey(0x1B), {"", "", "\x1B", "\x1B"}},
      {"Left", ExtendedKey(scan::kLeft), {"\x03-", "\x03-", "\x03-", ""}},
      {"Shift+Left", ExtendedKey(scan::kLeft, true), {"\x03<", "\x03<", "\x03<", ""}},
      {"Right", ExtendedKey(scan::kRight), {"\x03+", "\x03+", "\x03+", ""}},
      {"Shift+Right", ExtendedKey(scan::kRight, true), {"\x03>", "\x03>", "\x03>", ""}},
      {"Ctrl+Left", ExtendedKey(scan::kCtrlLeft, false, true), {"\x03l", "\x03l", "\x03l", ""}},
      {"Shift+Ctrl+Left", ExtendedKey(scan::kCtrlLeft, true, true), {"\x03L", "\x03L", "\x03L", ""}},
      {"Ctrl+Right", ExtendedKey(scan::kCtrlRight, false, true), {"\x03r", "\x03r", "\x03r", ""}},
      {"Shift+Ctrl+Right", ExtendedKey(scan::kCtrlRight, true, true), {"\x03R", "\x03R", "\x03R", ""}},
      {"Insert", ExtendedKey(scan::kIns), {"\x1D", "\x1D", "", ""}},
      {"F11", ExtendedKey(scan::kF11), {"\x1D", "\x1D", "", ""}},
      {"Delete", ExtendedKey(scan::kDel), {"\x04" "d", "\x04" "d", "", ""}},
      {"Shift+Delete", ExtendedKey(scan::kDel, true), {"\x04" "D", "\x04" "D", "", ""}},
      {"Ctrl+]", CharacterKey(0x1D), {"^]", "^]", "", "^]"}},
      {"Tab", CharacterKey(0x09), {"", "", "", ""}},
      {"F1", ExtendedKey(scan::kF1), {"", "", "", ""}},
      {"Alt+Left", ExtendedKey(scan::kAltLeft, false, false, true), {"", "", "", ""}},
      {"a", CharacterKey('a'), {"a", "a", "a", "a"}},
      {"日 (a pair: the trail byte as parameter)", CharacterKey(0x93FA), {"\x93\xFA", "\x93\xFA", "\x93\xFA", "\x93\xFA"}},
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
  const ExitKeyList exits{"-\x1B\xFF\x49\x3B", "=\x1B\xFF\x15" "1"};
  EXPECT_EQ(Bytes(TranslateKey(CharacterKey('-'), InputMode::kEdit, exits)), "\r=");
  EXPECT_EQ(Bytes(TranslateKey(CharacterKey(0x1B), InputMode::kEditNoMenu, exits)), "\r\x1B");
  EXPECT_EQ(Bytes(TranslateKey(ExtendedKey(scan::kPgUp), InputMode::kEdit, exits)), "\x0E\x15");
  EXPECT_EQ(Bytes(TranslateKey(ExtendedKey(scan::kF1), InputMode::kEdit, exits)), "\x0E" "1");
  // While a range end or a search target is chosen they are ordinary keys.
  EXPECT_EQ(Bytes(TranslateKey(CharacterKey('-'), InputMode::kRangeEnd, exits)), "-");
  EXPECT_EQ(Bytes(TranslateKey(CharacterKey(0x1B), InputMode::kSearchTarget, exits)), "\x1B");
  // A scan code equal to a character code does not end editing as that character.
  EXPECT_EQ(Bytes(TranslateKey(ExtendedKey('-'), InputMode::kEdit, exits)), "");
}

TEST(KeyTranslationTest, RawAndMenuKeysAreNotTranslated) {
  const ExitKeyList exits{"a", "b"};
  EXPECT_EQ(Bytes(TranslateKey(CharacterKey('a'), InputMode::kRaw, exits)), "a");
  EXPECT_EQ(Bytes(TranslateKey(CharacterKey('a'), InputMode::kMenuKey, exits)), "A");
  EXPECT_EQ(Bytes(TranslateKey(CharacterKey(0x1D), InputMode::kRaw, exits)), "\x1D");
  EXPECT_EQ(Bytes(TranslateKey(ExtendedKey(scan::kLeft), InputMode::kRaw, exits)), "\xFF\x4B");
  EXPECT_EQ(Bytes(TranslateKey(CharacterKey(0x82A0), InputMode::kMenuKey, exits)), "\x82\xA0");
}

TEST(KeyTranslationTest, ControlCodeLetter) {
  EXPECT_EQ(Bytes(ControlCodeLetter(CharacterKey('a'))), "\x1E" "A");
  EXPECT_EQ(Bytes(ControlCodeLetter(CharacterKey('_'))), "\x1E_");
  EXPECT_EQ(ControlCodeLetter(CharacterKey(0x1B)).code, 0x1B);  // cancelled
  EXPECT_EQ(Bytes(ControlCodeLetter(CharacterKey('@'))), "");
  EXPECT_EQ(ControlCodeLetter(CharacterKey('@')).code, 0);
}

}  // namespace
}  // namespace vondal

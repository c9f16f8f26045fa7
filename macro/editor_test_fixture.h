// What the string-editor and player tests share: a console of 80 × 25 (message line row 22), a
// keyboard that hands out queued keys and keeps the screen as it stood at each read, and an
// editing state on row 5 from column 10, 20 columns wide, at most 40 bytes.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <string>
#include <vector>

#include "app/text/sjis.h"
#include "color/color_set.h"
#include "console/console.h"
#include "console/fake_terminal.h"
#include "macro/edit_state.h"
#include "macro/macro_player.h"
#include "macro/string_editor.h"

namespace vondal {

// Macro bytes in caret notation: "^C" is the control byte 3 (Ctrl+C), "^[" Esc, "^^" 30; every
// other character stands for itself. Keys("^By^C+^F") chooses a range one character long and
// deletes it.
inline std::string Keys(std::string_view caret) {
  std::string bytes;
  for (size_t i = 0; i < caret.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(caret[i])) && i + 1 < caret.size()) {
      bytes.append(caret.substr(i++, 2));
    } else if (caret[i] == '^' && i + 1 < caret.size()) {
      bytes.push_back(static_cast<char>(caret[++i] - 64));
    } else {
      bytes.push_back(caret[i]);
    }
  }
  return bytes;
}

class TestKeyboard : public KeySource {
 public:
  KeyEvent ReadKey() override {
    screens.push_back(TheScreen());
    if (keys.empty()) {
      std::fprintf(stderr, "TestKeyboard: a key was read but none is left\n");
      std::abort();
    }
    KeyEvent key = keys.front();
    keys.pop_front();
    return key;
  }
  void Type(std::string_view text) {
    for (unsigned char c : text) keys.push_back(CharacterKey(c));
  }
  // With `typedAhead`, the keys count as typed already, waiting to be read.
  bool KeyWaiting() override { return typedAhead && !keys.empty(); }
  bool typedAhead = false;

  // The message line as it stood when key `i` was read.
  std::string MessageLineAt(size_t i) const { return std::string(screens.at(i).RowText(22)); }

  std::deque<KeyEvent> keys;
  std::vector<Screen> screens;  // the screen at each read
};

class EditorTest : public ::testing::Test {
 protected:
  static constexpr int kRow = 5;
  static constexpr int kCol = 10;

  void SetUp() override {
    AttachConsole(&screen_, &terminal_);
    SetCurrentColorTable(DefaultColorTable());
    TheConsoleSwitches() = {};
    ThePlayer().SetKeyboard(&keyboard_);
    ThePlayer().Reset();
    ThePlayer().SetRecordingState(kRecordingOff);
    CopyBuffer().clear();
    TheReplaceStrings() = {};
    RememberKey(KeyEvent{});
    state_.row = kRow;
    state_.col = kCol;
    state_.width = 20;
    state_.maxLength = 40;
    state_.style = EditStyle("[･<] _");
    state_.exits = {"\x1B", "\x1B"};
  }

  // Plays `bytes` into the editor on `text` with the cursor at `cursor`. The editor ends with the
  // macro's own Enter, or with the keyboard's when an error aborted the macro; returns its result.
  int Play(std::string_view text, int cursor, std::string_view bytes) {
    state_.text = text;
    state_.cursor = cursor;
    state_.offset = 0;
    state_.modified = false;
    macro_ = std::string(bytes) + Keys("^M^M");
    keyboard_.keys.assign(1, CharacterKey(13));
    keyboard_.screens.clear();
    ThePlayer().StartMacro(state_, macro_.c_str());
    return Edit(state_);
  }

  std::string MessageLine() const { return std::string(screen_.RowText(MessageRow())); }
  // The message line while the keyboard was last waited for: after an error, what the user reads.
  std::string ShownMessage() const { return keyboard_.MessageLineAt(keyboard_.screens.size() - 1); }
  // The window with its two edge columns.
  std::string Window() const { return std::string(screen_.RowText(kRow).substr(kCol - 1, state_.width + 2)); }
  bool Aborted() const { return ShownMessage().substr(28, 7) == "ﾏｸﾛ中断"; }

  Screen screen_{80, 25};
  FakeTerminal terminal_{80, 25};
  TestKeyboard keyboard_;
  EditState state_;
  std::string macro_;
};

}  // namespace vondal

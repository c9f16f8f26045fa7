// A terminal for tests: a grid of cells that records what the screen buffer drew, and a queue
// of keys to hand out. Running out of keys ends the test program with a message, so that a
// menu loop waiting for a key that never comes fails instead of hanging.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "console/key_source.h"
#include "console/terminal.h"

namespace vondal {

class FakeTerminal : public Terminal, public KeySource {
 public:
  FakeTerminal(int width, int height);

  void DrawRun(int row, int col, std::string_view cp932, uint8_t attr) override;
  void MoveCursor(int row, int col) override;
  void ShowCursor(bool visible) override { cursorVisible_ = visible; }
  void SetCursorSize(int size) override { cursorSize_ = size; }
  void SetTitle(std::string_view cp932) override { title_ = cp932; }
  void Bell() override { ++bells_; }
  void Sync() override { ++syncs_; }
  void Clear() override;

  KeyEvent ReadKey() override;
  bool KeyWaiting() override { return !keys_.empty(); }

  // Keys to hand out, in order.
  void PushKey(const KeyEvent& key) { keys_.push_back(key); }
  // Each byte of `text` as a character key (a two-byte character as one key).
  void PushKeys(std::string_view text);
  size_t KeysLeft() const { return keys_.size(); }

  // The cells of a row as CP932 text (trailing blanks kept) and their attributes.
  std::string Row(int row) const;
  uint8_t Attr(int row, int col) const { return attrs_[row][col]; }
  // Every row, trailing blanks removed, one line each.
  std::string Dump() const;

  int cursorRow() const { return cursorRow_; }
  int cursorCol() const { return cursorCol_; }
  bool cursorVisible() const { return cursorVisible_; }
  int cursorSize() const { return cursorSize_; }
  const std::string& title() const { return title_; }
  int bells() const { return bells_; }
  // Cells drawn since the start (one per byte of every run), to check that flushes send only
  // changed rows.
  size_t cellsDrawn() const { return cellsDrawn_; }
  size_t runsDrawn() const { return runsDrawn_; }

 private:
  int width_;
  int height_;
  std::vector<std::string> rows_;
  std::vector<std::vector<uint8_t>> attrs_;
  std::deque<KeyEvent> keys_;
  int cursorRow_ = 0;
  int cursorCol_ = 0;
  bool cursorVisible_ = true;
  int cursorSize_ = 0;
  std::string title_;
  int bells_ = 0;
  int syncs_ = 0;
  size_t cellsDrawn_ = 0;
  size_t runsDrawn_ = 0;
  int watchedInARow_ = 0;  // the key watch's key handed out since the last key
};

}  // namespace vondal

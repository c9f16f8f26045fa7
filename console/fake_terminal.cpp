#include "console/fake_terminal.h"

#include <cstdio>
#include <cstdlib>

#include "app/text/sjis.h"
#include "console/key_watch.h"

namespace vondal {

FakeTerminal::FakeTerminal(int width, int height) : width_(width), height_(height) { Clear(); }

void FakeTerminal::Clear() {
  rows_.assign(height_, std::string(width_, ' '));
  attrs_.assign(height_, std::vector<uint8_t>(width_, 0x07));
}

void FakeTerminal::DrawRun(int row, int col, std::string_view cp932, uint8_t attr) {
  ++runsDrawn_;
  for (char c : cp932) {
    if (row < 0 || row >= height_ || col < 0 || col >= width_) break;
    rows_[row][col] = c;
    attrs_[row][col] = attr;
    ++col;
    ++cellsDrawn_;
  }
  cursorRow_ = row;
  cursorCol_ = col;
}

void FakeTerminal::MoveCursor(int row, int col) {
  cursorRow_ = row;
  cursorCol_ = col;
}

KeyEvent FakeTerminal::ReadKey() {
  // The watch as the terminal's key wait treats it: what arrived is taken in before each key, and
  // a reader that takes the watch's key gets it when it is due.
  PollKeyWatch();
  if (KeyWatchDueInMs() == 0) {
    // A reader that was handed the key without acting on it would be handed it for ever.
    if (++watchedInARow_ > 100) {
      std::fprintf(stderr, "FakeTerminal: the key watch's key was not acted on\n%s", Dump().c_str());
      std::abort();
    }
    return ExtendedKey(scan::kWatched);
  }
  watchedInARow_ = 0;
  if (keys_.empty()) {
    std::fprintf(stderr, "FakeTerminal: a key was read but none is left\n%s", Dump().c_str());
    std::abort();
  }
  KeyEvent key = keys_.front();
  keys_.pop_front();
  return key;
}

void FakeTerminal::PushKeys(std::string_view text) {
  for (size_t i = 0; i < text.size(); i += CharLength(text, i)) {
    auto lead = static_cast<unsigned char>(text[i]);
    int code = CharLength(text, i) == 2 ? lead * 256 + static_cast<unsigned char>(text[i + 1]) : lead;
    PushKey(CharacterKey(code));
  }
}

std::string FakeTerminal::Row(int row) const { return rows_[row]; }

std::string FakeTerminal::Dump() const {
  std::string out;
  for (const std::string& row : rows_) {
    size_t end = row.find_last_not_of(' ');
    out.append(row, 0, end == std::string::npos ? 0 : end + 1);
    out.push_back('\n');
  }
  return out;
}

}  // namespace vondal

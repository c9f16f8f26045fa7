#include "console/line_input.h"

#include "app/text/sjis.h"
#include "console/console.h"
#include "console/key_source.h"
#include "console/menu_line.h"

namespace vondal {
namespace {

// Length of the last character of `text` (walked from the front: trail bytes look like leads).
size_t LastCharLength(std::string_view text) {
  size_t pos = 0;
  size_t last = 0;
  while (pos < text.size()) {
    last = CharLength(text, pos);
    pos += last;
  }
  return last;
}

}  // namespace

LineInputResult InputLine(int row, std::string_view prompt, std::string_view initial, size_t maxBytes) {
  LineInputResult result;
  result.text = std::string(initial.substr(0, maxBytes));
  Screen& screen = TheScreen();
  for (;;) {
    screen.ClearRows(row, row);
    int col = screen.PutTextToEnd(prompt, row, 0, kPlainAttr, kPlainAttr);
    col = screen.PutTextToEnd(result.text, row, col, kPlainAttr, TheConsoleColors().error);
    MoveCursor(row, std::min(col, screen.Width() - 1));
    ShowCursor(true);
    Flush();
    KeyEvent key = ReadKey();
    if (key.code == 13) {
      result.accepted = true;
      break;
    }
    if (key.code == 27) break;
    if (key.code == 8) {
      if (result.text.empty()) {
        Beep();
      } else {
        result.text.resize(result.text.size() - LastCharLength(result.text));
      }
      continue;
    }
    bool twoByte = key.code > 0xFF && key.code < kExtendedKey;
    size_t length = twoByte ? 2 : 1;
    if ((key.code < 0x20 || key.code >= kExtendedKey) || result.text.size() + length > maxBytes) {
      Beep();
      continue;
    }
    if (twoByte) result.text.push_back(static_cast<char>(key.code >> 8));
    result.text.push_back(static_cast<char>(key.code & 0xFF));
  }
  ShowCursor(false);
  return result;
}

}  // namespace vondal

// Random macro bytes played into the string editor on random texts, windows and edit styles: the
// editor never crashes, the text never grows beyond the maximum length, and no text, copy buffer
// or undelete buffer ever holds half a two-byte character. When the macro runs out the keyboard
// answers Esc, which ends every step of the editor.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/text/sjis.h"
#include "color/color_set.h"
#include "console/console.h"
#include "console/fake_terminal.h"
#include "macro/edit_state.h"
#include "macro/macro_player.h"
#include "macro/string_editor.h"

namespace {

using namespace vondal;

class EscapeKeyboard : public KeySource {
 public:
  KeyEvent ReadKey() override {
    if (++reads_ > 100000) std::abort();  // the editor is stuck
    return CharacterKey(0x1B);
  }
  void Reset() { reads_ = 0; }

 private:
  int reads_ = 0;
};

bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

// Whole characters only: every lead byte has a valid trail byte, and there is no zero byte.
bool WholeCharacters(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    auto c = static_cast<unsigned char>(text[i]);
    if (c == 0) return false;
    if (IsLeadByte(c)) {
      if (i + 1 >= text.size() || !IsTrailByte(static_cast<unsigned char>(text[i + 1]))) return false;
      ++i;
    }
  }
  return true;
}

// Whole characters from `bytes`, at most `maxBytes` of them.
std::string TextFrom(std::string_view bytes, size_t maxBytes) {
  std::string text;
  for (size_t i = 0; i < bytes.size(); ++i) {
    auto c = static_cast<unsigned char>(bytes[i]);
    if (IsLeadByte(c)) {
      if (i + 1 >= bytes.size() || !IsTrailByte(static_cast<unsigned char>(bytes[i + 1])) ||
          text.size() + 2 > maxBytes)
        break;
      text.append(bytes.substr(i, 2));
      ++i;
    } else {
      if (text.size() + 1 > maxBytes) break;
      text.push_back(c == 0 ? ' ' : static_cast<char>(c));
    }
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Screen screen(80, 25);
  static FakeTerminal terminal(80, 25);
  static EscapeKeyboard keyboard;
  if (size < 6) return 0;
  AttachConsole(&screen, &terminal);
  SetCurrentColorTable(DefaultColorTable());
  keyboard.Reset();
  ThePlayer().SetKeyboard(&keyboard);
  ThePlayer().Reset();
  ThePlayer().SetRecordingState(data[0] & 1 ? kRecordingOff : kRecordingNotPossible);
  RememberKey(KeyEvent{});

  EditState state;
  state.maxLength = 1 + data[1] % 255;
  state.width = 2 + data[2] % 60;
  state.row = 3;
  state.col = 1 + data[3] % 10;
  state.style = EditStyle("[･<] _");
  state.style.caseMode = "ILRUN"[data[4] % 5];
  state.style.controlLimit = data[4] & 0x80 ? '_' : '@';
  state.exits = {"\x1B", "\x1B"};
  const size_t textBytes = data[5] % 64;
  std::string_view rest(reinterpret_cast<const char*>(data) + 6, size - 6);
  state.text = TextFrom(rest.substr(0, textBytes), state.maxLength);
  CopyBuffer() = TextFrom(rest.substr(0, textBytes / 2), kCopyBufferBytes);
  state.cursor = static_cast<int>(textBytes % (state.text.size() + 1));
  const std::string macro(rest.substr(std::min(textBytes, rest.size())));

  ThePlayer().StartMacro(state, macro.c_str());
  Edit(state);

  const int length = state.TextLength();
  if (length > state.maxLength || !WholeCharacters(state.text) || !WholeCharacters(CopyBuffer()) ||
      CopyBuffer().size() > static_cast<size_t>(kCopyBufferBytes) || !WholeCharacters(state.undelete) ||
      state.cursor < 0 || state.cursor > length || !IsCharStart(state.text, state.cursor) ||
      state.offset < 0 || state.offset > state.cursor) {
    std::abort();
  }
  return 0;
}

// Any bytes as a macro file (.VDM), as they are or padded to whole records: loading never crashes and keeps
// every text and comment inside its record, the store written out reads back as the same file, shortening
// saves what it says and a second pass saves nothing more, the label table and the syntax check take every
// macro, and every macro played into the string editor (label calls started as the record editor starts them)
// plays to its end, stops or is aborted without hanging. When a macro runs out the keyboard answers Esc.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "color/color_set.h"
#include "console/console.h"
#include "console/fake_terminal.h"
#include "log/file_system.h"
#include "macro/edit_state.h"
#include "macro/label_table.h"
#include "macro/macro_file.h"
#include "macro/macro_player.h"
#include "macro/macro_starts.h"
#include "macro/macro_store.h"
#include "macro/player_key_source.h"
#include "macro/shortening.h"
#include "macro/string_editor.h"
#include "macro/syntax_check.h"

namespace {

using namespace vondal;

class EscapeKeyboard : public KeySource {
 public:
  KeyEvent ReadKey() override {
    if (++reads_ > 100000) std::abort();  // the player or the editor is stuck
    return CharacterKey(0x1B);
  }
  void Reset() { reads_ = 0; }

 private:
  int reads_ = 0;
};

// Label calls and function keys restarted by one macro: a macro may loop on purpose (until an
// error stops it), so the run of each is cut off after this many.
constexpr int kMaxRounds = 64;

void Play(MacroStore& store, int n, EditState& state, PlayerKeySource& names) {
  ThePlayer().StopAll();
  ThePlayer().StartMacro(state, store.Text(n));
  for (int round = 0; round < kMaxRounds && ThePlayer().Playing(); ++round) {
    state.text.clear();
    state.cursor = state.offset = 0;
    const int exit = Edit(state);
    if (exit == 7) {
      const KeyEvent name = names.ReadKey();
      std::string bytes;
      if (name.code > 0xFF && name.code < kExtendedKey) {
        bytes = {static_cast<char>(name.code >> 8), static_cast<char>(name.code & 0xFF)};
      } else if (name.code > 0 && name.code <= 0xFF) {
        bytes.push_back(static_cast<char>(name.code));
      }
      PlayLabel(state, bytes);
    } else if (exit >= kExtendedKey + '1' && exit <= kExtendedKey + '8') {
      PlayFunctionKeyMacro(state, exit - kExtendedKey - '1');
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Screen screen(80, 25);
  static FakeTerminal terminal(80, 25);
  static EscapeKeyboard keyboard;
  static PlayerKeySource names;
  AttachConsole(&screen, &terminal);
  SetCurrentColorTable(DefaultColorTable());

  // The first byte says whether the rest is taken as it is or padded with zeros to whole groups of
  // ten records, so that most inputs get past the size check to the macros themselves.
  if (size == 0) return 0;
  std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  if ((data[0] & 1) != 0 && bytes.size() <= 32000) bytes.resize((bytes.size() + 3199) / 3200 * 3200, '\0');
  MemoryFileSystem fs;
  fs.SetContents("F.VDM", bytes);
  MacroStore& store = TheMacroStore();
  store.Clear();
  if (!ReadMacroFile(fs, "F.VDM", store).empty()) return 0;
  for (int n = 0; n < store.Count(); ++n) {
    if (store.TextView(n).size() > 255 || store.Comment(n).size() > 63) std::abort();
  }
  const std::string image = store.FileImage();
  if (image.size() != static_cast<size_t>(store.Count()) * 320) std::abort();
  fs.SetContents("G.VDM", image);
  MacroStore again;
  if (!ReadMacroFile(fs, "G.VDM", again).empty() || again.FileImage() != image) std::abort();

  LabelTable labels;
  labels.Build(store);
  CheckAllMacros(store, 0, labels);
  for (int n = 0; n < store.Count(); ++n) {
    std::string text(store.TextView(n));
    const size_t before = text.size();
    const int saved = ShortenMacro(text);
    if (saved < 0 || text.size() != before - saved || ShortenMacro(text) != 0) std::abort();
  }

  keyboard.Reset();
  ThePlayer().SetKeyboard(&keyboard);
  ThePlayer().Reset();
  ThePlayer().SetKeyMacroArea(store.KeyMacroArea());
  ThePlayer().SetRecordingState(kRecordingOff);
  RememberKey(KeyEvent{});
  SetKeySource(&names);
  EditState state;
  state.row = 3;
  state.col = 1;
  state.width = 60;
  state.maxLength = 255;
  state.style = EditStyle("[･<] _");
  state.exits = {"\x1B", "\x1B"};
  for (int n = 0; n < store.Count(); ++n) Play(store, n, state, names);
  return 0;
}

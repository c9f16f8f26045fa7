#include "macro/player_key_source.h"

#include "app/text/sjis.h"
#include "macro/edit_state.h"
#include "macro/macro_player.h"

namespace vondal {

KeyEvent PlayerKeySource::ReadKey() {
  MacroPlayer& player = ThePlayer();
  EditState& state = TheEditState();
  const int first = player.ReadKey(state, InputMode::kRaw);
  const bool typed = player.LastFromKeyboard();
  const KeyEvent typedKey = player.LastKeyboardKey();
  KeyEvent key;
  // A macro that ends after a lead byte or 0xFF leaves it alone: the menu rejects it.
  if ((first == 0xFF || IsLeadByte(static_cast<unsigned char>(first))) && player.HasQueuedByte()) {
    const int second = player.ReadKey(state, InputMode::kRaw);
    key = first == 0xFF ? ExtendedKey(second) : CharacterKey(first * 256 + second);
  } else {
    key = CharacterKey(first);
  }
  if (typed) {
    key.shift = typedKey.shift;
    key.ctrl = typedKey.ctrl;
    key.alt = typedKey.alt;
  }
  return key;
}

bool PlayerKeySource::KeyWaiting() {
  MacroPlayer& player = ThePlayer();
  return player.HasQueuedByte() || player.HasTypedAhead() ||
         (player.keyboard() != nullptr && player.keyboard()->KeyWaiting());
}

void InstallMacroPlayer() {
  static PlayerKeySource source;
  if (CurrentKeySource() == &source) return;
  ThePlayer().SetKeyboard(SetKeySource(&source));
}

}  // namespace vondal

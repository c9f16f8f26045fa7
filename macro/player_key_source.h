// The macro player as the program's key source: every menu that reads a key with ReadKey() gets
// it from the player, so that macros drive menus as they drive the editor and the key macro
// records what was typed in them.
#pragma once

#include "console/key_source.h"

namespace vondal {

// Keys read in the raw input mode: a played byte (with its second byte for a pair or an
// extended key) or a typed key, with the modifiers it was typed with.
class PlayerKeySource : public KeySource {
 public:
  KeyEvent ReadKey() override;
  bool KeyWaiting() override;
};

// Puts the program's player in front of the current key source, which becomes its keyboard.
void InstallMacroPlayer();

}  // namespace vondal

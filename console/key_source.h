// Where keys come from. Every menu and editor reads its keys with ReadKey(), which asks the
// current key source: the terminal backend, a test's fake terminal, or a wrapper that plays
// keys of its own first (the macro player installs itself in front of the terminal this way).
#pragma once

#include "console/key_event.h"

namespace vondal {

class KeySource {
 public:
  virtual ~KeySource() = default;
  // Blocks until a key is available and returns it.
  virtual KeyEvent ReadKey() = 0;
  // Whether ReadKey would answer without waiting (a long search looks for a stop key this way).
  virtual bool KeyWaiting() { return false; }
};

// Makes `source` the current key source (not owned) and returns the previous one, so that a
// wrapper can pass reads on to it.
KeySource* SetKeySource(KeySource* source);
KeySource* CurrentKeySource();

// The next key from the current key source. Remembers its modifiers for IsKeyDown.
KeyEvent ReadKey();

// Whether the current key source has a key ready.
bool KeyWaiting();

enum class Modifier { kShift, kCtrl, kAlt };

// Whether the modifier is held. A terminal cannot tell; the answer is the state of the most
// recent key read with ReadKey() or handed out by the macro player (RememberKey).
bool IsKeyDown(Modifier modifier);

// Makes `key` the most recent key for IsKeyDown. The macro player hands out keys without going
// through ReadKey(): a byte of a playing macro is a key without modifiers, a key read from the
// keyboard keeps the ones it was typed with.
void RememberKey(const KeyEvent& key);

}  // namespace vondal

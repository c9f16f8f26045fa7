#include "console/key_source.h"

#include <cassert>

namespace vondal {
namespace {

KeySource* currentSource = nullptr;
KeyEvent lastKey;

}  // namespace

KeySource* SetKeySource(KeySource* source) {
  KeySource* previous = currentSource;
  currentSource = source;
  return previous;
}

KeySource* CurrentKeySource() { return currentSource; }

KeyEvent ReadKey() {
  assert(currentSource != nullptr);
  lastKey = currentSource->ReadKey();
  return lastKey;
}

bool KeyWaiting() { return currentSource != nullptr && currentSource->KeyWaiting(); }

void RememberKey(const KeyEvent& key) { lastKey = key; }

bool IsKeyDown(Modifier modifier) {
  switch (modifier) {
    case Modifier::kShift:
      return lastKey.shift;
    case Modifier::kCtrl:
      return lastKey.ctrl;
    case Modifier::kAlt:
      return lastKey.alt;
  }
  return false;
}

}  // namespace vondal

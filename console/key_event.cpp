#include "console/key_event.h"

namespace vondal {

KeyEvent CharacterKey(int code, bool shift, bool ctrl, bool alt) {
  KeyEvent key;
  key.first = code > 0xFF ? code >> 8 : code;
  key.second = code > 0xFF ? code & 0xFF : 0;
  key.code = code;
  key.upper = code >= 'a' && code <= 'z' ? code - 'a' + 'A' : code;
  key.shift = shift;
  key.ctrl = ctrl;
  key.alt = alt;
  return key;
}

KeyEvent ExtendedKey(int scanCode, bool shift, bool ctrl, bool alt) {
  KeyEvent key;
  key.first = 0;
  key.second = scanCode;
  key.code = kExtendedKey + scanCode;
  key.upper = key.code;
  key.shift = shift;
  key.ctrl = ctrl;
  key.alt = alt;
  return key;
}

}  // namespace vondal

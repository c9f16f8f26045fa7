// Keys into the bytes of the macro language. A key read while a line is edited becomes a command
// code and at most one parameter byte (Left is 3 "-", a two-byte character its lead byte with the
// trail byte as parameter); the reader returns the code and keeps the parameter for its next read,
// so that a key macro records both and a played macro must hold both.
#pragma once

#include "console/key_event.h"
#include "macro/edit_state.h"

namespace vondal {

struct Translation {
  enum Kind {
    kKey,                // `code`, then `param` when it is not -1
    kControlCodePrompt,  // Ctrl+]: ask for the letter (ControlCodeLetter) and give 30 and it
    kRefused,            // the key means nothing in this mode: beep and read the next one
  };
  Kind kind = kRefused;
  int code = 0;
  int param = -1;
};

// The translation of `key` in `mode`. In kEdit and kEditNoMenu the caller's exit keys come
// first (13 and the exit code for a character, 14 and the exit code for an extended key). In
// kRaw and kMenuKey nothing is translated: a character is itself (kMenuKey folds a-z to upper
// case), an extended key is 255 with its scan code as parameter.
Translation TranslateKey(const KeyEvent& key, InputMode mode, const ExitKeyList& exits);

// The key typed at the "ｺﾝﾄﾛｰﾙｺｰﾄﾞ>" prompt: a letter from A to _ (a-z folded) gives 30 and the
// letter; Esc gives kRefused with code 27 (cancelled); any other key kRefused with code 0.
Translation ControlCodeLetter(const KeyEvent& key);

}  // namespace vondal

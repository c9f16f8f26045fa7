// Terminal input bytes to key events. A pure function: it looks only at the bytes it is given and
// says whether they start with a complete key, need more bytes, or are not a key at all. Reading
// the terminal and timing a lone Esc are the terminal backend's business (console/tty_keys.h).
//
// Accepted: UTF-8 characters (turned into CP932 key codes), control bytes, the xterm, VT220,
// rxvt and Linux-console spellings of the extended keys with their CSI 1;m modifiers, xterm's
// modifyOtherKeys (CSI 27;m;k~) and the kitty keyboard protocol (CSI k;m u). Esc followed by a
// byte that begins no sequence is two keys, Esc and that key. doc/keys.md lists every key and
// what the terminals send for it.
#pragma once

#include <cstddef>
#include <string_view>

#include "console/key_event.h"

namespace vondal {

enum class DecodeStatus {
  kKey,         // `key` holds a key made of the first `length` bytes
  kNeedMore,    // the bytes are the start of a longer sequence; read more (or time out)
  kInvalid,     // the first `length` bytes are no key (garbage, an unknown sequence): drop them
  kUnmappable,  // the first `length` bytes are a character CP932 cannot hold: drop them, beep
  kReply,       // the first `length` bytes are the terminal's answer to a query (`reply`)
};

enum class ReplyKind { kNone, kKittyFlags, kDeviceAttributes, kCursorPosition, kOther };

struct DecodeResult {
  DecodeStatus status = DecodeStatus::kInvalid;
  size_t length = 0;
  KeyEvent key;
  ReplyKind reply = ReplyKind::kNone;
  int replyRow = 0;  // kCursorPosition: 1-based row and column
  int replyCol = 0;
};

// Decodes the key at the front of `input` (which must not be empty). With `atEnd` the caller
// has waited long enough and no more bytes will belong to this key: a lone Esc is the Esc key,
// an unfinished sequence is dropped, and kNeedMore is never returned.
DecodeResult DecodeKey(std::string_view input, bool atEnd = false);

}  // namespace vondal

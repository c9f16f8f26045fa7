// The macro player and the key-macro recorder: the one place every key of the program passes.
//
// ReadKey returns the next byte of a playing macro before it asks the keyboard; a key typed on
// the keyboard is translated into the bytes of the macro language (key_translation.h), its first
// byte returned and its parameter kept for the next read, and both recorded while the key macro
// is being recorded. The player walks macro texts: labels, comments and no-ops are skipped, the
// end byte returns to the calling macro, the stop byte ends them all, a pause waits for a key.
//
// A macro text is a zero-terminated byte string owned by the caller (the macro store); it must
// stay in place and unchanged while it plays. Playing a macro by number, by function key or by
// label comes down to StartMacro with a pointer into the store's text: the store finds the text,
// the label table the place behind the label's name.
#pragma once

#include <array>
#include <deque>

#include "console/key_source.h"
#include "macro/edit_state.h"
#include "macro/key_translation.h"

namespace vondal {

// Bytes of a macro text with a meaning for the player; every other byte is a key.
namespace macro_byte {
inline constexpr char kLabel = 12;    // followed by the label's name (one byte or a pair)
inline constexpr char kPause = 16;    // waits for a key; Esc aborts
inline constexpr char kEnd = 19;      // ends this macro; the caller continues
inline constexpr char kStop = 20;     // ends every playing macro
inline constexpr char kComment = 28;  // up to the next 28 (or the end) is skipped
inline constexpr char kNoOp = 31;     // skipped, also between the digits of a count
}  // namespace macro_byte

// The key macro holds at most 255 bytes in its 256-byte area (macro 0 of the store).
inline constexpr int kKeyMacroAreaBytes = 256;
inline constexpr int kKeyMacroCapacity = 255;
inline constexpr int kMaxNesting = 8;

// Recording states: recording, possible and off, not possible here (the main menu).
inline constexpr int kRecordingOn = 0;
inline constexpr int kRecordingOff = 1;
inline constexpr int kRecordingNotPossible = -1;

class MacroPlayer {
 public:
  MacroPlayer();

  // Where keys come from when no macro plays: the terminal, or a test's fake (not owned). Without
  // one the current key source is read.
  void SetKeyboard(KeySource* keyboard) { keyboard_ = keyboard; }
  KeySource* keyboard() const { return keyboard_; }

  // The next key byte for a reader in `mode`, drawing on the message line of `state` (the
  // recording capacity, the pause, the abort) and placing the cursor: at the editor's cursor for
  // the editing modes, hidden on the message line for kRaw and kMenuKey.
  // Reserved keys, in every mode: Ctrl+Q starts (mode kEdit, recording possible) and stops the
  // recording, Ctrl+P records a pause, Home plays the key macro (mode kEdit, recording possible
  // and off); where they mean nothing they beep.
  int ReadKey(EditState& state, InputMode mode);
  // ReadKey for the first byte of a string-editor command. An Esc typed while a macro plays stops
  // it only at such a read: a macro stopped between a command and its count, parameter or exit
  // code would leave the command to take the keys typed next as the rest of it.
  int ReadCommandKey(EditState& state, InputMode mode);

  // True when the next ReadKey is answered without the keyboard: a pending parameter or a macro.
  bool HasQueuedByte() const { return pending_ >= 0 || Playing(); }
  // Keys typed while a macro played, waiting for the reads after it.
  bool HasTypedAhead() const { return !typedAhead_.empty(); }
  // Whether the byte ReadKey returned last came from the keyboard, and the key it came from.
  bool LastFromKeyboard() const { return lastFromKeyboard_; }
  const KeyEvent& LastKeyboardKey() const { return lastKeyboardKey_; }

  // Plays `text` from its start (a pointer into a macro text: a label starts behind its name).
  // A macro that is playing is suspended and continues when `text` ends; more than eight
  // suspended macros give "ﾏｸﾛのﾈｽﾃｨﾝｸﾞ超過です" and nothing plays. A macro started while Alt
  // is held aborts at once ("ﾏｸﾛ中断").
  void StartMacro(EditState& state, const char* text);
  // Ends every playing macro, silently.
  void StopAll();
  // Ends every playing macro and the recording; "ﾏｸﾛ中断" shows when either was running. The
  // message line is cleared by the next key.
  void Abort(EditState& state);
  bool Playing() const { return *playback_ != 0; }
  int Depth() const { return depth_; }

  int RecordingState() const { return recording_; }
  // The main menu makes recording impossible (ending one that runs), the editors possible.
  void SetRecordingState(int state);
  bool Recording() const { return recording_ == kRecordingOn; }
  int RecordedBytes() const { return recorded_; }
  const char* KeyMacro() const { return storeKeyMacro_ != nullptr ? storeKeyMacro_ : ownKeyMacro_.data(); }
  // The macro store hands in macro 0's text area (kKeyMacroAreaBytes, zero-terminated) for the
  // recorder to write and Home to play; until then the player keeps an area of its own.
  void SetKeyMacroArea(char* area);
  // Set when recording started or a key was recorded; the macro store counts it as a change.
  bool MacroUsed() const { return macroUsed_; }
  void ClearMacroUsed() { macroUsed_ = false; }

  // A pause, abort or error text stands on the message line: the next key clears it.
  bool MessageShown() const { return messageShown_; }
  // A message just shown stays until the next key, without stopping anything that plays.
  void KeepMessage() { messageShown_ = true; }

  // Back to the state after construction, keeping the keyboard (tests).
  void Reset();

 private:
  void SkipNonKeys();
  void Pause(EditState& state);
  void Record(EditState& state, int byte, bool withParam);
  char* KeyMacroArea() { return storeKeyMacro_ != nullptr ? storeKeyMacro_ : ownKeyMacro_.data(); }
  // A key typed, or one typed ahead while a macro played. `watched`: the reader may be handed the
  // key watch's key (console/key_watch.h) instead, if the one waiting for the key takes it.
  KeyEvent ReadKeyboard(bool watched = false);
  // Whether the reader of the next key in `mode` can act on the key watch's key.
  bool TakesWatchedKey(const EditState& state, InputMode mode) const;
  // While a macro plays, at the first command read after every so many bytes: an Esc typed
  // meanwhile aborts it (and drops the keys typed before it); other keys wait in typedAhead_ for
  // the reads after the macro. True when the macro was aborted.
  bool EscTypedWhilePlaying(EditState& state);
  void ClearShownMessage(EditState& state);
  // Ctrl+] while editing: "ｺﾝﾄﾛｰﾙｺｰﾄﾞ>" and the letter. Returns the translation of the answer.
  Translation AskControlCode(EditState& state);
  // The reserved keys; true when the key was one.
  bool TakeReservedKey(EditState& state, InputMode mode, const KeyEvent& key);

  KeySource* keyboard_ = nullptr;
  const char* playback_;
  std::array<const char*, kMaxNesting> callers_{};
  int depth_ = 0;
  int pending_ = -1;
  bool pendingWatched_ = false;  // pending_ belongs to the key watch's key
  int recording_ = kRecordingNotPossible;
  std::array<char, kKeyMacroAreaBytes> ownKeyMacro_{};
  char* storeKeyMacro_ = nullptr;  // macro 0 of the store, once it hands its area in
  int recorded_ = 0;
  bool macroUsed_ = false;
  bool messageShown_ = false;
  bool lastFromKeyboard_ = false;
  KeyEvent lastKeyboardKey_;
  std::deque<KeyEvent> typedAhead_;
  int playedSinceLook_ = 0;
  bool commandStart_ = false;  // the read under way is the first byte of a command
};

// The program's player.
MacroPlayer& ThePlayer();

}  // namespace vondal

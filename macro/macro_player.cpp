#include "macro/macro_player.h"

#include <cassert>
#include <cstdio>
#include <cstring>

#include "app/text/sjis.h"
#include "console/console.h"
#include "console/key_watch.h"
#include "console/menu_line.h"
#include "macro/edit_display.h"
#include "macro/edit_error.h"

namespace vondal {
namespace {

constexpr char kNothingPlays[] = "";
constexpr int kCtrlP = 0x10;
constexpr int kCtrlQ = 0x11;
constexpr std::string_view kPauseText = "ﾏｸﾛ･ﾎﾟｰｽﾞ";
constexpr int kAbortColumn = 28;

}  // namespace

MacroPlayer::MacroPlayer() : playback_(kNothingPlays) {}

void MacroPlayer::Reset() {
  KeySource* keyboard = keyboard_;
  *this = MacroPlayer();
  keyboard_ = keyboard;
}

void MacroPlayer::SetKeyMacroArea(char* area) {
  storeKeyMacro_ = area;
  recorded_ = static_cast<int>(strnlen(KeyMacro(), kKeyMacroCapacity));
}

void MacroPlayer::SetRecordingState(int state) { recording_ = state; }

void MacroPlayer::StopAll() {
  playback_ = kNothingPlays;
  depth_ = 0;
}

void MacroPlayer::SkipNonKeys() {
  for (;;) {
    const char byte = *playback_;
    if (byte == 0) {
      if (depth_ == 0) return;
      playback_ = callers_[--depth_];
    } else if (byte == macro_byte::kLabel) {
      ++playback_;
      if (*playback_ != 0) {
        playback_ += IsLeadByte(static_cast<unsigned char>(*playback_)) && playback_[1] != 0 ? 2 : 1;
      }
    } else if (byte == macro_byte::kEnd) {
      playback_ += std::strlen(playback_);
    } else if (byte == macro_byte::kStop) {
      StopAll();
      return;
    } else if (byte == macro_byte::kComment) {
      const char* close = std::strchr(playback_ + 1, macro_byte::kComment);
      playback_ = close != nullptr ? close + 1 : playback_ + std::strlen(playback_);
    } else if (byte == macro_byte::kNoOp) {
      ++playback_;
    } else {
      return;
    }
  }
}

void MacroPlayer::StartMacro(EditState& state, const char* text) {
  assert(text != nullptr);
  if (Playing()) {
    if (depth_ == kMaxNesting) {
      ShowEditError(state, EditError::kNestingTooDeep);
      return;
    }
    callers_[depth_++] = playback_;
  }
  playback_ = text;
  SkipNonKeys();
  if (IsKeyDown(Modifier::kAlt)) ShowEditError(state, EditError::kAltHeld);
}

void MacroPlayer::Abort(EditState& state) {
  if (Recording() || Playing()) {
    uint8_t attr = state.Color(EditColor::kError);
    TheScreen().PutTextToEnd("ﾏｸﾛ中断", state.MessageRow(), kAbortColumn, attr, attr);
    if (Recording()) recording_ = kRecordingOff;
  }
  StopAll();
  messageShown_ = true;
}

void MacroPlayer::ClearShownMessage(EditState& state) {
  if (!messageShown_) return;
  messageShown_ = false;
  ClearMessageLine(state);
}

KeyEvent MacroPlayer::ReadKeyboard(bool watched) {
  // Not installed in front of the key source (a test that drives a menu with its fake terminal):
  // the key source itself is the keyboard.
  KeySource* keyboard = keyboard_ != nullptr ? keyboard_ : CurrentKeySource();
  assert(keyboard != nullptr);
  KeyEvent key;
  if (!typedAhead_.empty()) {
    key = typedAhead_.front();
    typedAhead_.pop_front();
  } else {
    // The key of the key watch reaches only a reader that takes it, where the key read starts a
    // command: in the middle of one it would be taken for the command's rest.
    WatchKeyScope scope(watched && TheConsoleSwitches().watchKey);
    key = keyboard->ReadKey();
    if (key.code == kWatchedKey) return key;  // no key: nothing to remember
  }
  RememberKey(key);
  lastFromKeyboard_ = true;
  lastKeyboardKey_ = key;
  return key;
}

bool MacroPlayer::EscTypedWhilePlaying(EditState& state) {
  // A macro that calls itself through a label plays for ever; Esc is the way out, and drops what
  // was typed before it. Keys typed ahead without an Esc keep their order (a few hundred at the most are
  // held; beyond that they wait unread).
  constexpr int kPlayedBetweenLooks = 4096;
  constexpr size_t kTypedAheadKeys = 256;
  if (playedSinceLook_ < kPlayedBetweenLooks) ++playedSinceLook_;
  if (playedSinceLook_ < kPlayedBetweenLooks || !commandStart_) return false;
  playedSinceLook_ = 0;
  KeySource* keyboard = keyboard_ != nullptr ? keyboard_ : CurrentKeySource();
  WatchKeyScope notHere(false);
  while (keyboard != nullptr && typedAhead_.size() < kTypedAheadKeys && keyboard->KeyWaiting()) {
    const KeyEvent key = keyboard->ReadKey();
    if (key.code == 0x1B) {
      typedAhead_.clear();  // typed for a macro the user gave up on
      Abort(state);
      return true;
    }
    typedAhead_.push_back(key);
  }
  return false;
}

void MacroPlayer::Pause(EditState& state) {
  const int row = state.MessageRow();
  uint8_t attr = state.Color(EditColor::kMenuLabel);
  int col = TheScreen().PutTextToEnd(kPauseText, row, 0, attr, attr);
  vondal::MoveCursor(row, col);
  ShowCursor(true);
  Flush();
  KeyEvent key = ReadKeyboard();
  ClearMessageLine(state);
  if (key.code == 0x1B) Abort(state);
}

void MacroPlayer::Record(EditState& state, int byte, bool withParam) {
  // A code and its parameter go in together or not at all.
  if (recorded_ > (withParam ? kKeyMacroCapacity - 2 : kKeyMacroCapacity - 1)) {
    ShowEditError(state, EditError::kKeyMacroFull);
    return;
  }
  char* area = KeyMacroArea();
  area[recorded_++] = static_cast<char>(byte);
  area[recorded_] = 0;
  macroUsed_ = true;
}

Translation MacroPlayer::AskControlCode(EditState& state) {
  PromptScope prompt(state, "ｺﾝﾄﾛｰﾙｺｰﾄﾞ>", "");
  for (;;) {
    PlaceEditCursor(state);
    Flush();
    Translation answer = ControlCodeLetter(ReadKeyboard());
    if (answer.kind == Translation::kKey || answer.code == 0x1B) return answer;
    Beep();
  }
}

bool MacroPlayer::TakeReservedKey(EditState& state, InputMode mode, const KeyEvent& key) {
  if (key.code == kCtrlQ) {
    if (recording_ == kRecordingOff && mode == InputMode::kEdit) {
      std::memset(KeyMacroArea(), 0, kKeyMacroAreaBytes);
      recorded_ = 0;
      recording_ = kRecordingOn;
      macroUsed_ = true;
      StopAll();
    } else if (Recording()) {
      recording_ = kRecordingOff;
      ClearMessageLine(state);
    } else {
      Beep();
    }
    return true;
  }
  if (key.code == kCtrlP) {
    if (Recording()) Record(state, macro_byte::kPause, false);
    return true;
  }
  if (key.code == kExtendedKey + scan::kHome) {
    if (recording_ == kRecordingOff && mode == InputMode::kEdit) {
      StartMacro(state, KeyMacro());
    } else {
      Beep();
    }
    return true;
  }
  return false;
}

bool MacroPlayer::TakesWatchedKey(const EditState& state, InputMode mode) const {
  if (mode == InputMode::kRaw || mode == InputMode::kMenuKey) return true;  // a menu's key
  // An editor whose exits end on it, at the start of a command: in the middle of one, or in an
  // editor nested in a command (the strings of a replace), it would be taken for a key.
  const bool editing = mode == InputMode::kEdit || mode == InputMode::kEditNoMenu;
  return editing && commandStart_ && state.exits.ScanExit(scan::kWatched) >= 0;
}

int MacroPlayer::ReadCommandKey(EditState& state, InputMode mode) {
  commandStart_ = true;
  const int byte = ReadKey(state, mode);
  commandStart_ = false;
  return byte;
}

int MacroPlayer::ReadKey(EditState& state, InputMode mode) {
  for (;;) {
    // A parameter belongs to the key already half delivered: it comes before anything else.
    if (pending_ >= 0) {
      int byte = pending_;
      pending_ = -1;
      if (Recording() && !pendingWatched_) Record(state, byte, false);
      return byte;
    }
    if (Playing() && EscTypedWhilePlaying(state)) continue;
    if (Playing()) {
      auto byte = static_cast<unsigned char>(*playback_++);
      SkipNonKeys();
      if (byte == macro_byte::kPause) {
        Pause(state);
        continue;
      }
      ClearShownMessage(state);
      RememberKey(KeyEvent{});  // a played key carries no Shift, Ctrl or Alt
      lastFromKeyboard_ = false;
      return byte;
    }

    const int row = state.MessageRow();
    if (Recording()) {
      char capacity[32];
      std::snprintf(capacity, sizeof capacity, "ｷｰﾏｸﾛ%4d", kKeyMacroCapacity - recorded_);
      uint8_t attr = state.Color(EditColor::kMenuLabel);
      TheScreen().PutTextToEnd(capacity, row, 0, attr, attr);
    }
    if (mode == InputMode::kRaw || mode == InputMode::kMenuKey) {
      vondal::MoveCursor(row, 0);
      ShowCursor(false);
    } else {
      PlaceEditCursor(state);
    }
    Flush();
    KeyEvent key = ReadKeyboard(TakesWatchedKey(state, mode));
    const bool watched = key.code == kWatchedKey;
    if (!watched) ClearShownMessage(state);  // no key was typed: what the message line says stays
    if (TakeReservedKey(state, mode, key)) continue;

    Translation translation = TranslateKey(key, mode, state.exits);
    if (translation.kind == Translation::kControlCodePrompt) translation = AskControlCode(state);
    if (translation.kind != Translation::kKey || translation.code == 0) {
      if (translation.code != 0x1B) Beep();  // a cancelled control code needs no beep
      continue;
    }
    // The key watch's key is no key typed: a key macro never plays it back.
    if (Recording() && !watched) Record(state, translation.code, translation.param >= 0);
    pending_ = translation.param;
    pendingWatched_ = watched;
    return translation.code;
  }
}

MacroPlayer& ThePlayer() {
  static MacroPlayer player;
  return player;
}

}  // namespace vondal

// What the key wait watches besides the keyboard: one more descriptor (the UDP socket of live
// logging). The program stays single-threaded: while a key is awaited, the descriptor is polled
// with the keyboard, and whenever it is readable Receive takes in what arrived, in every key wait
// of the program (what waits in memory is not lost to a socket that overflows while a long menu
// leaves it alone). Acting on it is another matter: only a reader that can do so between keys
// (the main menu, the record editor's key waits) says so with WatchKeyScope while it waits, and is
// then handed the key scan::kWatched as soon as the watch is due. No other reader ever sees it.
#pragma once

#include "console/console.h"
#include "console/key_event.h"

namespace vondal {

// The key code a reader is handed.
inline constexpr int kWatchedKey = kExtendedKey + scan::kWatched;

class KeyWatch {
 public:
  virtual ~KeyWatch() = default;
  // The descriptor to poll; -1 when there is none.
  virtual int Descriptor() const = 0;
  // Takes in what is waiting on the descriptor; never blocks.
  virtual void Receive() = 0;
  // Milliseconds until a reader should be handed scan::kWatched: 0 now, -1 not at all.
  virtual int DueInMs() const = 0;
};

// Makes `watch` the program's watch (not owned; null: none).
void SetKeyWatch(KeyWatch* watch);
KeyWatch* TheKeyWatch();

// Milliseconds until the reader waiting now is to be handed scan::kWatched: 0 now, -1 never (no
// watch, nothing due, or a reader that does not take the key).
int KeyWatchDueInMs();
// Takes in what the watched descriptor holds, when it is readable now (no waiting).
void PollKeyWatch();

// While it lives, the readers of keys take scan::kWatched (`takes`) or do not; then it is as before.
class WatchKeyScope {
 public:
  explicit WatchKeyScope(bool takes) : saved_(TheConsoleSwitches().watchKey) {
    TheConsoleSwitches().watchKey = takes;
  }
  ~WatchKeyScope() { TheConsoleSwitches().watchKey = saved_; }
  WatchKeyScope(const WatchKeyScope&) = delete;
  WatchKeyScope& operator=(const WatchKeyScope&) = delete;

 private:
  bool saved_;
};

}  // namespace vondal

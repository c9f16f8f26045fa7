#include "console/key_watch.h"

#include <poll.h>

namespace vondal {
namespace {

KeyWatch* theWatch = nullptr;

}  // namespace

void SetKeyWatch(KeyWatch* watch) { theWatch = watch; }
KeyWatch* TheKeyWatch() { return theWatch; }

int KeyWatchDueInMs() {
  if (theWatch == nullptr || !TheConsoleSwitches().watchKey) return -1;
  return theWatch->DueInMs();
}

void PollKeyWatch() {
  if (theWatch == nullptr || theWatch->Descriptor() < 0) return;
  pollfd ready{theWatch->Descriptor(), POLLIN, 0};
  if (poll(&ready, 1, 0) > 0 && (ready.revents & POLLIN)) theWatch->Receive();
}

}  // namespace vondal

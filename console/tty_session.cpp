#include "console/tty_session.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "app/text/monotonic.h"
#include "console/console.h"
#include "console/key_decoder.h"
#include "console/key_watch.h"

namespace vondal {
namespace {

// How long a lone Esc or an unfinished sequence waits for the rest.
constexpr int kEscapeWaitMs = 50;
// How long the start-up queries wait for the terminal's answer.
constexpr int kReplyWaitMs = 1000;

TtySession* activeSession = nullptr;

// What the signal handlers need, kept where they can reach it without allocating.
struct termios savedModes;
bool modesSaved = false;
volatile sig_atomic_t inRawMode = 0;
char restoreBytes[128];
size_t restoreLength = 0;
int signalPipe[2] = {-1, -1};

constexpr int kRestoringSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
constexpr int kCrashSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr int kPipedSignals[] = {SIGWINCH, SIGTSTP, SIGCONT};

void WriteAll(const char* bytes, size_t length) {
  while (length > 0) {
    ssize_t n = write(STDOUT_FILENO, bytes, length);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    bytes += n;
    length -= n;
  }
}

// Async-signal-safe: only write() and tcsetattr().
void RestoreFromHandler() {
  if (!inRawMode) return;
  WriteAll(restoreBytes, restoreLength);
  if (modesSaved) tcsetattr(STDIN_FILENO, TCSAFLUSH, &savedModes);
  inRawMode = 0;
}

void OnEndingSignal(int sig) {
  RestoreFromHandler();
  signal(sig, SIG_DFL);
  raise(sig);
}

void OnPipedSignal(int sig) {
  int savedErrno = errno;
  unsigned char byte = static_cast<unsigned char>(sig);
  [[maybe_unused]] ssize_t n = write(signalPipe[1], &byte, 1);
  errno = savedErrno;
}

void Install(int sig, void (*handler)(int), int flags) {
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = handler;
  action.sa_flags = flags;
  sigemptyset(&action.sa_mask);
  sigaction(sig, &action, nullptr);
}

void InstallHandlers() {
  if (signalPipe[0] < 0 && pipe2(signalPipe, O_NONBLOCK | O_CLOEXEC) != 0) signalPipe[0] = signalPipe[1] = -1;
  for (int sig : kRestoringSignals) Install(sig, OnEndingSignal, 0);
  for (int sig : kCrashSignals) Install(sig, OnEndingSignal, SA_RESETHAND);
  for (int sig : kPipedSignals) Install(sig, OnPipedSignal, SA_RESTART);
}

void RemoveHandlers() {
  for (int sig : kRestoringSignals) signal(sig, SIG_DFL);
  for (int sig : kCrashSignals) signal(sig, SIG_DFL);
  for (int sig : kPipedSignals) signal(sig, SIG_DFL);
}

// Leaving the key modes, colours, cursor, wrapping and (optionally) the alternate screen. The
// cursor's shape is put back only when the program changed it.
std::string LeaveSequence(bool kitty, bool alternateScreen, bool cursorShapeSet) {
  std::string bytes = kitty ? "\x1b[<u" : "\x1b[>4m";
  bytes += "\x1b[0m\x1b[?25h";
  if (cursorShapeSet) bytes += "\x1b[0 q";
  bytes += "\x1b[?7h";
  // The cursor is put back explicitly: not every terminal restores it when leaving the
  // alternate screen.
  if (alternateScreen)
    bytes +=
        "\x1b[?1049l\x1b"
        "8\x1b[23;0t";
  return bytes;
}

void SetRawMode() {
  struct termios raw = savedModes;
  raw.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON);
  raw.c_oflag &= ~OPOST;
  raw.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  raw.c_cflag &= ~(CSIZE | PARENB);
  raw.c_cflag |= CS8;
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  tcsetattr(STDIN_FILENO, TCSAFLUSH, &raw);
  inRawMode = 1;
}

}  // namespace

bool TtySession::StandardStreamsAreTerminals() { return isatty(STDIN_FILENO) && isatty(STDOUT_FILENO); }

bool TtySession::TerminalSize(int* rows, int* cols) {
  struct winsize size;
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_row == 0 || size.ws_col == 0) return false;
  *rows = size.ws_row;
  *cols = size.ws_col;
  return true;
}

TtySession* ActiveTtySession() { return activeSession; }

TtySession::TtySession() : terminal_(STDOUT_FILENO) {
  activeSession = this;
  terminal_.onCursorShapeSet = [this] {
    if (entered_) SetRestoreBytes();
  };
  onRepaint = [] {
    if (ConsoleAttached()) Repaint();
  };
}

TtySession::~TtySession() {
  Leave();
  if (activeSession == this) activeSession = nullptr;
}

void TtySession::EnterModes(bool alternateScreen) {
  SetRawMode();
  if (alternateScreen)
    terminal_.Send(
        "\x1b[22;0t\x1b"
        "7\x1b[?1049h");
  terminal_.Send("\x1b[?7l");
  if (probed_) terminal_.Send(kitty_ ? "\x1b[>1u" : "\x1b[>4;2m");
  SetRestoreBytes();
}

void TtySession::SetRestoreBytes() {
  std::string restore = LeaveSequence(kitty_, !inPlace_, terminal_.CursorShapeSet());
  restoreLength = std::min(restore.size(), sizeof restoreBytes);
  std::memcpy(restoreBytes, restore.data(), restoreLength);
}

void TtySession::Enter(ScreenUse use) {
  if (entered_) return;
  inPlace_ = use == ScreenUse::kInPlace;
  if (!modesSaved) modesSaved = tcgetattr(STDIN_FILENO, &savedModes) == 0;
  InstallHandlers();
  EnterModes(!inPlace_);
  if (!probed_) Probe();
  terminal_.Sync();
  entered_ = true;
  SetTerminalRestorer([this] { Leave(); });
}

void TtySession::ReadReplies(std::string_view query) {
  terminal_.Send(query);
  terminal_.Sync();
  int waited = 0;
  while (!sawDeviceAttributes_ && waited < kReplyWaitMs) {
    if (pending_.empty() || DecodeKey(pending_).status == DecodeStatus::kNeedMore) {
      if (!WaitForInput(50)) {
        waited += 50;
        continue;
      }
      ReadAvailable();
    }
    DecodeResult result = DecodeKey(pending_);
    if (result.status == DecodeStatus::kNeedMore) continue;
    if (result.status == DecodeStatus::kReply) {
      if (result.reply == ReplyKind::kKittyFlags && !sawDeviceAttributes_) sawKittyReply_ = true;
      if (result.reply == ReplyKind::kDeviceAttributes) sawDeviceAttributes_ = true;
      if (result.reply == ReplyKind::kCursorPosition) {
        reportedRow_ = result.replyRow;
        reportedCol_ = result.replyCol;
      }
      pending_.erase(0, result.length);
    } else if (reportedRow_ == 0 && pending_.compare(0, 4, "\x1b[1;") == 0 &&
               pending_[result.length - 1] == 'R') {
      // CSI 1;c R: the cursor report from row 1, which the decoder reads as F3 with modifiers.
      // While the answer to the query is awaited it is that answer.
      reportedRow_ = 1;
      pending_.erase(0, result.length);
    } else {
      break;  // a key typed during the wait: keep it for ReadKey and stop asking
    }
  }
}

void TtySession::Probe() {
  probed_ = true;
  if (inPlace_) {
    // Ask for the kitty flags and the cursor position, then for the device attributes, which
    // every terminal answers: what came before that answer is all.
    ReadReplies("\x1b[?u\x1b[6n\x1b[c");
    cursorRowAtEnter_ = reportedRow_ - 1;
  } else {
    // The same with ─ drawn on row 2 first, to see how far the cursor went.
    ReadReplies("\x1b[?u\x1b[2;1H\xE2\x94\x80\x1b[6n\x1b[c");
    frameGlyphsWide_ = reportedCol_ == 3;
    terminal_.Send("\x1b[2;1H\x1b[2K");
  }
  kitty_ = sawKittyReply_;
  terminal_.Send(kitty_ ? "\x1b[>1u" : "\x1b[>4;2m");
  SetRestoreBytes();
}

void TtySession::Leave() {
  if (!entered_) return;
  terminal_.SyncThenSend(LeaveSequence(kitty_, !inPlace_, terminal_.CursorShapeSet()));
  if (modesSaved) tcsetattr(STDIN_FILENO, TCSAFLUSH, &savedModes);
  inRawMode = 0;
  RemoveHandlers();
  entered_ = false;
}

void TtySession::Release(bool keepScreen) {
  alternateKept_ = keepScreen || inPlace_;
  terminal_.SyncThenSend(LeaveSequence(kitty_, !alternateKept_, terminal_.CursorShapeSet()));
  if (modesSaved) tcsetattr(STDIN_FILENO, TCSAFLUSH, &savedModes);
  inRawMode = 0;
  signal(SIGTSTP, SIG_DFL);
}

void TtySession::Resume() {
  Install(SIGTSTP, OnPipedSignal, SA_RESTART);
  EnterModes(!alternateKept_);
  terminal_.Forget();
  terminal_.Sync();
}

bool TtySession::WaitForInput(int timeoutMs, bool watchEnds) {
  const int64_t deadline = timeoutMs < 0 ? -1 : MonotonicMs() + timeoutMs;
  for (;;) {
    int wait = deadline < 0 ? -1 : static_cast<int>(std::max<int64_t>(0, deadline - MonotonicMs()));
    if (watchEnds) {
      // A reader that takes the watch's key is woken when it is due.
      const int due = KeyWatchDueInMs();
      if (due == 0) return false;
      if (due > 0) wait = wait < 0 ? due : std::min(wait, due);
    }
    KeyWatch* watch = TheKeyWatch();
    struct pollfd fds[3] = {{STDIN_FILENO, POLLIN, 0},
                            {signalPipe[0], POLLIN, 0},
                            {watch != nullptr ? watch->Descriptor() : -1, POLLIN, 0}};
    int n = poll(fds, 3, wait);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) {
      if (deadline >= 0 && MonotonicMs() >= deadline) return false;
      continue;  // the watch became due: the loop's start returns
    }
    const bool input = fds[0].revents != 0;  // readable, or gone (the read then ends the program)
    if (fds[2].revents != 0) watch->Receive();
    if (signalPipe[0] >= 0 && (fds[1].revents & POLLIN)) {
      HandleSignals();
      // A reader that lays its screen out again is told of a resize at once.
      if (!input && resized_ && TheConsoleSwitches().resizeKey) return false;
    }
    if (input) return true;
  }
}

void TtySession::ReadAvailable() {
  char buffer[4096];
  ssize_t n;
  do {
    n = read(STDIN_FILENO, buffer, sizeof buffer);
  } while (n < 0 && errno == EINTR);
  if (n <= 0) {
    // The terminal is gone (hung up or closed): nothing more can be typed.
    EndProgram(1);
  }
  pending_.append(buffer, n);
}

void TtySession::HandleSignals() {
  unsigned char signals[64];
  ssize_t n = read(signalPipe[0], signals, sizeof signals);
  bool repaint = false;
  for (ssize_t i = 0; i < n; ++i) {
    if (signals[i] == SIGTSTP) {
      Suspend();
      repaint = true;
    } else if (signals[i] == SIGCONT) {
      // Continued after a stop this program did not see coming: the shell may have reset the
      // terminal. The modes are set again in place: the screen, the title and the saved cursor
      // are left alone, and the key mode is set rather than pushed a second time.
      if (entered_) {
        SetRawMode();
        terminal_.Send(kitty_ ? "\x1b[?7l\x1b[=1;1u" : "\x1b[?7l\x1b[>4;2m");
      }
      terminal_.Forget();
      repaint = true;
    } else if (signals[i] == SIGWINCH) {
      repaint = true;
      resized_ = true;
    }
  }
  // A reader that lays its screen out for the new size draws it itself; the old screen would not
  // fit the terminal any more.
  if (repaint && !(resized_ && TheConsoleSwitches().resizeKey)) RepaintNow();
}

void TtySession::Suspend() {
  // A handler that raised SIGTSTP itself would be called again at once; the main loop leaves
  // the terminal, lets the default action stop the program, and takes the terminal back.
  Release(false);
  raise(SIGTSTP);
  Resume();
}

void TtySession::RepaintNow() {
  if (onRepaint) onRepaint();
  terminal_.Sync();
}

bool TtySession::KeyWaiting() {
  if (pending_.empty()) {
    struct pollfd fd = {STDIN_FILENO, POLLIN, 0};
    if (poll(&fd, 1, 0) > 0 && (fd.revents & POLLIN)) ReadAvailable();
  }
  return !pending_.empty();
}

KeyEvent TtySession::ReadKey() {
  for (;;) {
    if (resized_ && TheConsoleSwitches().resizeKey) {
      resized_ = false;
      return ExtendedKey(scan::kResize);
    }
    if (KeyWatchDueInMs() == 0) return ExtendedKey(scan::kWatched);
    if (pending_.empty()) {
      if (WaitForInput(-1, true)) ReadAvailable();
      continue;
    }
    DecodeResult result = DecodeKey(pending_);
    if (result.status == DecodeStatus::kNeedMore) {
      if (WaitForInput(kEscapeWaitMs)) {
        ReadAvailable();
        continue;
      }
      result = DecodeKey(pending_, true);
    }
    pending_.erase(0, result.length > 0 ? result.length : 1);
    if (result.status == DecodeStatus::kKey) return result.key;
    if (result.status == DecodeStatus::kUnmappable && TheConsoleSwitches().sound) {
      terminal_.Bell();
      terminal_.Sync();
    }
  }
}

}  // namespace vondal

// The real terminal on standard input and output: raw mode, the alternate screen, the keyboard
// modes that let Shift+Enter and the like arrive, the signals that must restore or repaint the
// terminal, and the keys typed. Vondal takes the alternate screen; the viewer scroll draws in
// place on the screen it was started on, below the output before it. One session exists per run; it restores
// the terminal on every way out (EndProgram, SIGINT/SIGTERM/SIGHUP/SIGQUIT, caught crashes), suspends on a
// SIGTSTP from outside and repaints after SIGCONT and SIGWINCH.
#pragma once

#include <functional>
#include <string>

#include "console/key_source.h"
#include "console/tty_terminal.h"

namespace vondal {

// Which screen a session draws on.
enum class ScreenUse {
  kAlternate,  // the alternate screen; the user's screen comes back unchanged at the end
  kInPlace,    // the screen as it is; what is drawn stays there after the end
};

class TtySession : public KeySource {
 public:
  // Whether standard input and standard output are both terminals.
  static bool StandardStreamsAreTerminals();
  // The terminal's size; false when it cannot be told.
  static bool TerminalSize(int* rows, int* cols);

  TtySession();
  ~TtySession() override;
  TtySession(const TtySession&) = delete;
  TtySession& operator=(const TtySession&) = delete;

  // Takes the terminal: raw mode, the screen `use` says, keyboard modes, signal handlers. The
  // first time it also asks the terminal whether it speaks the kitty keyboard protocol, and
  // either how wide it draws the frame glyph ─ (alternate screen; on row 2: a cursor report from
  // row 1 reads as Shift+F3) or where the cursor stands (in place; nothing is drawn).
  void Enter(ScreenUse use = ScreenUse::kAlternate);
  // Gives the terminal back exactly as it was found.
  void Leave();

  // For a child program: leaves the key modes, shows the cursor, resets the colours, restores
  // the saved terminal modes and (unless `keepScreen`) leaves the alternate screen. SIGTSTP gets
  // its default action, so that Ctrl+Z stops the child and this program together.
  void Release(bool keepScreen);
  // Takes the terminal back after Release. The caller repaints.
  void Resume();

  TtyTerminal& terminal() { return terminal_; }

  // Blocks for the next key. Replies to the session's queries are taken in passing, a lone Esc
  // is told from a sequence by a short wait, characters CP932 cannot hold are dropped with a
  // beep. Signals that arrive meanwhile suspend, repaint or end the program.
  KeyEvent ReadKey() override;
  bool KeyWaiting() override;

  // Whether the terminal drew ─ two cells wide (the frame then has to use the ASCII set).
  bool FrameGlyphsWide() const { return frameGlyphsWide_; }
  bool KittyKeyboard() const { return kitty_; }
  // In place: the row (0-based) where the cursor stood when the session was entered; -1 when the
  // terminal did not say.
  int CursorRowAtEnter() const { return cursorRowAtEnter_; }

  // Called to draw the whole screen again (after SIGWINCH and SIGCONT); by default the
  // console's Repaint when a console is attached.
  std::function<void()> onRepaint;

 private:
  void EnterModes(bool alternateScreen);
  void Probe();
  // The replies to `query`, read until the device attributes arrive (which every terminal
  // sends) or a key is typed.
  void ReadReplies(std::string_view query);
  void SetRestoreBytes();
  // Waits up to `timeoutMs` (-1: forever) for input; handles signals and the key watch meanwhile
  // (console/key_watch.h). True when input is there. With `watchEnds`, the wait also ends (false)
  // when the watch is due for the reader; the wait for the rest of an escape sequence goes on.
  bool WaitForInput(int timeoutMs, bool watchEnds = false);
  void ReadAvailable();
  void HandleSignals();
  void Suspend();
  void RepaintNow();

  TtyTerminal terminal_;
  std::string pending_;  // bytes read but not yet decoded
  bool entered_ = false;
  bool inPlace_ = false;
  bool probed_ = false;
  bool kitty_ = false;
  bool frameGlyphsWide_ = false;
  bool alternateKept_ = false;  // Release kept the alternate screen
  bool sawKittyReply_ = false;
  bool sawDeviceAttributes_ = false;
  int reportedCol_ = 0;
  int reportedRow_ = 0;
  int cursorRowAtEnter_ = -1;
  bool resized_ = false;  // SIGWINCH came and no reader has been told yet
};

// The session of this run, or none (tests).
TtySession* ActiveTtySession();

}  // namespace vondal

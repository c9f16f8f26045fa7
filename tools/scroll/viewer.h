// The viewer: draws the text in its view (or two panes of it) with the frame around, and acts on
// the keys until Enter or Esc. It draws straight to the terminal, row by row, in the console's
// attributes; keys come from ReadKey().
#pragma once

#include <cstdint>
#include <string>

#include "console/key_event.h"
#include "console/terminal.h"
#include "tools/scroll/scroll_options.h"
#include "tools/scroll/scroll_text.h"
#include "tools/scroll/scroll_view.h"

namespace vondal::scroll {

inline constexpr uint8_t kEndOfFileAttr = 128;
inline constexpr uint8_t kStatusAttr = 15;
inline constexpr uint8_t kSeparatorAttr = 8;
inline constexpr uint8_t kSearchPromptBackground = 3;
inline constexpr size_t kPatternBytes = 200;

class Viewer {
 public:
  // `text` and `terminal` stay the caller's. The view is the rectangle of `options`, which must
  // have passed ParseOptions and been fitted to the text (FitViewToText); the screen is
  // `screenCols` columns wide.
  Viewer(ScrollText& text, const ScrollOptions& options, int screenCols, Terminal& terminal);

  // Draws everything: the frame in the frame attribute, the view or both panes, the statuses.
  void DrawAll();
  // Draws the frame alone in `attr`: the header (file name or ruler), the footer ruler and the
  // blank columns at both sides.
  void DrawFrame(uint8_t attr);

  // Reads keys until Enter or Esc and returns 13 or 27.
  int Run();
  // Acts on one key; 13 or 27 when the key ends the viewer, else 0. The search and go-to-line
  // prompts read their further keys with ReadKey().
  int HandleKey(const KeyEvent& key);

  bool split() const { return split_; }
  int activePane() const { return active_; }
  const ScrollView& pane(int n) const { return views_[n]; }
  const std::string& pattern() const { return pattern_; }

 private:
  ScrollView& active() { return views_[active_]; }
  long count() const { return static_cast<long>(text_.count()); }
  int paneCount() const { return split_ ? 2 : 1; }

  void DrawPane(int n);
  void DrawLine(int n, int row);
  void DrawRow(int n, int row, const LineWalker& walker);
  void DrawStatusRow(int n);
  void DrawStatus(int n);
  void DrawSeparator();
  void Sync();

  void Vertical(bool moved);
  void Sideways(int oldOffset, int oldFixed);
  void JumpForward();
  void JumpBackward();
  void Search();
  void MarkLines(bool ignoreCase);
  void GoToLine(int digit);
  void SplitOrSwitch();
  void Unsplit();

  ScrollText& text_;
  Terminal& terminal_;
  const std::string fileName_;
  const bool nameHeader_;
  const uint8_t frameAttr_;
  const int screenCols_;
  const ScrollView whole_;  // the rectangle of the unsplit view
  ScrollView views_[2];
  bool split_ = false;
  int active_ = 0;
  int separatorRow_ = 0;
  std::string pattern_ = "**";
  std::string cells_;  // the row being drawn
  bool nonMatch_ = false;
};

// Fits the options' view to a text of `count` lines: with fewer lines than rows the view ends one
// row below the last line, where "[EOF]" stands.
void FitViewToText(long count, ScrollOptions* options);

}  // namespace vondal::scroll

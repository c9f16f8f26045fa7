// A view: a rectangle of the screen that shows the text from a line and a column on. In split mode
// two views share the text. The moves below change only the view; the viewer draws.
#pragma once

#include <span>
#include <string_view>

namespace vondal::scroll {

struct ScrollView {
  int top = 1;  // first and last screen row, first and last screen column
  int bottom = 0;
  int left = 0;
  int right = 0;
  long position = 0;  // the line shown in the first row
  int offset = 0;     // columns scrolled to the right
  int step = 8;       // columns per Left/Right
  int fixed = 8;      // columns at the line start that stay while scrolled sideways
  bool ignoreCase = true;
  bool synchronous = false;

  int rows() const { return bottom - top + 1; }
  int width() const { return right - left + 1; }
  // The row below the view, where its status stands (the footer, or the separator of a split).
  int statusRow() const { return bottom + 1; }

  // Vertical moves in a text of `count` lines. Each returns whether the position changed.
  bool Home();
  bool End(long count);
  bool LineUp();
  bool LineDown(long count);
  bool PageUp();
  bool PageDown(long count);
  // The position for the marked line `line` shown in the middle row, going back or forth.
  void CenterBackward(long line);
  void CenterForward(long line, long count);

  // Sideways moves. Each returns whether the offset or the fixed columns changed.
  bool Left(bool toStart);
  bool Right();
  // Right as far as the widest of `shownLines` needs, rounded up to the step; 0 when they all
  // fit.
  bool RightToWidest(std::span<const std::string_view> shownLines);
  bool FewerFixed(bool toNone);
  bool MoreFixed();
};

// The last position that still fills the view, never below 0.
long LastPosition(long count, int rows);

}  // namespace vondal::scroll

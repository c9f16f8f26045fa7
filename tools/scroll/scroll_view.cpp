#include "tools/scroll/scroll_view.h"

#include <algorithm>

#include "tools/scroll/line_cells.h"

namespace vondal::scroll {
namespace {

// Lines are at most 10,000 bytes, 40,000 columns with tabs: no view needs to go further right,
// and the offset stays far from overflowing.
constexpr int kMaxOffset = 1000000;

bool Set(long& value, long to) {
  if (value == to) return false;
  value = to;
  return true;
}

bool Set(int& value, int to) {
  if (value == to) return false;
  value = to;
  return true;
}

}  // namespace

long LastPosition(long count, int rows) { return std::max(count - rows, 0L); }

bool ScrollView::Home() { return Set(position, 0); }

bool ScrollView::End(long count) { return Set(position, LastPosition(count, rows())); }

bool ScrollView::LineUp() { return position > 0 && Set(position, position - 1); }

bool ScrollView::LineDown(long count) { return position + rows() < count && Set(position, position + 1); }

bool ScrollView::PageUp() { return Set(position, std::max(position - (rows() + 1) / 2, 0L)); }

bool ScrollView::PageDown(long count) {
  return Set(position, std::max(std::min(position + (rows() + 1) / 2, count - rows()), 0L));
}

void ScrollView::CenterBackward(long line) { position = std::max(line - (rows() + 1) / 2, 0L); }

void ScrollView::CenterForward(long line, long count) {
  position = std::max(std::min(line - rows() / 2, count - rows()), 0L);
}

bool ScrollView::Left(bool toStart) {
  if (offset == 0) return false;
  return Set(offset, toStart ? 0 : std::max(offset - step, 0));
}

bool ScrollView::Right() { return offset <= kMaxOffset - step && Set(offset, offset + step); }

bool ScrollView::RightToWidest(std::span<const std::string_view> shownLines) {
  int widest = 0;
  for (std::string_view line : shownLines) widest = std::max(widest, ExpandedWidth(line));
  const long needed = widest > width() ? widest - width() + 1 : 0;
  return Set(offset,
             static_cast<int>(std::min((needed + step - 1) / step * step, static_cast<long>(kMaxOffset))));
}

bool ScrollView::FewerFixed(bool toNone) {
  if (offset == 0 || fixed == 0) return false;
  return Set(fixed, toNone ? 0 : fixed - 1);
}

bool ScrollView::MoreFixed() { return offset != 0 && fixed <= width() - 4 && Set(fixed, fixed + 1); }

}  // namespace vondal::scroll

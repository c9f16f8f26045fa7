// The viewer's drawing: the frame, the rows of a pane, the status figures and the separator.
#include <algorithm>
#include <string>

#include "tools/scroll/frame_text.h"
#include "tools/scroll/line_cells.h"
#include "tools/scroll/line_colors.h"
#include "tools/scroll/viewer.h"

namespace vondal::scroll {
namespace {

// The status figures take the last 12 columns when the text is longer than the view (line and
// column), else the last 5 (column).
int StatusCells(long count, const ScrollView& view) { return count > view.rows() ? 12 : 5; }

}  // namespace

void Viewer::DrawFrame(uint8_t attr) {
  const ScrollView& w = whole_;
  if (w.top > 0) {
    std::string header = nameHeader_ ? FitFileName(fileName_, w.width()) : Ruler(w.width());
    header.resize(w.width(), ' ');
    terminal_.DrawRun(w.top - 1, w.left, header, attr);
  }
  terminal_.DrawRun(w.statusRow(), w.left, Ruler(w.width() - StatusCells(count(), w)), attr);
  for (int row = std::max(w.top - 1, 0); row <= w.statusRow(); ++row) {
    if (w.left > 0) terminal_.DrawRun(row, w.left - 1, " ", attr);
    if (w.right + 1 < screenCols_) terminal_.DrawRun(row, w.right + 1, " ", attr);
  }
}

void Viewer::DrawAll() {
  DrawFrame(frameAttr_);
  for (int n = 0; n < paneCount(); ++n) {
    DrawPane(n);
    DrawStatusRow(n);
  }
  Sync();
}

void Viewer::DrawPane(int n) {
  const ScrollView& v = views_[n];
  LineWalker walker(text_, v.position);
  for (int row = 0; row < v.rows(); ++row) {
    DrawRow(n, row, walker);
    if (!walker.AtEnd()) walker.Next();
  }
}

void Viewer::DrawLine(int n, int row) {
  LineWalker walker(text_, views_[n].position + row);
  DrawRow(n, row, walker);
}

void Viewer::DrawRow(int n, int row, const LineWalker& walker) {
  const ScrollView& v = views_[n];
  const long line = v.position + row;
  const int screenRow = v.top + row;
  if (line < count()) {
    const uint8_t color = text_.colors[line];
    const uint8_t attr = (color & kMarked) ? static_cast<uint8_t>(color * 16) : color;
    cells_.clear();
    AppendCells(walker.line(), v.offset, v.fixed, v.width(), &cells_);
    terminal_.DrawRun(screenRow, v.left, cells_, attr);
  } else if (line == count()) {
    terminal_.DrawRun(screenRow, v.left, "[EOF]", kEndOfFileAttr);
    terminal_.DrawRun(screenRow, v.left + 5, std::string(v.width() - 5, ' '), kPlainColor);
  } else {
    terminal_.DrawRun(screenRow, v.left, std::string(v.width(), ' '), kPlainColor);
  }
}

void Viewer::DrawStatusRow(int n) {
  if (split_ && n == 0) {
    DrawSeparator();
    return;
  }
  const ScrollView& v = views_[n];
  terminal_.DrawRun(v.statusRow(), v.left, Ruler(v.width() - StatusCells(count(), v)), frameAttr_);
  DrawStatus(n);
}

void Viewer::DrawStatus(int n) {
  const ScrollView& v = views_[n];
  const int cells = StatusCells(count(), v);
  // "y%-6ldx%-4d" or "x%-4d", cut at the right edge of the view when the figures grow longer.
  std::string status;
  if (cells == 12) {
    status = "y" + std::to_string(v.position);
    status.resize(std::max<size_t>(status.size(), 7), ' ');
  }
  status += "x" + std::to_string(v.offset);
  status.resize(cells, ' ');
  terminal_.DrawRun(v.statusRow(), v.right - cells + 1, status, kStatusAttr);
}

void Viewer::DrawSeparator() {
  const ScrollView& upper = views_[0];
  std::string dashes(upper.width() - 12, '-');
  terminal_.DrawRun(separatorRow_, upper.left, dashes, kSeparatorAttr);
  std::string marker = active_ == 0 ? "▲" : "▼";
  marker += upper.synchronous ? 's' : '-';
  terminal_.DrawRun(separatorRow_, upper.left + 1, marker, kStatusAttr);
  DrawStatus(0);
}

void Viewer::Sync() { terminal_.Sync(); }

}  // namespace vondal::scroll

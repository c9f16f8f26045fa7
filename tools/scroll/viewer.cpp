#include "tools/scroll/viewer.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "app/text/sjis.h"
#include "console/key_source.h"
#include "tools/scroll/line_colors.h"
#include "tools/scroll/line_edit.h"
#include "tools/scroll/line_search.h"

namespace vondal::scroll {
namespace {

constexpr int kCtrlN = 14;
constexpr int kCtrlP = 16;
constexpr int kCtrlR = 18;
constexpr int kGoToCells = 7;

ScrollView ViewOf(const ScrollOptions& options) {
  ScrollView view;
  view.top = options.top;
  view.bottom = options.bottom;
  view.left = options.left;
  view.right = options.right;
  view.step = options.step;
  view.fixed = options.fixed;
  view.synchronous = options.synchronous;
  return view;
}

}  // namespace

void FitViewToText(long count, ScrollOptions* options) {
  if (count < options->rows()) options->bottom = options->top + static_cast<int>(count);
}

Viewer::Viewer(ScrollText& text, const ScrollOptions& options, int screenCols, Terminal& terminal)
    : text_(text),
      terminal_(terminal),
      fileName_(options.fileName),
      nameHeader_(options.nameHeader),
      frameAttr_(options.frameAttr),
      screenCols_(screenCols),
      whole_(ViewOf(options)) {
  views_[0] = whole_;
}

int Viewer::Run() {
  terminal_.ShowCursor(false);
  for (;;) {
    if (int status = HandleKey(ReadKey()); status != 0) return status;
  }
}

int Viewer::HandleKey(const KeyEvent& key) {
  ScrollView& v = active();
  const int oldOffset = v.offset;
  const int oldFixed = v.fixed;
  if (key.code >= kExtendedKey) {
    switch (key.code - kExtendedKey) {
      case scan::kHome:
        Vertical(v.Home());
        break;
      case scan::kEnd:
        Vertical(v.End(count()));
        break;
      case scan::kUp:
        Vertical(v.LineUp());
        break;
      case scan::kDown:
        Vertical(v.LineDown(count()));
        break;
      case scan::kPgUp:
        Vertical(v.PageUp());
        break;
      case scan::kPgDn:
        Vertical(v.PageDown(count()));
        break;
      case scan::kLeft:
        v.Left(key.shift);
        break;
      case scan::kRight:
        if (key.shift) {
          // The widest of the lines shown, leaving out the last row.
          std::vector<std::string_view> shown;
          for (LineWalker walker(text_, v.position);
               !walker.AtEnd() && static_cast<int>(shown.size()) < v.rows() - 1; walker.Next()) {
            shown.push_back(walker.line());
          }
          v.RightToWidest(shown);
        } else {
          v.Right();
        }
        break;
      case scan::kCtrlLeft:
        v.FewerFixed(key.shift);
        break;
      case scan::kCtrlRight:
        v.MoreFixed();
        break;
      default:
        break;
    }
    Sideways(oldOffset, oldFixed);
    return 0;
  }
  switch (key.code) {
    case 13:
    case 27:
      return key.code;
    case 9:
      // Ctrl+Tab leaves split mode; Shift+Tab does too, for terminals that cannot send Ctrl+Tab.
      if (key.ctrl || key.shift) {
        Unsplit();
      } else {
        SplitOrSwitch();
      }
      break;
    case kCtrlN:
    case 'N':
    case 'n':
      JumpForward();
      break;
    case kCtrlP:
    case 'P':
    case 'p':
      JumpBackward();
      break;
    case 'F':
    case 'f':
      Search();
      break;
    case 'S':
    case 's':
      if (split_) {
        views_[0].synchronous = views_[1].synchronous = !views_[0].synchronous;
        DrawSeparator();
      }
      break;
    default:
      if (key.code >= '0' && key.code <= '9') GoToLine(key.code);
      break;
  }
  Sync();
  return 0;
}

void Viewer::Vertical(bool moved) {
  if (!moved) return;
  DrawPane(active_);
  DrawStatus(active_);
}

void Viewer::Sideways(int oldOffset, int oldFixed) {
  ScrollView& v = active();
  if (v.offset == oldOffset && v.fixed == oldFixed) {
    Sync();
    return;
  }
  DrawPane(active_);
  DrawStatus(active_);
  if (split_ && v.synchronous) {
    ScrollView& other = views_[1 - active_];
    if (v.offset != oldOffset) other.offset = v.offset;
    if (v.fixed != oldFixed) other.fixed = v.fixed;
    DrawPane(1 - active_);
    DrawStatus(1 - active_);
  }
  Sync();
}

void Viewer::JumpForward() {
  ScrollView& v = active();
  for (long line = v.position + v.rows(); line < count(); ++line) {
    if (text_.colors[line] & kMarked) {
      v.CenterForward(line, count());
      Vertical(true);
      return;
    }
  }
}

void Viewer::JumpBackward() {
  ScrollView& v = active();
  for (long line = std::min(v.position, count()) - 1; line >= 0; --line) {
    if (text_.colors[line] & kMarked) {
      v.CenterBackward(line);
      Vertical(true);
      return;
    }
  }
}

void Viewer::MarkLines(bool ignoreCase) {
  const LineSearch search(pattern_, ignoreCase);
  for (LineWalker walker(text_, 0); !walker.AtEnd(); walker.Next()) {
    uint8_t& color = text_.colors[walker.index()];
    const bool marked = search.Matches(walker.line()) != nonMatch_;
    color = static_cast<uint8_t>((color & ~kMarked) | (marked ? kMarked : 0));
  }
}

void Viewer::Search() {
  ScrollView& v = active();
  LineEdit edit(pattern_, kPatternBytes);
  bool nonMatch = nonMatch_;
  bool ignoreCase = v.ignoreCase;
  const int fieldCells = v.width() - 2;
  const uint8_t markerAttr = kSearchPromptBackground * 16 + kStatusAttr;
  int endKey = 0;
  while (endKey == 0) {
    const char markers[2] = {nonMatch ? '!' : ' ', ignoreCase ? 'i' : ' '};
    terminal_.DrawRun(v.top, v.left, std::string_view(markers, 2), markerAttr);
    std::string field(edit.Shown(fieldCells));
    const int cursorCol = v.left + 2 + static_cast<int>(edit.cursor() - edit.firstShown());
    field.resize(fieldCells, ' ');
    terminal_.DrawRun(v.top, v.left + 2, field, kStatusAttr);
    terminal_.MoveCursor(v.top, cursorCol);
    terminal_.ShowCursor(true);
    Sync();
    const KeyEvent key = ReadKey();
    if (edit.Apply(key)) continue;
    switch (key.code) {
      case 9:
        ignoreCase = !ignoreCase;
        break;
      case kCtrlR:
        nonMatch = !nonMatch;
        break;
      case 27:
      case 13:
      case kCtrlN:
      case kCtrlP:
        endKey = key.code;
        break;
      default:
        break;
    }
  }
  terminal_.ShowCursor(false);
  if (endKey == 27) {
    DrawLine(active_, 0);
    return;
  }
  pattern_ = edit.text();
  nonMatch_ = nonMatch;
  v.ignoreCase = ignoreCase;
  MarkLines(ignoreCase);
  for (int n = 0; n < paneCount(); ++n) DrawPane(n);
  if (endKey == kCtrlP) {
    JumpBackward();
  } else {
    JumpForward();
  }
}

void Viewer::GoToLine(int digit) {
  ScrollView& v = active();
  if (count() < v.rows()) return;
  LineEdit edit(std::string(1, static_cast<char>(digit)), kGoToCells);
  const int col = v.right - 10;
  int endKey = 0;
  while (endKey == 0) {
    std::string field(edit.Shown(kGoToCells));
    const int cursorCol = col + static_cast<int>(edit.cursor() - edit.firstShown());
    field.resize(kGoToCells, ' ');
    terminal_.DrawRun(v.statusRow(), col, field, kStatusAttr);
    terminal_.MoveCursor(v.statusRow(), cursorCol);
    terminal_.ShowCursor(true);
    Sync();
    const KeyEvent key = ReadKey();
    if (!edit.Apply(key) && (key.code == 13 || key.code == 27)) endKey = key.code;
  }
  terminal_.ShowCursor(false);
  const std::string& number = edit.text();
  const bool decimal = !number.empty() && std::all_of(number.begin(), number.end(), [](char c) {
    return IsAsciiDigit(static_cast<unsigned char>(c));
  });
  // Seven digits never overflow a long.
  if (endKey == 13 && decimal) {
    const long line = std::strtol(number.c_str(), nullptr, 10);
    if (line <= count() - v.rows() && line != v.position) {
      v.position = line;
      DrawPane(active_);
    }
  }
  DrawStatusRow(active_);
}

void Viewer::SplitOrSwitch() {
  if (split_) {
    active_ = 1 - active_;
    DrawSeparator();
    return;
  }
  const ScrollView v = views_[0];
  if (v.rows() < 3 || count() <= v.rows()) return;
  separatorRow_ = v.top + v.rows() / 2;
  views_[0].bottom = separatorRow_ - 1;
  views_[1] = v;
  views_[1].top = separatorRow_ + 1;
  views_[1].position = v.position + (separatorRow_ - v.top) + 1;
  split_ = true;
  active_ = 0;
  for (int n = 0; n < 2; ++n) {
    DrawPane(n);
    DrawStatusRow(n);
  }
}

void Viewer::Unsplit() {
  if (!split_) return;
  const ScrollView& from = active();
  ScrollView single = whole_;
  single.position = from.position;
  if (active_ == 1) {
    single.position = std::max(
        std::min(from.position - (separatorRow_ - whole_.top), LastPosition(count(), single.rows())), 0L);
  }
  single.offset = from.offset;
  single.fixed = from.fixed;
  single.synchronous = from.synchronous;
  single.ignoreCase = from.ignoreCase;
  views_[0] = single;
  split_ = false;
  active_ = 0;
  DrawPane(0);
  DrawStatusRow(0);
}

}  // namespace vondal::scroll

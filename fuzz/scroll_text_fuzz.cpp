// scroll's line reader, colour detection, line drawing and search on any bytes. The first byte picks the
// colour mode (none or one of "cs013dt") and the sideways offset; the rest is the file. Every
// line must come from the file, be no longer than the line buffer and keep its two-byte
// characters whole; every line must draw into exactly the view's width without a raw control
// byte or half a character.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/text/sjis.h"
#include "app/text/wildcard.h"
#include "tools/scroll/line_cells.h"
#include "tools/scroll/line_colors.h"
#include "tools/scroll/line_reader.h"
#include "tools/scroll/line_search.h"
#include "tools/scroll/scroll_text.h"

namespace {

void Fail(int line) {
  std::fprintf(stderr, "scroll_text_fuzz.cpp:%d: check failed\n", line);
  std::abort();
}
#define Check(ok) ((ok) ? void() : Fail(__LINE__))

// The cells as the terminal would pair them: never a lead byte without its second byte, never a
// control byte.
void CheckCells(std::string_view cells, int width) {
  Check(cells.size() == static_cast<size_t>(width));
  for (size_t i = 0; i < cells.size();) {
    const auto c = static_cast<unsigned char>(cells[i]);
    if (vondal::IsLeadByte(c)) {
      Check(i + 1 < cells.size());
      i += 2;
    } else {
      Check(c >= 0x20 && c != 0x7F);
      ++i;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  constexpr char kModes[] = {0, 'c', 's', '0', '1', '3', 'd', 't'};
  const char mode = kModes[data[0] % 8];
  const int offset = (data[0] >> 3) * 3;
  const std::string_view content(reinterpret_cast<const char*>(data) + 1, size - 1);

  vondal::BlockAllocator allocator(SIZE_MAX, vondal::scroll::kScrollBlockSize);
  vondal::scroll::ScrollText text;
  const std::string failure =
      vondal::scroll::BuildText(content, mode, content.substr(0, 64), allocator, &text);
  Check(failure.empty());
  Check(mode == 0 || text.mode == mode || (mode == '0' && text.mode == '3'));
  for (vondal::scroll::LineWalker walker(text, 0); !walker.AtEnd(); walker.Next()) {
    const std::string_view line = walker.line();
    Check(line.size() <= vondal::scroll::kLineBuffer);
    Check(line.data() >= content.data() && line.data() + line.size() <= content.data() + content.size());
    Check(text.colors[walker.index()] < vondal::scroll::kMarked);
    Check(text.Line(walker.index()) == line);
    for (int fixed : {0, 3}) CheckCells(vondal::scroll::LineCells(line, offset, fixed, 12), 12);
    Check(vondal::scroll::ExpandedWidth(line) >= 0);
  }
  // The search finds what the matcher finds: the quick look at the pattern's plain run passes
  // over no matching line.
  const std::string_view pattern = content.substr(0, std::min<size_t>(content.size(), data[0] % 16));
  for (bool ignoreCase : {false, true}) {
    const vondal::scroll::LineSearch search(pattern, ignoreCase);
    for (vondal::scroll::LineWalker walker(text, 0); !walker.AtEnd(); walker.Next()) {
      Check(search.Matches(walker.line()) == vondal::jstrwldc(pattern, walker.line(), ignoreCase));
    }
  }
  return 0;
}

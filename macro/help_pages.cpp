#include "macro/help_pages.h"

#include <algorithm>

#include "app/text/sjis.h"
#include "color/color_set.h"
#include "console/console.h"
#include "console/key_source.h"
#include "console/menu_line.h"
#include "macro/edit_error.h"
#include "macro/edit_state.h"

namespace vondal {
namespace {

constexpr int kBoxWidth = 80;
constexpr int kMaxHelpBytes = 1 << 20;  // far more than ten pages

uint8_t ColorOfDigit(char digit) {
  if (digit >= '0' && digit <= '9') return ColorOf(static_cast<ColorElement>(digit - '0'));
  return ColorOf(ColorElement::rTextEnd);
}

// One line of a page: runs of characters of one colour; a two-byte character takes the colour of
// its first column.
void DrawHelpLine(std::string_view text, std::string_view colors, int row, int col) {
  Screen& screen = TheScreen();
  const int limit = col + kHelpTextBytes;
  size_t pos = 0;
  while (pos < text.size()) {
    const char digit = pos < colors.size() ? colors[pos] : ' ';
    size_t end = pos;
    while (end < text.size() && (end < colors.size() ? colors[end] : ' ') == digit)
      end += CharLength(text, end);
    const uint8_t attr = ColorOfDigit(digit);
    screen.PutText(text.substr(pos, end - pos), row, col + static_cast<int>(pos), limit, attr, attr);
    pos = end;
  }
}

void DrawPage(std::string_view bytes, int page) {
  Screen& screen = TheScreen();
  const int left = std::max(0, (screen.Width() - kBoxWidth) / 2);
  const int top = std::max(0, (MessageRow() + 1 - (kHelpLines + 2)) / 2);
  const int right = std::min(screen.Width() - 1, left + kBoxWidth - 1);
  for (int row = top; row <= top + kHelpLines + 1; ++row) screen.ClearCells(row, left, right);
  screen.DrawBox(top, left, top + kHelpLines + 1, right, ColorOf(ColorElement::MacroBox));
  const std::string_view content = bytes.substr(static_cast<size_t>(page) * kHelpPageBytes, kHelpPageBytes);
  for (int i = 0; i < kHelpLines; ++i) {
    const std::string_view line = content.substr(i * kHelpLineBytes, kHelpLineBytes);
    std::string_view text = line.substr(0, kHelpTextBytes);
    text = CutAtCharacter(text.substr(0, text.find('\0')), kHelpTextBytes);
    DrawHelpLine(text, line.substr(kHelpColorOffset, kHelpTextBytes), top + 1 + i, left + 1);
  }
  Flush();
}

bool ReadHelpFile(FileSystem& fs, const std::string& path, std::string& bytes) {
  std::unique_ptr<File> file = fs.Open(path, OpenMode::kRead);
  if (!file) return false;
  const int64_t size = file->Size();
  if (size < kHelpPageBytes || size > kMaxHelpBytes) return false;
  bytes.assign(static_cast<size_t>(size), '\0');
  return file->ReadAt(0, bytes.data(), bytes.size()) == size;
}

}  // namespace

int HelpPageCount(std::string_view bytes) { return static_cast<int>(bytes.size() / kHelpPageBytes); }

int ShowHelpPages(FileSystem& fs, const std::string& path, int page) {
  std::string bytes;
  if (!ReadHelpFile(fs, path, bytes)) {
    ShowMessage("Ru2Macro.TXTが読めません", TheEditState());
    return -1;
  }
  const int pages = HelpPageCount(bytes);
  page = std::clamp(page, 0, pages - 1);
  for (;;) {
    DrawPage(bytes, page);
    ShowMenu("$↑↓$ﾍﾟｰｼﾞ移動 $0～9$直接移動");
    const KeyEvent key = ReadKey();
    if (key.code == 27 || key.code == 13) return page;
    if (key.code == kExtendedKey + scan::kUp) {
      page = page == 0 ? pages - 1 : page - 1;
    } else if (key.code == kExtendedKey + scan::kDown) {
      page = page == pages - 1 ? 0 : page + 1;
    } else if (key.code >= '0' && key.code <= '9' && key.code - '0' < pages) {
      page = key.code - '0';
    } else {
      RejectKey(key.code);
    }
  }
}

}  // namespace vondal

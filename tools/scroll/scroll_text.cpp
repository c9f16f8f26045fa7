#include "tools/scroll/scroll_text.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/text/sjis.h"
#include "tools/scroll/line_colors.h"
#include "tools/scroll/line_reader.h"

namespace vondal::scroll {
namespace {

// The line as shown: in mode "c" without its first character, the colour letter.
std::string_view Shown(std::string_view line, bool letterFirst) {
  if (letterFirst && !line.empty()) line.remove_prefix(CharLength(line, 0));
  return line;
}

// The first line of the colour file, without its line end; false when it cannot be read. The
// line holds a letter for every line of the text: no line buffer applies to it.
bool ReadColorLetters(const std::string& name, std::string* letters) {
  std::unique_ptr<MappedFile> file = MappedFile::Open(name);
  if (file == nullptr) return false;
  std::string_view line = file->bytes().substr(0, file->bytes().find('\n'));
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  *letters = std::string(line);
  return true;
}

}  // namespace

std::string_view ScrollText::Line(size_t n) const { return LineWalker(*this, n).line(); }

LineWalker::LineWalker(const ScrollText& text, size_t first) : text_(text), index_(first) {
  if (AtEnd()) return;
  const size_t checkpoint = first / kCheckpointStep;
  pos_ = text_.checkpoints[checkpoint];
  LineFeedFinder finder(text_.content);
  for (size_t n = checkpoint * kCheckpointStep; n < first; ++n)
    pos_ = NextLine(text_.content, pos_, finder).next;
  Read();
}

void LineWalker::Read() {
  const LinePiece piece = NextLine(text_.content, pos_);
  line_ = Shown(piece.text, text_.letterFirst);
  pos_ = piece.next;
}

void LineWalker::Next() {
  ++index_;
  if (!AtEnd()) Read();
}

std::string BuildText(std::string_view content, char mode, std::string_view colorLetters,
                      BlockAllocator& allocator, ScrollText* text) {
  content = WithoutEndMark(content);
  // One pass finds the lines and, without a mode, the mode.
  std::vector<size_t> checkpoints;
  ColorModeDetector detector(content);
  LineFeedFinder finder(content);
  size_t count = 0;
  for (size_t pos = 0; pos < content.size(); ++count) {
    if (count % kCheckpointStep == 0) checkpoints.push_back(pos);
    const LinePiece piece = NextLine(content, pos, finder);
    if (mode == kNoColorMode) detector.See(piece.text);
    pos = piece.next;
  }
  auto* colors = static_cast<uint8_t*>(allocator.Allocate(count));
  auto* starts =
      static_cast<size_t*>(allocator.Allocate(checkpoints.size() * sizeof(size_t), alignof(size_t)));
  if (colors == nullptr || starts == nullptr) return allocator.failure();
  std::copy(checkpoints.begin(), checkpoints.end(), starts);
  text->content = content;
  text->colors = std::span<uint8_t>(colors, count);
  text->checkpoints = std::span<size_t>(starts, checkpoints.size());
  text->letterFirst = mode == 'c';
  if (mode == kNoColorMode) mode = detector.mode();
  text->mode = mode;

  switch (mode) {
    case kNoColorMode:
      std::memset(colors, kPlainColor, count);
      break;
    case 'c': {
      size_t n = 0;
      ForEachLine(content, [&](std::string_view line) {
        colors[n++] = line.empty() ? kPlainColor : ColorOfLetter(line[0]);
      });
      break;
    }
    case 's':
      for (size_t n = 0; n < count; ++n)
        colors[n] = n < colorLetters.size() ? ColorOfLetter(colorLetters[n]) : kPlainColor;
      break;
    default: {
      if (mode == '0') {
        bool comparison = false;
        ForEachLine(content, [&](std::string_view line) { comparison = comparison || IsFileAHeader(line); });
        if (comparison) text->mode = mode = '3';
      }
      LineColorRule rule(mode);
      size_t n = 0;
      ForEachLine(content, [&](std::string_view line) { colors[n++] = rule.ColorOf(line); });
      break;
    }
  }
  return "";
}

std::string ReadText(const std::string& fileName, char mode, const std::string& colorFileName,
                     BlockAllocator& allocator, ScrollText* text) {
  std::unique_ptr<MappedFile> file = MappedFile::Open(fileName);
  if (file == nullptr) return "Can't open text file";
  std::string letters;
  if (mode == 's' && !ReadColorLetters(colorFileName, &letters)) return "Can't open color file";
  std::string failure = BuildText(file->bytes(), mode, letters, allocator, text);
  text->file = std::move(file);
  return failure;
}

}  // namespace vondal::scroll

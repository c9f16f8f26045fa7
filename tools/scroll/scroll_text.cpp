#include "tools/scroll/scroll_text.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "app/text/charset.h"
#include "app/text/sjis.h"
#include "tools/scroll/line_colors.h"
#include "tools/scroll/line_reader.h"

namespace vondal::scroll {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePointer = std::unique_ptr<std::FILE, FileCloser>;

FilePointer OpenForReading(const std::string& name) {
  const std::string systemName = FileNameForSystem(name);
  std::error_code error;
  if (name.empty() || std::filesystem::is_directory(systemName, error)) return nullptr;
  return FilePointer(std::fopen(systemName.c_str(), "rb"));
}

// The whole file into memory from the allocator. A regular file is read in one piece of its
// size; anything else (a pipe) in chunks. Empty on success.
std::string ReadAll(std::FILE* file, const std::string& systemName, BlockAllocator& allocator,
                    std::string_view* content) {
  std::error_code error;
  const uintmax_t size = std::filesystem::file_size(systemName, error);
  if (!error) {
    char* bytes = static_cast<char*>(allocator.Allocate(size + 1));
    if (bytes == nullptr) return allocator.failure();
    const size_t got = std::fread(bytes, 1, size, file);
    if (std::ferror(file)) return "Can't open text file";
    *content = std::string_view(bytes, got);  // a file that shrank meanwhile ends early
    return "";
  }
  std::string chunks;
  char buffer[65536];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) chunks.append(buffer, n);
  if (std::ferror(file)) return "Can't open text file";
  char* bytes = static_cast<char*>(allocator.Allocate(chunks.size() + 1));
  if (bytes == nullptr) return allocator.failure();
  std::memcpy(bytes, chunks.data(), chunks.size());
  *content = std::string_view(bytes, chunks.size());
  return "";
}

// The first line of the colour file, without its line end.
bool ReadFirstLine(std::FILE* file, std::string* line) {
  for (int c; (c = std::getc(file)) != EOF && c != '\n';) line->push_back(static_cast<char>(c));
  if (!line->empty() && line->back() == '\r') line->pop_back();
  return !std::ferror(file);
}

}  // namespace

std::string BuildText(std::string_view content, char mode, std::string_view colorLetters,
                      BlockAllocator& allocator, ScrollText* text) {
  const size_t count = CountLines(content);
  auto* lines = static_cast<std::string_view*>(allocator.Allocate(count * sizeof(std::string_view)));
  auto* colors = static_cast<uint8_t*>(allocator.Allocate(count));
  if (count > 0 && (lines == nullptr || colors == nullptr)) return allocator.failure();
  text->content = content;
  text->lines = std::span<std::string_view>(lines, count);
  text->colors = std::span<uint8_t>(colors, count);
  size_t i = 0;
  ForEachLine(content, [&](std::string_view line) { lines[i++] = line; });

  if (mode == 'c') {
    for (size_t n = 0; n < count; ++n) {
      std::string_view& line = lines[n];
      colors[n] = line.empty() ? kPlainColor : ColorOfLetter(line[0]);
      if (!line.empty()) line.remove_prefix(CharLength(line, 0));
    }
  } else if (mode == 's') {
    ColorLinesFromLetters(colorLetters, text->colors);
  } else {
    if (mode == kNoColorMode) mode = DetectColorMode(text->lines);
    mode = RefineColorMode(mode, text->lines);
    ColorLines(mode, text->lines, text->colors);
  }
  text->mode = mode;
  return "";
}

std::string ReadText(const std::string& fileName, char mode, const std::string& colorFileName,
                     BlockAllocator& allocator, ScrollText* text) {
  FilePointer file = OpenForReading(fileName);
  if (file == nullptr) return "Can't open text file";
  std::string_view content;
  if (std::string failure = ReadAll(file.get(), FileNameForSystem(fileName), allocator, &content);
      !failure.empty()) {
    return failure;
  }
  file.reset();
  std::string letters;
  if (mode == 's') {
    FilePointer colorFile = OpenForReading(colorFileName);
    if (colorFile == nullptr || !ReadFirstLine(colorFile.get(), &letters)) return "Can't open color file";
  }
  return BuildText(content, mode, letters, allocator, text);
}

}  // namespace vondal::scroll

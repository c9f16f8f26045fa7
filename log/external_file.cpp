#include "log/external_file.h"

#include <cstring>

#include "app/text/sjis.h"

namespace vondal {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";
constexpr char kCannotOpen[] = "外部ﾌｧｲﾙをｵｰﾌﾟﾝできません";

int HexValue(char c) {
  const char* found = c != 0 ? std::strchr(kHexDigits, c) : nullptr;
  return found != nullptr ? static_cast<int>(found - kHexDigits) : -1;
}

}  // namespace

std::string HexEncode(std::string_view text) {
  std::string digits;
  digits.reserve(text.size() * 2);
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    digits.push_back(kHexDigits[byte >> 4]);
    digits.push_back(kHexDigits[byte & 0x0F]);
  }
  return digits;
}

std::string HexDecode(std::string_view digits) {
  std::string text;
  for (size_t i = 0; i < digits.size(); i += 2) {
    const int high = HexValue(digits[i]);
    const int low = i + 1 < digits.size() ? HexValue(digits[i + 1]) : -1;
    if (high < 0 || low < 0) {
      text.push_back('?');
    } else if (high == 0 && low == 0) {
      break;
    } else {
      text.push_back(static_cast<char>(high * 16 + low));
    }
  }
  return text;
}

void ExternalFile::OpenExternalAtStart(std::string_view value, LogUi& ui) {
  const char letter = value.empty() ? 0 : AsciiUpper(value[0]);
  if (letter != 'R' && letter != 'W') {
    ui.StartupLine(10, 0, "外部ﾌｧｲﾙの指定が不正です", true);
    return;
  }
  if (!Open(letter, std::string(value.substr(1))).empty()) {
    ui.StartupLine(10, 0, kCannotOpen, true);
    return;
  }
  ui.StartupLine(10, 0, "外部ﾌｧｲﾙ=" + Value());
}

bool ExternalFile::OpenFile() {
  file_ = fs_.Open(name_, mode_ == 'R' ? OpenMode::kRead : OpenMode::kAppend);
  if (file_ == nullptr) mode_ = 0;
  return file_ != nullptr;
}

std::string ExternalFile::Open(char mode, const std::string& name) {
  Close();
  mode_ = mode;
  name_ = name;
  readOffset_ = 0;
  return OpenFile() ? "" : kCannotOpen;
}

void ExternalFile::Close() {
  file_.reset();
  mode_ = 0;
  counters_[kCountExternal] = 0;
}

void ExternalFile::CloseForViewing() { file_.reset(); }

std::string ExternalFile::Reopen() {
  if (mode_ == 0) return "";
  if (OpenFile()) return "";
  counters_[kCountExternal] = 0;
  return kCannotOpen;
}

ExternalResult ExternalFile::Access(std::string& text, bool hex) {
  if (file_ == nullptr) return {"外部ﾌｧｲﾙがありません", true};
  if (mode_ == 'W') return Write(hex ? HexEncode(text) : text);
  return Read(text, hex);
}

ExternalResult ExternalFile::Write(std::string_view line) {
  const int64_t size = file_->Size();
  std::string bytes(line);
  bytes += "\r\n";
  if (size < 0 || file_->WriteAt(size, bytes.data(), bytes.size()) != static_cast<int64_t>(bytes.size())) {
    // Whatever reached the file is taken back: no half line stays behind.
    if (size >= 0) file_->Truncate(size);
    return {"外部ﾌｧｲﾙに書込めません", true};
  }
  ++counters_[kCountExternal];
  return {};
}

ExternalResult ExternalFile::Read(std::string& text, bool hex) {
  const size_t limit = hex ? kExternalHexDigits : kExternalPlainBytes;
  // Room for the longest piece and its CR LF.
  std::string buffer(limit + 2, '\0');
  const int64_t got = file_->ReadAt(readOffset_, buffer.data(), buffer.size());
  if (got <= 0) {
    Close();
    return {"外部ﾌｧｲﾙの終端です", false};
  }
  buffer.resize(got);
  std::string_view line = buffer;
  // The line ends at its line feed, or at the end of the file when that comes first.
  const size_t lineFeed = line.find('\n');
  const bool complete = lineFeed != std::string_view::npos || buffer.size() < limit + 2;
  const size_t lineEnd = lineFeed != std::string_view::npos ? lineFeed : line.size();
  size_t end = lineEnd;
  if (end > 0 && line[end - 1] == '\r') --end;
  size_t consumed;
  if (complete && end <= limit) {
    line = line.substr(0, end);
    consumed = lineFeed != std::string_view::npos ? lineFeed + 1 : lineEnd;
  } else {
    line = CutAtCharacter(line, limit);
    consumed = line.size();
  }
  readOffset_ += static_cast<int64_t>(consumed);
  line = line.substr(0, line.find('\0'));  // the text being edited ends at a NUL byte
  text = hex ? HexDecode(line) : std::string(line);
  return {};
}

}  // namespace vondal

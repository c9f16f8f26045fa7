// The external file: a plain text file the user or a key macro reads lines from into the text
// being edited, or appends the edited text to, one line per access. At most one is open, for
// reading ("R") or for writing ("W"). Lines are written with CR LF and read with CR LF or LF;
// a line is the text as it is (plain) or every byte as two lower-case hex digits (hex).
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "log/file_system.h"
#include "log/log_ui.h"
#include "log/write_counters.h"

namespace vondal {

// The longest piece one read takes from the file: plain bytes, hex digits. A longer line is
// read in pieces, never inside a two-byte character.
inline constexpr size_t kExternalPlainBytes = 251;
inline constexpr size_t kExternalHexDigits = 511;

// Every byte as two digits of "0123456789abcdef", high half first.
std::string HexEncode(std::string_view text);

// Each pair of digits back to one byte. A pair with a character outside "0123456789abcdef"
// becomes "?", and so does a single digit at the end. The text ends at a decoded NUL byte, as a
// text being edited cannot hold one.
std::string HexDecode(std::string_view digits);

// The outcome of an access: a message for the message line (empty when there is none) and
// whether it is an error (shown with the beep).
struct ExternalResult {
  std::string message;
  bool error = false;
};

class ExternalFile {
 public:
  ExternalFile(FileSystem& fs, WriteCounters& counters) : fs_(fs), counters_(counters) {}

  // Start-up with the `external` value: "R" or "W" (either case) and the file name. Shows on
  // row R0+10 "外部ﾌｧｲﾙ=" and the value, or in the error colour "外部ﾌｧｲﾙの指定が不正です" (any
  // other first character) or "外部ﾌｧｲﾙをｵｰﾌﾟﾝできません"; the file stays closed then.
  void OpenExternalAtStart(std::string_view value, LogUi& ui);

  // Closes any open file and opens `name` for reading ('R') or appending ('W'), which resets the
  // External counter. "" or "外部ﾌｧｲﾙをｵｰﾌﾟﾝできません" (the file is closed then).
  std::string Open(char mode, const std::string& name);

  // Closes the file (if open); the name stays for the next prompt. Resets the External counter.
  void Close();

  // One access on `text`, the text being edited. Writing appends the text and a line end and
  // counts External ("外部ﾌｧｲﾙに書込めません" when the file takes it only in part, which is
  // then cut off again). Reading replaces the text with the next line; at the end of the file
  // "外部ﾌｧｲﾙの終端です" and the file is closed. Closed: the error "外部ﾌｧｲﾙがありません".
  ExternalResult Access(std::string& text, bool hex);

  // For viewing: closes the file but keeps where reading stands, and opens it again afterwards
  // in its mode at that place. Reopen gives "" or "外部ﾌｧｲﾙをｵｰﾌﾟﾝできません" (closed then).
  void CloseForViewing();
  std::string Reopen();

  // 'R', 'W', or 0 when closed.
  char mode() const { return mode_; }
  const std::string& name() const { return name_; }
  bool isOpen() const { return mode_ != 0; }
  // The `external` value: the mode letter and the name, or "" when closed.
  std::string Value() const { return isOpen() ? mode_ + name_ : std::string(); }

 private:
  ExternalResult Write(std::string_view line);
  ExternalResult Read(std::string& text, bool hex);
  bool OpenFile();

  FileSystem& fs_;
  WriteCounters& counters_;
  std::unique_ptr<File> file_;
  char mode_ = 0;
  std::string name_;
  int64_t readOffset_ = 0;
};

}  // namespace vondal

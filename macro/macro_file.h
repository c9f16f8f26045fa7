// The macro file (".VDM"): the store's records in use, 320 bytes each, one after another
// (doc/macro_format.md). Read at start-up and by the macro editor's join-read, written at the end
// of the program and by save-as; a rewrite goes to a temporary file that is synced and renamed
// over the old one, so the old file survives any failure.
#pragma once

#include <string>
#include <string_view>

#include "log/file_system.h"
#include "log/log_ui.h"
#include "macro/macro_store.h"

namespace vondal {

// The texts a read can fail with. Each begins with a code digit that is not shown (the callers
// show the text from its second byte): 0 the file is not there, 1 its size is no whole number of
// ten records, 2 it does not fit beside the records in use, 3 it is there but cannot be read.
inline constexpr char kMacroFileMissing[] = "0ﾏｸﾛﾌｧｲﾙをｵｰﾌﾟﾝできません";
inline constexpr char kMacroFileAbnormal[] = "1ﾏｸﾛﾌｧｲﾙが異常です";
inline constexpr char kMacroFileTooLarge[] = "2ﾏｸﾛﾌｧｲﾙが大きすぎます";
inline constexpr char kMacroFileUnreadable[] = "3ﾏｸﾛﾌｧｲﾙを読込めません";
// The texts a write can fail with (shown as they stand).
inline constexpr char kMacroFileNotCreated[] = "ﾏｸﾛﾌｧｲﾙを書込ｵｰﾌﾟﾝできません";
inline constexpr char kMacroFileNotWritten[] = "ﾏｸﾛﾌｧｲﾙに書込めません";

// The text of a read failure as the user reads it: without its code digit.
inline std::string_view WithoutCode(std::string_view readFailure) { return readFailure.substr(1); }

// Appends the file's records after the store's records in use: "" or one of the read failures,
// the store unchanged then.
std::string ReadMacroFile(FileSystem& fs, const std::string& name, MacroStore& store);

// Writes the store's records in use to `name`: "" or one of the write failures, the old file
// unchanged then.
std::string WriteMacroFile(FileSystem& fs, const std::string& name, const MacroStore& store);

// A name typed for join-read or save-as with its extension (".VDM" when it has none).
std::string MacroFileName(std::string_view typed);

// The outcome of loading at start-up: a fatal text (the program ends with status 1) or none.
struct MacroLoad {
  std::string fatal;
  std::string fileName;  // the `macro` value without its start choice
};

// Start-up: the `macro` setting is the file name, optionally followed by "#" and a start
// choice (a two-digit macro number, or a word searched in the comments, quoted or not).
// A file that is not there gives a new store ("新ﾏｸﾛ=" on the start-up screen, else "ﾏｸﾛ="); a
// file that is abnormal, too large or unreadable ends the program, so that the store saved at the
// end never replaces a file the user still has. Sets the start macro and the as-loaded image.
MacroLoad LoadMacrosAtStart(FileSystem& fs, std::string_view setting, MacroStore& store, LogUi& ui);

// The start macro a choice names: a two-digit number from 1 below the count, or the first
// macro from 1 up whose comment holds the word (a quoted word loses its quotes; a quote that is
// not closed names none). `fromHeader` is the header's initialization macro.
int StartMacroFor(std::string_view choice, const MacroStore& store, int fromHeader);

// The end of the program: writes the store to `name` when it changed and a name is set, showing
// "ﾏｸﾛ保存" on the report line while it writes. Returns "" or the failure (also reported).
std::string SaveMacrosAtEnd(FileSystem& fs, const std::string& name, MacroStore& store, LogUi& ui);

}  // namespace vondal

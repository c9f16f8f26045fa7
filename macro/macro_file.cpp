#include "macro/macro_file.h"

#include <cassert>

#include "app/text/file_name.h"
#include "app/text/wildcard.h"
#include "macro/edit_text.h"

namespace vondal {

using namespace macro_format;

namespace {

constexpr int kStartupRow = 4;  // the macro file's line on the start-up screen

}  // namespace

std::string ReadMacroFile(FileSystem& fs, const std::string& name, MacroStore& store) {
  std::unique_ptr<File> file = fs.Open(name, OpenMode::kRead);
  if (!file) return fs.Exists(name) ? kMacroFileUnreadable : kMacroFileMissing;
  const int64_t size = file->Size();
  if (size < 0) return kMacroFileUnreadable;
  if (size == 0 || size % kFileUnitBytes != 0) return kMacroFileAbnormal;
  if (size > static_cast<int64_t>(kStoreBytes) - static_cast<int64_t>(store.Count()) * kRecordBytes)
    return kMacroFileTooLarge;
  std::string bytes(static_cast<size_t>(size), '\0');
  if (file->ReadAt(0, bytes.data(), bytes.size()) != size) return kMacroFileUnreadable;
  store.Append(bytes);
  return "";
}

std::string WriteMacroFile(FileSystem& fs, const std::string& name, const MacroStore& store) {
  const std::string image = store.FileImage();
  FileReplacement file(fs, name);
  if (!file.Open()) return kMacroFileNotCreated;
  if (!file.Write(image.data(), image.size()) || !file.Commit()) return kMacroFileNotWritten;
  return "";
}

std::string MacroFileName(std::string_view typed) { return CompleteFileName(typed, "VDM"); }

int StartMacroFor(std::string_view choice, const MacroStore& store, int fromHeader) {
  const int count = store.Count();
  if (choice.empty()) return fromHeader > 0 && fromHeader < count ? fromHeader : 0;
  if (jstrwldc("##", choice, false)) {
    const int n = (choice[0] - '0') * 10 + (choice[1] - '0');
    return n >= 1 && n < count ? n : 0;
  }
  std::string_view word = choice;
  if (word.front() == '"') {
    if (word.size() < 2 || word.back() != '"') return 0;
    word = word.substr(1, word.size() - 2);
  }
  if (word.empty()) return 0;
  for (int n = 1; n < count; ++n) {
    if (FindTarget(store.Comment(n), 0, word) >= 0) return n;
  }
  return 0;
}

MacroLoad LoadMacrosAtStart(FileSystem& fs, std::string_view setting, MacroStore& store, LogUi& ui) {
  assert(store.Count() == 0);
  MacroLoad load;
  const size_t hash = setting.find('#');  // "#" is never the second byte of a character
  load.fileName = std::string(setting.substr(0, hash));
  const std::string_view choice = hash == std::string_view::npos ? "" : setting.substr(hash + 1);

  const std::string failure = ReadMacroFile(fs, load.fileName, store);
  if (failure.empty()) {
    ui.StartupLine(kStartupRow, 0, "ﾏｸﾛ=" + load.fileName);
  } else if (failure == kMacroFileMissing) {
    store.MakeNew();
    ui.StartupLine(kStartupRow, 0, "新ﾏｸﾛ=" + load.fileName);
  } else {
    load.fatal = std::string(WithoutCode(failure));
    return load;
  }
  store.SetStartMacro(StartMacroFor(choice, store, store.SlotMacro(kInitializationSlot)));
  store.TakeAsLoaded();
  return load;
}

std::string SaveMacrosAtEnd(FileSystem& fs, const std::string& name, MacroStore& store, LogUi& ui) {
  if (name.empty() || !store.Modified()) return "";
  ui.ReportLine("ﾏｸﾛ保存");
  std::string failure = WriteMacroFile(fs, name, store);
  if (!failure.empty()) ui.ReportLine(failure);
  return failure;
}

}  // namespace vondal

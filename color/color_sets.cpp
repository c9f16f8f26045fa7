#include "color/color_sets.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "app/text/file_name.h"
#include "app/text/sjis.h"
#include "app/text/text_helpers.h"
#include "app/text/wildcard.h"

namespace vondal {
namespace {

// What reading a colour file found: its size, its kind and up to `maxSets` whole set records.
struct ColorFileRead {
  int64_t size = 0;
  ColorFileKind kind = ColorFileKind::kNone;  // kNone: no whole header with a known magic
  int standard = 0;
  std::vector<ColorSet> sets;
  bool failed = false;  // the file could not be read to its end
};

ColorFileRead ReadColorFile(File& file, int maxSets) {
  ColorFileRead read;
  read.size = file.Size();
  std::string header(kColorRecordSize, '\0');
  if (read.size < 0 || file.ReadAt(0, header.data(), header.size()) != static_cast<int64_t>(header.size())) {
    read.failed = true;
    return read;
  }
  read.kind = ColorFileKindOf(header);
  if (read.kind == ColorFileKind::kNone) return read;
  read.standard = static_cast<uint8_t>(header[kColorStandardOffset]);
  const int64_t records = (read.size - static_cast<int64_t>(kColorRecordSize)) / kColorRecordSize;
  std::string body(std::min<int64_t>(records, maxSets) * kColorRecordSize, '\0');
  const int64_t got = file.ReadAt(kColorRecordSize, body.data(), body.size());
  if (got != static_cast<int64_t>(body.size())) {
    read.failed = true;
    return read;
  }
  for (size_t at = 0; at < body.size(); at += kColorRecordSize) {
    read.sets.push_back(DecodeColorSet(std::string_view(body).substr(at, kColorRecordSize), read.kind));
  }
  return read;
}

}  // namespace

ColorSets::ColorSets(FileSystem& fs, WriteCounters& counters)
    : fs_(fs), counters_(counters), sets_{DefaultColorSet()} {
  loaded_ = onEntry_ = TakeImage();
}

ColorLoadReport ColorSets::Load(std::string_view setting) {
  sets_ = {DefaultColorSet()};
  standard_ = current_ = 0;
  CountChange();  // the default set alone is a new file to write
  const size_t hash = setting.find('#');
  fileName_ = std::string(setting.substr(0, hash));
  const std::string_view selection = hash == std::string_view::npos ? "" : setting.substr(hash + 1);

  ColorLoadReport report;
  bool found = true;
  if (std::unique_ptr<File> file = fs_.Open(fileName_, OpenMode::kRead)) {
    ColorFileRead read = ReadColorFile(*file, kMaxColorSets);
    // A file that is there is never replaced by the default set: whatever it holds, it does
    // not count as changed.
    counters_[kCountColor] = 0;
    if (!read.failed && !read.sets.empty()) {
      sets_ = std::move(read.sets);
      // A standard number beyond the sets would name no set; the first one stands in.
      standard_ = read.standard < count() ? read.standard : 0;
      current_ = SelectedSet(selection);
      if (read.kind == ColorFileKind::kSixteenBit) {
        report.note = "配色ﾌｧｲﾙが16bit版用なので変換";
        CountChange();
      }
    }
  } else if (!fs_.Exists(fileName_)) {
    found = false;
    report.note = "規定の配色を使用";
  } else {
    counters_[kCountColor] = 0;  // there but unreadable: kept as it is
  }
  report.fileLine = (found ? "配色=" : "新配色=") + fileName_;
  ApplyCurrent();
  loaded_ = TakeImage();
  return report;
}

int ColorSets::SelectedSet(std::string_view selection) const {
  int number = count();
  if (jstrwldc("#", selection, false) || jstrwldc("##", selection, false)) {
    number = std::atoi(std::string(selection).c_str());
  } else {
    if (!selection.empty() && selection.front() == '"') {
      // A double quote is never the second byte of a two-byte character.
      const size_t close = selection.find('"', 1);
      selection = close == std::string_view::npos ? "" : selection.substr(1, close - 1);
    }
    if (selection.empty()) {
      number = standard_;
    } else {
      for (int n = 0; n < count(); ++n) {
        if (FindText(sets_[n].name, selection) != std::string::npos) {
          number = n;
          break;
        }
      }
    }
  }
  return number < count() ? number : 0;
}

bool ColorSets::NeedsSave() const { return counters_[kCountColor] != 0 && !fileName_.empty(); }

std::string ColorSets::Save() { return NeedsSave() ? WriteTo(fileName_) : ""; }

std::string ColorSets::SaveAs(std::string_view name) { return WriteTo(CompleteFileName(name, "VDC")); }

std::string ColorSets::WriteTo(const std::string& name) const {
  FileReplacement out(fs_, name);
  if (!out.Open()) return "色ﾌｧｲﾙを書込ｵｰﾌﾟﾝできません";
  std::string bytes = EncodeColorHeader(standard_);
  for (const ColorSet& set : sets_) bytes += EncodeColorSet(set);
  if (!out.Write(bytes.data(), bytes.size()) || !out.Commit()) return "色ﾌｧｲﾙに書込めません";
  return "";
}

std::string ColorSets::Join(std::string_view name) {
  std::unique_ptr<File> file = fs_.Open(CompleteFileName(name, "VDC"), OpenMode::kRead);
  if (!file) return "ｵｰﾌﾟﾝできません";
  constexpr auto kRecord = static_cast<int64_t>(kColorRecordSize);
  const int64_t size = file->Size();
  std::string header(kColorRecordSize, '\0');
  if (size < kRecord || size % kRecord != 0 || file->ReadAt(0, header.data(), header.size()) != kRecord ||
      ColorFileKindOf(header) == ColorFileKind::kNone) {
    return "不正なﾌｧｲﾙです";
  }
  // Counted from the size before the sets are read, so that a huge file is refused at once.
  const int64_t joined = size / kRecord - 1;
  if (joined > kMaxColorSets - count()) return "色ｾｯﾄ数が制限を超えます";
  ColorFileRead read = ReadColorFile(*file, kMaxColorSets);
  // A file that changed meanwhile is refused rather than joined in part.
  if (read.failed || read.kind == ColorFileKind::kNone || static_cast<int64_t>(read.sets.size()) != joined) {
    return "不正なﾌｧｲﾙです";
  }
  sets_.insert(sets_.end(), read.sets.begin(), read.sets.end());
  CountChange();
  return "";
}

void ColorSets::PutImage(const Image& image) {
  sets_ = image.sets;
  standard_ = image.standard;
  current_ = image.current;
  ApplyCurrent();
}

void ColorSets::Reload() {
  PutImage(loaded_);
  counters_[kCountColor] = 0;
}

void ColorSets::Restore() {
  PutImage(onEntry_);
  CountChange();
}

void ColorSets::Snapshot() { onEntry_ = TakeImage(); }

void ColorSets::ApplyCurrent() const { SetCurrentColorTable(sets_[current_].table); }

void ColorSets::Select(int n) {
  current_ = n;
  ApplyCurrent();
}

void ColorSets::SetStandard(int n) {
  standard_ = n;
  CountChange();
}

std::string ColorSets::Copy(int n) {
  if (count() >= kMaxColorSets) return "色ｾｯﾄ数が制限を超えます";
  ColorSet copy = sets_[n];
  copy.name = CopyName(copy.name);
  sets_.insert(sets_.begin() + n + 1, std::move(copy));
  standard_ = NumberAfterCopy(standard_, n);
  current_ = n + 1;
  CountChange();
  ApplyCurrent();
  return "";
}

void ColorSets::Delete(int n) {
  sets_.erase(sets_.begin() + n);
  standard_ = NumberAfterDelete(standard_, n);
  current_ = current_ == n ? std::min(n, count() - 1) : NumberAfterDelete(current_, n);
  CountChange();
  ApplyCurrent();
}

void ColorSets::ExchangeWithNext(int n) {
  std::swap(sets_[n], sets_[n + 1]);
  standard_ = NumberAfterExchange(standard_, n);
  current_ = NumberAfterExchange(current_, n);
  CountChange();
  ApplyCurrent();
}

std::string CopyName(std::string_view name) {
  std::string copy;
  if (jstrwldc("Copy~*", name, true)) {
    copy = "Copy1~" + std::string(name.substr(5));
  } else if (jstrwldc("Copy#~*", name, true) && name[4] < '9') {
    copy = "Copy" + std::string(1, static_cast<char>(name[4] + 1)) + "~" + std::string(name.substr(6));
  } else {
    copy = "Copy~" + std::string(name);
  }
  return std::string(CutAtCharacter(copy, kColorSetNameBytes));
}

}  // namespace vondal

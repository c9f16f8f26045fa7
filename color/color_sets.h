// The colour sets of a run: up to 100 named sets in memory, one of them the standard set (used
// when no other is chosen, never deleted), one the current set, whose table every screen draws
// with. They are loaded from the colour file at start-up, changed by the colour editor and
// written back at quit when changed. Changes are counted in the run's Color write counter.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "color/color_file.h"
#include "log/file_system.h"
#include "log/write_counters.h"

namespace vondal {

inline constexpr int kMaxColorSets = 100;
// The longest name and author the colour editor lets the user type.
inline constexpr size_t kColorSetNameBytes = 50;
inline constexpr size_t kColorAuthorBytes = 10;

// The two start-up lines (rows R0+2 and R0+3): a note ("規定の配色を使用",
// "配色ﾌｧｲﾙが16bit版用なので変換" or none) and the file ("新配色=" or "配色=" and its name).
struct ColorLoadReport {
  std::string note;
  std::string fileLine;
};

class ColorSets {
 public:
  // Starts with the built-in default set alone, not counted as a change.
  ColorSets(FileSystem& fs, WriteCounters& counters);

  // Start-up: `setting` is the `color` value, the file name and, after a "#", which set to use:
  // a number of one or two digits, a text (in double quotes or not) that the set's name holds,
  // or nothing for the standard set. The file's sets replace the default set when it has any;
  // a missing file leaves the default set, counted as a change, so that quit creates the file.
  // A file that is there but unusable is never counted as changed, so it is not overwritten.
  // The current set becomes the program's colour table.
  ColorLoadReport Load(std::string_view setting);

  // Writes the sets to the file they came from when anything changed (and there is a name).
  // "" on success or when there was nothing to write; else "色ﾌｧｲﾙを書込ｵｰﾌﾟﾝできません" or
  // "色ﾌｧｲﾙに書込めません", and the sets stay changed. The old file survives any failure.
  bool NeedsSave() const;
  std::string Save();
  // Writes the sets to another file (".VDC" added to a name without "."); same results. The
  // sets stay as changed as they were: quit still writes their own file.
  std::string SaveAs(std::string_view name);
  // Appends the sets of another file (".VDC" added to a name without "."), converting those of
  // the 16-bit edition. "" or "ｵｰﾌﾟﾝできません", "不正なﾌｧｲﾙです" (size not whole records, or no
  // known magic), "色ｾｯﾄ数が制限を超えます"; nothing changes on a refusal.
  std::string Join(std::string_view name);

  // The as-loaded image back, not counted as changed (so quit writes nothing).
  void Reload();
  // The on-entry image (Snapshot) back, counted as a change.
  void Restore();
  void Snapshot();

  int count() const { return static_cast<int>(sets_.size()); }
  int standard() const { return standard_; }
  int current() const { return current_; }
  const std::string& fileName() const { return fileName_; }
  const ColorSet& Set(int n) const { return sets_[n]; }
  const ColorSet& CurrentSet() const { return sets_[current_]; }
  // Changes of the current set are counted with CountChange and shown with ApplyCurrent.
  ColorSet& CurrentSet() { return sets_[current_]; }

  void CountChange() { ++counters_[kCountColor]; }
  // Makes the current set's table the program's colour table.
  void ApplyCurrent() const;
  // Makes set n the current set (not a change: the file does not keep it).
  void Select(int n);
  void SetStandard(int n);

  // The set list's operations. Each keeps the standard and the current set on the sets they
  // were on; other set numbers that must follow use the NumberAfter functions.
  // Copies set n directly behind itself with a new name (CopyName) and makes the copy current;
  // "" or "色ｾｯﾄ数が制限を超えます" when there are 100 sets.
  std::string Copy(int n);
  // Removes set n, which is not the standard set. When it is the current set, the set that takes
  // its place (the one before it, when it was the last) becomes current.
  void Delete(int n);
  // Exchanges sets n and n + 1.
  void ExchangeWithNext(int n);

  static int NumberAfterCopy(int number, int copied) { return number > copied ? number + 1 : number; }
  static int NumberAfterDelete(int number, int deleted) { return number > deleted ? number - 1 : number; }
  static int NumberAfterExchange(int number, int n) {
    return number == n ? n + 1 : number == n + 1 ? n : number;
  }

  // The text of every set as source code (developer mode), written to `name`. "" or
  // "ｵｰﾌﾟﾝできません" / "ｿｰｽﾌｧｲﾙに書込めません".
  std::string ExportSource(std::string_view name) const;

 private:
  struct Image {
    std::vector<ColorSet> sets;
    int standard = 0;
    int current = 0;
  };

  Image TakeImage() const { return {sets_, standard_, current_}; }
  void PutImage(const Image& image);
  std::string WriteTo(const std::string& name) const;
  // Chooses the current set after loading by the selection of the `color` setting.
  int SelectedSet(std::string_view selection) const;

  FileSystem& fs_;
  WriteCounters& counters_;
  std::string fileName_;
  std::vector<ColorSet> sets_;
  int standard_ = 0;
  int current_ = 0;
  Image loaded_;
  Image onEntry_;
};

// The name of a copy of a set named `name`: "Copy~X" becomes "Copy1~X", "Copy1~X" "Copy2~X" and
// so on to "Copy9~X"; anything else (also "Copy9~X") gets "Copy~" in front. Letters of "Copy"
// in either case; cut to 50 bytes at a character.
std::string CopyName(std::string_view name);

// The source text of the sets (ExportSource writes it): one C initializer per set.
std::string ColorSourceText(const ColorSets& sets);

}  // namespace vondal

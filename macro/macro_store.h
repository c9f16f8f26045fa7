// The macro store (`MacroStore`): up to 100 numbered macros of at most 255 bytes, each with a
// comment, in one buffer of 100 records of 320 bytes (macro_format.h). Record 0 holds the key
// macro, the file comment and the header: the function-key guide's display order and the 17
// assignment slots (the initialization macro, F1-F8 and Shift+F1-F8).
//
// The store is loaded at start-up (macro_file.h), changed by the macro editor and the key-macro
// recorder, and written back at the end of the program when it was changed. Macro texts are
// opaque bytes here; the player reads them in place (Text() stays put for the whole run).
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "log/write_counters.h"
#include "macro/macro_format.h"

namespace vondal {

// Slot numbers: the initialization macro, then F1-F8, then Shift+F1-F8.
inline constexpr int kInitializationSlot = 0;
inline constexpr int kFirstFunctionKeySlot = 1;
inline constexpr int kClearSlot = -1;  // Assign: take the macro out of every slot

// The slot of function key 0-7 (F1-F8) or 8-15 (Shift+F1-F8).
constexpr int FunctionKeySlot(int key) { return kFirstFunctionKeySlot + key; }

// The slot's name in listings: "初期化", "  F3  ", " S･F3 ".
std::string SlotName(int slot);

// The texts the store's operations can be refused with.
inline constexpr char kShrinkRefused[] = "削除部分が空ではありません";

class MacroStore {
 public:
  MacroStore();
  MacroStore(const MacroStore&) = delete;
  MacroStore& operator=(const MacroStore&) = delete;

  // Back to an empty store (count 0) that counts its changes itself.
  void Clear();

  // The records in use: a multiple of ten from 10 to 100 (0 before the first load).
  int Count() const { return count_; }

  // The text of macro n (0 is the key macro): zero-terminated inside its record, at a place that
  // never moves.
  const char* Text(int n) const { return Record(n); }
  std::string_view TextView(int n) const;
  // The key macro's area of 256 bytes, for the recorder.
  char* KeyMacroArea() { return Record(0); }
  // At most kMaxTextBytes bytes, cut there at a character.
  void SetText(int n, std::string_view text);

  // The comment of macro n; for macro 0 the file comment.
  std::string_view Comment(int n) const;
  void SetComment(int n, std::string_view text);
  static int MaxCommentBytes(int n) {
    return n == 0 ? macro_format::kFileCommentBytes - 1 : macro_format::kCommentBytes - 1;
  }

  // The macro in `slot` (0: none), and the slot that holds macro n (-1: none).
  int SlotMacro(int slot) const;
  int SlotOf(int n) const;
  // The display order of the function-key guide: false slot order, true F1, Shift+F1, F2, ...
  bool PairedOrder() const;
  void ToggleDisplayOrder();

  // The store's operations (each counts as a change when it changes anything).
  // Resize to `records` (a multiple of ten, 10-100): "" or kShrinkRefused when a dropped record
  // holds a text. Slots that hold a dropped number are cleared; added records start empty but
  // keep the comment the buffer holds there.
  std::string Resize(int records);
  // Macro n into `slot` (kClearSlot: into none); it leaves every other slot first.
  void Assign(int n, int slot);
  // A new store: 20 records, the file comment "新規マクロファイル", macro 19 the standard label
  // macro with its comment.
  void MakeNew();

  // The whole buffer and the count as loaded at start-up (reload), and as they stood when the
  // macro editor was entered (restore).
  void TakeAsLoaded();
  void Reload();  // the change counter back to 0
  void TakeOnEntry();
  void Restore();

  // Appends `bytes` (whole records) after the records in use: false when they do not fit. A text
  // or comment without its terminating zero ends at its last byte.
  bool Append(std::string_view bytes);
  // The first `Count()` records as the file holds them (macro_file.h).
  std::string FileImage() const;

  // The change counter: every change counts; the store is saved at the end only while it is not
  // zero. Keys the recorder took into the key macro count as a change too.
  void Changed();
  bool Modified();
  // Counts changes in `counters` (the program's write counters) instead of a counter of its own.
  void UseCounters(WriteCounters& counters) { counters_ = &counters; }

  // The macro the first entry into the record editor plays (0: none); taken once, which clears it.
  void SetStartMacro(int n) { startMacro_ = n; }
  int TakeStartMacro() { return std::exchange(startMacro_, 0); }

 private:
  struct Image {
    std::array<char, macro_format::kStoreBytes> bytes{};
    int count = 0;
  };

  char* Record(int n) { return buffer_.data() + n * macro_format::kRecordBytes; }
  const char* Record(int n) const { return buffer_.data() + n * macro_format::kRecordBytes; }
  void CopyFrom(const Image& image);
  void CopyTo(Image& image) const;
  // Zero bytes at the last place of record n's text and comment, so that both end inside it.
  void Terminate(int n);

  // One zero byte behind the last record: a text read in place always ends.
  std::array<char, macro_format::kStoreBytes + 1> buffer_{};
  int count_ = 0;
  int startMacro_ = 0;
  Image asLoaded_;
  Image onEntry_;
  WriteCounters ownCounters_;
  WriteCounters* counters_ = &ownCounters_;
};

// The program's store.
MacroStore& TheMacroStore();

}  // namespace vondal

// The layout of the macro store and of the macro file (".VDM"), which is the store's first
// records written one after another. doc/macro_format.md describes every byte.
#pragma once

namespace vondal::macro_format {

inline constexpr int kRecordBytes = 320;
inline constexpr int kMaxRecords = 100;
inline constexpr int kStoreBytes = kRecordBytes * kMaxRecords;  // 32,000
// A file holds whole groups of ten records; the store grows and shrinks by ten as well.
inline constexpr int kRecordsPerUnit = 10;
inline constexpr int kFileUnitBytes = kRecordBytes * kRecordsPerUnit;  // 3,200

// Every record: the macro text, zero-terminated (at most 255 bytes), then the comment.
inline constexpr int kTextBytes = 256;
inline constexpr int kMaxTextBytes = kTextBytes - 1;
inline constexpr int kCommentOffset = 256;
inline constexpr int kCommentBytes = 64;  // at most 63 bytes and the zero

// Record 0: the key macro, the file comment and the header.
inline constexpr int kFileCommentBytes = 32;  // at most 31 bytes and the zero
inline constexpr int kDisplayOrderOffset = 288;
inline constexpr int kSlotsOffset = 289;  // 17 assignment slots
inline constexpr int kSlotCount = 17;
inline constexpr int kNewStoreOffset = 319;  // 1 in a store made new; never read

}  // namespace vondal::macro_format

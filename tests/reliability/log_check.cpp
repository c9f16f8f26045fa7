#include "tests/reliability/log_check.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "log/date_time.h"
#include "log/field_table.h"
#include "log/log_file.h"
#include "log/log_test_support.h"
#include "log/record_index.h"
#include "log/safety_file.h"
#include "log/write_ahead.h"

namespace vondal::reliability {
namespace {

std::string ReadAll(FileSystem& fs, const std::string& name) {
  auto file = fs.Open(name, OpenMode::kRead);
  if (!file) return {};
  std::string bytes(static_cast<size_t>(std::max<int64_t>(0, file->Size())), '\0');
  const int64_t got = file->ReadAt(0, bytes.data(), bytes.size());
  bytes.resize(static_cast<size_t>(std::max<int64_t>(0, got)));
  return bytes;
}

bool SameImage(const char* bytes, const RecordImage& image) {
  return std::memcmp(bytes, image.data(), kRecordSize) == 0;
}

std::string Describe(const char* what, int n) {
  char text[96];
  std::snprintf(text, sizeof text, "%s %d", what, n);
  return text;
}

}  // namespace

RawState InspectRaw(FileSystem& fs, const Files& files, const Expectation& expected) {
  RawState raw;
  const std::string log = ReadAll(fs, files.log);
  raw.tornLog = log.size() % kRecordSize != 0;
  if (expected.inFlightRecord) {
    const size_t at = static_cast<size_t>(*expected.inFlightRecord) * kRecordSize;
    if (log.size() > at) {
      const bool whole = log.size() >= at + kRecordSize;
      const bool isNew = whole && SameImage(log.data() + at, expected.inFlightImage);
      const bool isOld = whole && static_cast<size_t>(*expected.inFlightRecord) < expected.records.size() &&
                         SameImage(log.data() + at, expected.records[*expected.inFlightRecord]);
      raw.tornRecord = !isNew && !isOld;
    }
  }
  if (!files.safety.empty()) raw.tornSafety = ReadAll(fs, files.safety).size() % kRecordSize != 0;
  const std::string intent = ReadAll(fs, WriteAheadName(files.log));
  Intent decoded;
  raw.intentLeft = DecodeIntent(intent.data(), intent.size(), decoded);
  return raw;
}

Verdict OpenAndCheck(FileSystem& fs, const Files& files, const Expectation& expected) {
  Verdict verdict;
  testing::LogSet set(fs);
  auto& [counters, index, safety, ui, log] = set;
  safety.Configure(files.safety);
  if (std::string fatal = log.OpenLog(files.log); !fatal.empty()) {
    verdict.failure = "the log does not open";
    return verdict;
  }
  verdict.opened = true;
  verdict.note = ui.notes.count(5) ? ui.notes[5] : "";
  if (std::string fatal = safety.CheckSafety(ui); !fatal.empty()) {
    verdict.failure = "the safety file does not open";
    return verdict;
  }
  log.JournalRepairedRecord();

  // The log: whole records, every acknowledged one byte for byte.
  const std::string bytes = ReadAll(fs, files.log);
  if (bytes.size() % kRecordSize != 0) verdict.failure = "the log is not whole records";
  const int count = static_cast<int>(bytes.size() / kRecordSize);
  for (int n = 0; n < count; ++n) {
    RecordImage image;
    std::memcpy(image.data(), bytes.data() + static_cast<size_t>(n) * kRecordSize, kRecordSize);
    verdict.records.push_back(image);
  }
  const int acknowledged = static_cast<int>(expected.records.size());
  const bool appendInFlight = expected.inFlightRecord && *expected.inFlightRecord == acknowledged;
  if (count < acknowledged) {
    verdict.recordsLost += acknowledged - count;
    verdict.failure = Describe("acknowledged records missing:", acknowledged - count);
  }
  if (count > acknowledged + (appendInFlight ? 1 : 0))
    verdict.failure = Describe("records appeared from nowhere:", count);
  for (int n = 0; n < std::min(count, acknowledged + 1); ++n) {
    const bool inFlight = expected.inFlightRecord && *expected.inFlightRecord == n;
    const bool isNew = inFlight && verdict.records[n] == expected.inFlightImage;
    const bool isOld = n < acknowledged && verdict.records[n] == expected.records[n];
    if (isOld || isNew) continue;
    if (n < acknowledged) ++verdict.recordsLost;
    if (verdict.failure.empty()) verdict.failure = Describe("record differs from every version written:", n);
  }

  // The journal: whole records, holding the acknowledged ones in order.
  verdict.journalEnd = expected.journalFrom;
  if (!files.safety.empty()) {
    const std::string journal = ReadAll(fs, files.safety);
    if (journal.size() % kRecordSize != 0 && verdict.failure.empty())
      verdict.failure = "the journal is not whole records";
    size_t at = static_cast<size_t>(expected.journalFrom);
    for (const RecordImage& image : expected.journal) {
      while (at + kRecordSize <= journal.size() && !SameImage(journal.data() + at, image)) at += kRecordSize;
      if (at + kRecordSize > journal.size()) {
        if (verdict.failure.empty()) verdict.failure = "an acknowledged record is missing from the journal";
        break;
      }
      at += kRecordSize;
      verdict.journalEnd = static_cast<int64_t>(at);
    }
  }

  // The index: loaded or rebuilt, it describes the log.
  std::vector<char> buffer(kIndexBufferSize);
  if (std::string fatal = index.LoadIndex(files.index, fs, log, ui, buffer); !fatal.empty()) {
    if (verdict.failure.empty()) verdict.failure = "the index does not load";
    return verdict;
  }
  if (index.size() != count && verdict.failure.empty())
    verdict.failure = "the index has another number of entries";
  for (int n = 0; n < std::min(count, index.size()); ++n) {
    const RecordTexts& texts = log.ReadRecord(n);
    if (index[n].key != DateTimeKey(texts[DATE], texts[START]) ||
        std::string(index[n].callsign) != texts[CALLSIGN].substr(0, 24)) {
      if (verdict.failure.empty()) verdict.failure = Describe("stale index entry", n);
      break;
    }
  }
  log.SettleWriteAhead();
  return verdict;
}

std::string ReplacedLogIsLeftAlone(FileSystem& fs, const Files& files, int records, uint64_t seed,
                                   std::string& note) {
  std::string other;
  for (int n = 0; n < records; ++n) {
    const RecordImage image = EncodeRecord(RandomRecord(seed + static_cast<uint64_t>(n)));
    other.append(image.begin(), image.end());
  }
  {
    auto file = fs.Open(files.log, OpenMode::kCreate);  // emptied in place, as cp does
    if (!file || file->WriteAt(0, other.data(), other.size()) != static_cast<int64_t>(other.size()) ||
        !file->Sync()) {
      return "cannot put the other log in place";
    }
  }
  testing::LogSet set(fs);
  set.safety.Configure(files.safety);
  if (std::string fatal = set.log.OpenLog(files.log); !fatal.empty()) return "the other log does not open";
  note = set.ui.notes.count(5) ? set.ui.notes[5] : "";
  set.log.CloseLog();
  return ReadAll(fs, files.log) == other ? "" : "an intent was carried out on another log";
}

Record RandomRecord(uint64_t seed) {
  // splitmix64: every draw from one seed.
  auto next = [&seed] {
    uint64_t z = (seed += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  };
  static const char* const kQth[] = {"東京都千代田区", "横浜市鶴見区", "札幌市", "大阪府堺市", "ﾄｳｷｮｳ", "-"};
  static const char* const kName[] = {"鈴木", "ｽｽﾞｷ", "田中太郎", "Bob", ""};
  static const char* const kMode[] = {"CW", "SSB", "FM", "RTTY", "FT8"};
  Record r;
  char text[32];
  std::snprintf(text, sizeof text, "%02d%02d%02d", static_cast<int>(next() % 100),
                static_cast<int>(1 + next() % 12), static_cast<int>(1 + next() % 28));
  r[DATE] = text;
  std::snprintf(text, sizeof text, "%02d%02d", static_cast<int>(next() % 24), static_cast<int>(next() % 60));
  r[START] = text;
  r[END] = r[START];
  std::snprintf(text, sizeof text, "J%c%d%c%c%c", "AHRE"[next() % 4], static_cast<int>(next() % 10),
                static_cast<char>('A' + next() % 26), static_cast<char>('A' + next() % 26),
                static_cast<char>('A' + next() % 26));
  r[CALLSIGN] = text;
  if (next() % 8 == 0) r[CALLSIGN] += "/" + std::to_string(next() % 10);
  std::snprintf(text, sizeof text, "%d.%03d", static_cast<int>(1 + next() % 50),
                static_cast<int>(next() % 1000));
  r[FREQ] = text;
  r[MODE] = kMode[next() % 5];
  r[sRST] = "599";
  r[rRST] = "5" + std::to_string(1 + next() % 9) + "9";
  r[QTH] = kQth[next() % 6];
  r[NAME] = kName[next() % 5];
  int used = 0;
  for (int i = 0; i < kStoredFieldCount; ++i) used += static_cast<int>(r[i].size());
  const size_t remarks = next() % (kRecordBudget - used + 1);
  while (r[REMARKS].size() + 4 <= remarks) r[REMARKS] += (next() % 2) ? "交信" : "ok";
  return r;
}

}  // namespace vondal::reliability

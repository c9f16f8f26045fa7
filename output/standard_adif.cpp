#include "output/standard_adif.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "log/log_format.h"
#include "log/write_ahead.h"
#include "output/output_file.h"

namespace vondal {
namespace {

constexpr int kBlockRecords = 1024;

}  // namespace

StandardAdifCounts WriteStandardAdif(OutputJob& job, bool logInUtc, int64_t now) {
  if (job.file->startedEmpty()) job.file->Append(StandardAdifHeader(AdifTimestamp(now)));
  StandardAdifWriter writer(logInUtc);
  std::string record;
  for (int n = 0; n < job.context.log.RecordCount(); ++n) {
    if (const RecordTexts* texts = job.Target(n)) {
      record.clear();
      writer.AppendRecord(record, *texts);
      job.file->Append(record);
    }
  }
  return writer.counts();
}

StandardAdifExport ExportStandardAdif(FileSystem& fs, const std::string& logPath, const std::string& outPath,
                                      bool logInUtc, int64_t now) {
  StandardAdifExport result;
  if (!fs.Exists(logPath)) {
    result.message = "ﾛｸﾞﾌｧｲﾙがありません: " + logPath;
    return result;
  }
  std::unique_ptr<File> log = fs.Open(logPath, OpenMode::kRead);
  const int64_t size = log ? log->Size() : -1;
  if (size < 0) {
    result.message = "ﾛｸﾞﾌｧｲﾙを読めません: " + logPath;
    return result;
  }
  if (size % kRecordSize != 0) {
    result.message = "ﾛｸﾞﾌｧｲﾙのｻｲｽﾞが異常です: " + logPath;
    return result;
  }
  if (IntentLeft(fs, logPath)) {
    result.message = "ﾛｸﾞに中断された書込があります (Vondalで開くと修復されます): " + logPath;
    return result;
  }
  if (fs.SameFile(outPath, logPath)) {
    result.message = "出力ﾌｧｲﾙがﾛｸﾞと同じです: " + outPath;
    return result;
  }
  OutputFile out(fs);
  if (!out.Open(outPath, OutputFile::Mode::kReplace)) {
    result.message = "出力ﾌｧｲﾙをｵｰﾌﾟﾝできません: " + outPath;
    return result;
  }
  out.Append(StandardAdifHeader(AdifTimestamp(now)));
  StandardAdifWriter writer(logInUtc);
  RecordReader reader;
  std::vector<char> block(static_cast<size_t>(kBlockRecords) * kRecordSize);
  std::string text;
  const int64_t records = size / kRecordSize;
  for (int64_t first = 0; first < records && !out.failed(); first += kBlockRecords) {
    const int64_t count = std::min<int64_t>(kBlockRecords, records - first);
    const int64_t want = count * kRecordSize;
    if (log->ReadAt(first * kRecordSize, block.data(), static_cast<size_t>(want)) != want) {
      out.Abandon();
      result.message = "ﾛｸﾞﾌｧｲﾙを読めません: " + logPath;
      return result;
    }
    text.clear();
    for (int64_t i = 0; i < count; ++i)
      writer.AppendRecord(text, reader.Split(block.data() + i * kRecordSize));
    out.Append(text);
  }
  if (!out.Finish()) {
    result.message = "出力ﾌｧｲﾙに書込めません: " + outPath;
    return result;
  }
  result.counts = writer.counts();
  return result;
}

std::string StandardAdifNote(const StandardAdifCounts& counts) {
  std::string note;
  if (counts.unknownModes > 0) {
    note += "ADIFにないﾓｰﾄﾞ " + std::to_string(counts.unknownModes) + "件 (APP_Vondal_MODEに出力)";
  }
  if (counts.appOnly > 0) {
    if (!note.empty()) note += ", ";
    note += "ADIFの項目に入らない値 " + std::to_string(counts.appOnly) + "件 (APP_Vondal_項目名に出力)";
  }
  return note;
}

}  // namespace vondal

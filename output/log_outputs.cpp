#include "output/log_outputs.h"

#include <array>
#include <ctime>

#include "console/console.h"
#include "console/key_source.h"
#include "output/export_format.h"
#include "output/standard_adif.h"

namespace vondal {

std::string PackedLengthText(int64_t length, int records) {
  std::string text = "出力ﾌｧｲﾙ長=" + std::to_string(length);
  if (records > 0) {
    const int64_t tenths = length * 10 / (static_cast<int64_t>(records) * 2);
    text += " (" + std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + "%)";
  }
  return text;
}

void WritePartialLog(OutputJob& job) {
  for (int n = 0; n < job.context.log.RecordCount(); ++n) {
    if (const char* image = job.TargetImage(n)) job.file->Append(std::string_view(image, kRecordSize));
  }
}

PackedLength WritePackedLog(OutputJob& job) {
  const bool high = job.parameters[kPacking].choice == 1;
  std::array<std::string, kStoredFieldCount> previous;
  PackedLength packed;
  std::string line;
  for (int n = 0; n < job.context.log.RecordCount(); ++n) {
    const RecordTexts* texts = job.Target(n);
    if (!texts) continue;
    line.clear();
    AppendPackedLine(line, *texts, high, previous, packed.records == 0);
    job.file->Append(line);
    packed.bytes += static_cast<int64_t>(line.size());
    ++packed.records;
  }
  return packed;
}

void WriteCsv(OutputJob& job) {
  const OutputParameters& p = job.parameters;
  CsvOptions options;
  options.delimiter = p[kDelimiter].value;
  options.quotes = p[kQuotes].choice == 1;
  options.outer = p[kOuterSeparator].value;
  options.jstToUtc = p[kTimeConversion].choice == 1;
  if (p[kHeaderLine].choice == 1) job.file->Append(CsvHeader(job.fields, options));
  const bool storedTexts = CsvLineIsStoredTexts(job.fields, options);
  std::string line;
  for (int n = 0; n < job.context.log.RecordCount(); ++n) {
    if (const RecordTexts* texts = job.Target(n)) {
      line.clear();
      const char* image = storedTexts ? job.Image(n) : nullptr;
      if (!image || !AppendStoredTextsLine(line, image, *texts, options.delimiter[0])) {
        AppendCsvLine(line, *texts, job.fields, options);
      }
      job.file->Append(line);
    }
  }
}

void WriteAdif(OutputJob& job) {
  const OutputParameters& p = job.parameters;
  const bool jstToUtc = p[kTimeConversion].choice == 1;
  // One header at the head of the file: an append to an ADIF file adds records only, so that
  // readers never meet a second header among its records.
  if (job.file->startedEmpty()) job.file->Append(AdifHeader(jstToUtc || job.context.logInUtc));
  std::string record;
  for (int n = 0; n < job.context.log.RecordCount(); ++n) {
    if (const RecordTexts* texts = job.Target(n)) {
      record.clear();
      AppendAdifRecord(record, *texts, job.fields, p[kOuterSeparator].value, jstToUtc);
      job.file->Append(record);
    }
  }
}

bool RunPartialLog(const OutputContext& context) {
  auto job = RunOutputFrame(context, "部分ログ", {kPartialFile, kTarget, kSelection});
  if (!job) return false;
  WritePartialLog(*job);
  FinishOutput(*job, "partial");
  return true;
}

bool RunPackedLog(const OutputContext& context) {
  auto job = RunOutputFrame(context, "短縮ログ", {kPackedFile, kTarget, kSelection, kPacking});
  if (!job) return false;
  const PackedLength packed = WritePackedLog(*job);
  Screen& screen = TheScreen();
  screen.PutText(PackedLengthText(packed.bytes, packed.records), 15, 1, screen.Width(), kPlainAttr,
                 kPlainAttr);
  Flush();
  ReadKey();
  FinishOutput(*job, "pack");
  return true;
}

bool RunCsvExport(const OutputContext& context) {
  auto job = RunOutputFrame(context, "CSVファイル",
                            {kCsvFile, kTarget, kSelection, kFields, kOuterSeparator, kHeaderLine, kQuotes,
                             kDelimiter, kTimeConversion});
  if (!job) return false;
  WriteCsv(*job);
  FinishOutput(*job, "csv");
  return true;
}

bool RunAdifExport(const OutputContext& context) {
  if (context.standardAdif) {
    // The standard form: every field, times in UTC, so no field selection and no time choice.
    auto job = RunOutputFrame(context, "ADIF", {kAdifFile, kTarget, kSelection});
    if (!job) return false;
    const StandardAdifCounts counts = WriteStandardAdif(*job, context.logInUtc, std::time(nullptr));
    if (FinishOutput(*job, "adif")) {
      Screen& screen = TheScreen();
      screen.PutText(StandardAdifNote(counts), kOutputNoticeRow, 7, screen.Width(), kPlainAttr, kPlainAttr);
      Flush();
    }
    return true;
  }
  auto job = RunOutputFrame(context, "ADIF",
                            {kAdifFile, kTarget, kSelection, kFields, kOuterSeparator, kTimeConversion});
  if (!job) return false;
  WriteAdif(*job);
  FinishOutput(*job, "adif");
  return true;
}

}  // namespace vondal

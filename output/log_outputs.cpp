#include "output/log_outputs.h"

#include <array>

#include "console/console.h"
#include "console/key_source.h"
#include "output/export_format.h"

namespace vondal {

std::string PackedLengthText(int64_t length, int records) {
  std::string text = "出力ﾌｧｲﾙ長=" + std::to_string(length);
  if (records > 0) {
    const int64_t tenths = length * 10 / (static_cast<int64_t>(records) * 2);
    text += " (" + std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + "%)";
  }
  return text;
}

void RunPartialLog(const OutputContext& context) {
  auto job = RunOutputFrame(context, "部分ログ", {kPartialFile, kTarget, kSelection});
  if (!job) return;
  for (int n = 0; n < context.log.RecordCount(); ++n) {
    if (const char* image = job->TargetImage(n)) job->file->Append(std::string_view(image, kRecordSize));
  }
  FinishOutput(*job, "partial");
}

void RunPackedLog(const OutputContext& context) {
  auto job = RunOutputFrame(context, "短縮ログ", {kPackedFile, kTarget, kSelection, kPacking});
  if (!job) return;
  const bool high = job->parameters[kPacking].choice == 1;
  std::array<std::string, kStoredFieldCount> previous;
  int records = 0;
  int64_t length = 0;
  for (int n = 0; n < context.log.RecordCount(); ++n) {
    const RecordTexts* texts = job->Target(n);
    if (!texts) continue;
    const std::string line = PackedLine(*texts, high, previous, records == 0);
    job->file->Append(line);
    length += static_cast<int64_t>(line.size());
    ++records;
  }
  Screen& screen = TheScreen();
  screen.PutText(PackedLengthText(length, records), 15, 1, screen.Width(), kPlainAttr, kPlainAttr);
  Flush();
  ReadKey();
  FinishOutput(*job, "pack");
}

void RunCsvExport(const OutputContext& context) {
  auto job = RunOutputFrame(context, "CSVファイル",
                            {kCsvFile, kTarget, kSelection, kFields, kOuterSeparator, kHeaderLine, kQuotes, kDelimiter,
                             kTimeConversion});
  if (!job) return;
  const OutputParameters& p = job->parameters;
  CsvOptions options;
  options.delimiter = p[kDelimiter].value;
  options.quotes = p[kQuotes].choice == 1;
  options.outer = p[kOuterSeparator].value;
  options.jstToUtc = p[kTimeConversion].choice == 1;
  if (p[kHeaderLine].choice == 1) job->file->Append(CsvHeader(job->fields, options));
  for (int n = 0; n < context.log.RecordCount(); ++n) {
    if (const RecordTexts* texts = job->Target(n)) job->file->Append(CsvLine(*texts, job->fields, options));
  }
  FinishOutput(*job, "csv");
}

void RunAdifExport(const OutputContext& context) {
  auto job = RunOutputFrame(context, "ADIF", {kAdifFile, kTarget, kSelection, kFields, kOuterSeparator, kTimeConversion});
  if (!job) return;
  const OutputParameters& p = job->parameters;
  const bool jstToUtc = p[kTimeConversion].choice == 1;
  job->file->Append(AdifHeader());
  for (int n = 0; n < context.log.RecordCount(); ++n) {
    if (const RecordTexts* texts = job->Target(n)) {
      job->file->Append(AdifRecord(*texts, job->fields, p[kOuterSeparator].value, jstToUtc));
    }
  }
  FinishOutput(*job, "adif");
}

}  // namespace vondal

#include "output/inspection.h"

#include "console/console.h"
#include "output/inspection_report.h"

namespace vondal {
namespace {

constexpr int kInspectionLevel = 33;  // parameter 33: 検査ﾚﾍﾞﾙ

}  // namespace

void WriteInspection(OutputJob& job, const CityList& cities) {
  Inspector inspector(job.parameters[kInspectionLevel].choice, job.context.log.options.compatible,
                      job.context.contest, cities);
  InspectionReport report;
  job.file->Append(InspectionHeading(cities.Loaded()));
  const int count = job.context.log.RecordCount();
  std::string lines;
  for (int n = 0; n < count; ++n) {
    if (n % 10000 == 0 && n > 0) {
      Screen& screen = TheScreen();
      screen.PutText(std::to_string(n), kOutputNoticeRow, 11, screen.Width(), kPlainAttr, kPlainAttr);
      Flush();
    }
    const RecordTexts* texts = job.Target(n);
    if (!texts) continue;
    const int32_t keyBefore = n > 0 && n - 1 < job.context.index.size() ? job.context.index[n - 1].key : 0;
    lines.clear();
    for (const Finding& finding : inspector.Inspect(n, *texts, keyBefore))
      lines += report.Line(n, *texts, finding);
    if (!lines.empty()) job.file->Append(lines);
  }
  job.file->Append(report.Summary());
}

std::optional<std::string> RunInspection(const OutputContext& context) {
  auto job = RunOutputFrame(context, "エラー検査", {kTableFile, kTarget, kSelection, kInspectionLevel});
  if (!job) return std::nullopt;
  WriteInspection(*job, TheCityList());
  const std::string name = job->file->name();
  if (!FinishOutput(*job, "inspect")) return std::nullopt;
  return name;
}

}  // namespace vondal

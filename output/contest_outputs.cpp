#include "output/contest_outputs.h"

#include <cstdlib>
#include <ctime>

#include "console/console.h"
#include "output/contest_jarl.h"
#include "output/contest_sheets.h"

namespace vondal {
namespace {

constexpr int kMinimumContacts = 37;  // parameter 37: 最低QSO数 of the check list

const char* SubTitle(char kind) {
  switch (kind) {
    case 'J':
      return "JARL形式";
    case 'K':
      return "KCJ形式";
    case 'D':
      return "運用日数";
    case 'O':
      return "他コンテスト";
    case 'P':
      return "QSOパーティ";
    default:
      return "チェックリスト";
  }
}

DateTime Today() {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  return DateTime{local->tm_year + 1900, local->tm_mon + 1, local->tm_mday, local->tm_hour, local->tm_min};
}

int TwoDigitYear(std::string_view date) {
  return date.size() >= 2 ? std::atoi(std::string(date.substr(0, 2)).c_str()) : 0;
}

}  // namespace

void WriteCheckList(OutputJob& job) {
  const OutputParameters& p = job.parameters;
  const bool utc = p[kTimeConversion].choice == 1;
  std::vector<CheckItem> items;
  int year = -1;
  for (int n = 0; n < job.context.log.RecordCount(); ++n) {
    const RecordTexts* texts = job.Target(n);
    if (!texts) continue;
    if (year < 0) year = TwoDigitYear((*texts)[DATE]);
    items.push_back(MakeCheckItem(*texts, utc));
  }
  const int minimum = std::atoi(p[kMinimumContacts].value.c_str());
  job.file->Append(CheckList(std::move(items), minimum, utc, year < 0 ? 0 : year, p[kContestName].value,
                             job.context.contest.callsign));
}

void WriteContestLog(OutputJob& job, char kind, const DateTime& today) {
  const OutputParameters& p = job.parameters;
  const ContestSettings& settings = job.context.contest;
  ContestRun run;
  run.kind = kind;
  run.format = p[kContestFormat].choice;
  run.utc = p[kTimeConversion].choice == 1;
  run.name = p[kContestName].value;
  run.entries.reserve(static_cast<size_t>(job.targetCount));
  for (int n = 0; n < job.context.log.RecordCount(); ++n) {
    if (const RecordTexts* texts = job.Target(n)) ScoreContestRecord(run, n, *texts, settings);
  }
  if (run.firstYear < 0) run.firstYear = 0;
  job.file->Append(ScoreTable(run, TheConsoleSwitches().authorsuse));
  switch (run.format) {
    case kJarlR21:
    case kJarlR10:
      job.file->Append(JarlLog(run, settings, today));
      break;
    case kPlainLog:
    case kPlainLogStars:
      job.file->Append(PlainContestLog(run));
      break;
    case kContestCsv:
      job.file->Append(ContestCsv(run));
      break;
    case kPrint50:
      job.file->Append(PrintSheets(run, settings.callsign, 50));
      break;
    default:
      job.file->Append(PrintSheets(run, settings.callsign, 40));
      break;
  }
}

std::optional<std::string> RunContestOutput(const OutputContext& context, char kind) {
  const bool checkList = kind == 'C';
  const std::vector<int> list = {
      kContestFile,   kTarget, kSelection, kContestName, checkList ? kMinimumContacts : kContestFormat,
      kTimeConversion};
  auto job = RunOutputFrame(context, std::string("コンテストログ:") + SubTitle(kind), list);
  if (!job) return std::nullopt;
  if (checkList) {
    WriteCheckList(*job);
  } else {
    WriteContestLog(*job, kind, Today());
  }
  const std::string name = job->file->name();
  if (!FinishOutput(*job, checkList ? "checklog" : "contest")) return std::nullopt;
  return name;
}

}  // namespace vondal

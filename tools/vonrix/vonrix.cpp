#include "tools/vonrix/vonrix.h"

#include <algorithm>
#include <new>

#include "log/log_format.h"
#include "tools/vonrix/analyses.h"
#include "app/text/block_allocator.h"
#include "tools/vonrix/command_line.h"
#include "tools/vonrix/config_sets.h"
#include "tools/vonrix/repeat_entries.h"

namespace vondal {
namespace {

class Run {
 public:
  Run(const std::vector<std::string>& args, const VonrixContext& context)
      : args_(args), context_(context), allocator_(context.memoryLimit) {}

  int Start();

 private:
  // Shows "(!) message" and gives the failure status.
  int Fail(std::string_view message) {
    Say("(!) " + std::string(message) + "\n");
    return kVonrixFailed;
  }
  void Say(std::string_view text) { context_.print(text); }

  int Analyse();
  void WriteHeader(ReportWriter& out);

  const std::vector<std::string>& args_;
  const VonrixContext& context_;
  BlockAllocator allocator_;
  std::string logName_;
  AnalysisMode mode_ = AnalysisMode::kCounts;
  Selection selection_;
};

int Run::Start() {
  Say(std::string(kVonrixBanner) + "\n");
  if (std::find(args_.begin(), args_.end(), "?") != args_.end()) {
    ListConfigSets(context_.configFile, context_.print);
    Say("\n");
    return 0;
  }
  if (args_.size() < 3) {
    Say(kVonrixUsage);
    return 0;
  }
  try {
    return Analyse();
  } catch (const std::bad_alloc&) {
    return Fail("Malloc failed");
  }
}

int Run::Analyse() {
  logName_ = LogOfConfigSet(args_[0], context_.configFile, *context_.fs, context_.print);
  Say("Log=" + logName_ + "\n");
  if (!ParseMode(args_[2], mode_)) return Fail("モードの指定が不正です");
  Say(std::string(ModeName(mode_)) + "モード\n");
  const std::string refusal = ParseSelection({args_.begin() + 3, args_.end()}, selection_);
  if (!refusal.empty()) return Fail(refusal);

  FileSystem& fs = *context_.fs;
  std::unique_ptr<File> log = fs.Open(logName_, OpenMode::kRead);
  if (!log) return Fail("ログファイルを開けません");
  const int64_t size = log->Size();
  if (size < 0 || size % kRecordSize != 0) return Fail("ログファイルのサイズが異常です");
  const std::string& outName = args_[1];
  ReportWriter out(fs, outName);
  // The report must never be written over the log, however its name is written.
  if (fs.SameFile(outName, logName_) || !out.Open()) return Fail("出力ファイルを開けません");

  Say("読込中\n");
  RepeatLog repeatLog(allocator_);
  const std::string failure = ReadEntries(*log, size / kRecordSize, mode_, selection_, repeatLog);
  if (!failure.empty()) return Fail(allocator_.failure().empty() ? failure : allocator_.failure());
  if (const int reversals = CountReversals(repeatLog.entries); reversals > 0) {
    Say("日時が" + std::to_string(reversals) + "箇所で逆転しています\nソート中\n");
    SortByKey(repeatLog.entries);
  }

  WriteHeader(out);
  Say("計算中\n");
  switch (mode_) {
    case AnalysisMode::kCounts:
      WriteContactCounts(repeatLog, out);
      break;
    case AnalysisMode::kIntervals:
    case AnalysisMode::kSpans:
      WriteIntervals(repeatLog, mode_, out);
      break;
    case AnalysisMode::kBands:
      WriteBandCounts(repeatLog, out);
      break;
  }
  if (!out.Finish()) return Fail("出力ファイルに書込めません");
  Say(allocator_.Report() + "\n");
  return 0;
}

void Run::WriteHeader(ReportWriter& out) {
  out.Printf("%s\n", kVonrixBanner);
  out.Printf("Log=%s\n", logName_.c_str());
  out.Printf("Mode=%s\n", ModeName(mode_).data());
  out.Printf("%s\n\n", DescribeSelection(selection_).c_str());
}

}  // namespace

int RunVonrix(const std::vector<std::string>& args, const VonrixContext& context) {
  return Run(args, context).Start();
}

}  // namespace vondal

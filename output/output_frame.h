// The frame every processing output runs in: the option form of its parameters with the on-screen
// guide, validation (the selection expression, the target count, the field selection, the existing
// file), the output file, the report header of text outputs, the iteration over the target records
// and the end ("完了").
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/condition/condition.h"
#include "log/file_system.h"
#include "log/log_file.h"
#include "log/record_blocks.h"
#include "log/record_index.h"
#include "output/contest_settings.h"
#include "output/field_selection.h"
#include "output/output_file.h"
#include "output/output_parameters.h"

namespace vondal {

// The screen line of "処理中.." and "完了".
inline constexpr int kOutputNoticeRow = 13;

// What the outputs work on.
struct OutputContext {
  LogFile& log;
  RecordIndex& index;
  FileSystem& fs;
  std::string logName{};  // the log as configured, for report headers
  bool logInUtc = false;  // the log keeps UTC (`logtime`): the ADIF export's header says so
  // Enters an output's name in the memory history; may be empty.
  std::function<void(std::string_view)> recordUse{};
  ContestSettings contest{};  // for the contest logs and the error inspection
  // The working memory of one output (the temporary pool, sized by the `memory` setting).
  size_t workBytes = 2000000;
  // The ADIF output writes the standard form of ADIF 3.1 (the `adif` key says "standard").
  bool standardAdif = false;
};

// What the frame hands an output body once the form is confirmed.
struct OutputJob {
  OutputJob(const OutputContext& context, const std::vector<int>& list);

  const OutputContext& context;
  OutputParameters& parameters;
  std::vector<int> list;  // the parameters of the form, in order
  Condition selection;    // parameter 8, when the target is 式で選択
  FieldSelection fields;  // parameter 10, when the form has it
  int targetCount = 0;
  int fileParameter = 0;  // the output file's parameter (0, 1, 2, 3, 5 or 6)
  std::unique_ptr<OutputFile> file;

  bool Has(int parameter) const;
  const OutputParameter& operator[](int parameter) const { return parameters[parameter]; }

  // Record n when it is a target: its texts (read from the log), else null. Marks are tested before
  // the record is read.
  const RecordTexts* Target(int n);
  // Record n's 200 bytes when it is a target, else null.
  const char* TargetImage(int n);
  // The stored image of record n, valid with the texts Target(n) gave; null when it cannot be read.
  const char* Image(int n) { return records_.Image(n); }

 private:
  bool MarkedAsWanted(int n) const;
  RecordBlocks records_;
};

// The number of target records for the target choice (and the compiled selection).
int CountTargets(OutputJob& job);

// Runs the form of `title` with the parameters of `list` (the first one the output file) until it
// is confirmed and its file opened; nothing when the user leaves it (Esc, Q at the question).
std::optional<OutputJob> RunOutputFrame(const OutputContext& context, const std::string& title,
                                        const std::vector<int>& list);

// The end of an output body: the file finished (written out, synced and put in place); on success
// the name in the memory history (an output without one leaves it empty) and "完了" on line 13; on
// a failure the message, and the old file as it was. True on success.
bool FinishOutput(OutputJob& job, std::string_view name);

// The report header of text tables: the program, the log, the title and the parameters.
std::string ReportHeader(const OutputJob& job, const std::string& title);

}  // namespace vondal

#include "tools/vonfill/vonfill.h"

#include <time.h>

#include <cstdlib>
#include <new>

#include "app/text/file_name.h"
#include "app/text/sjis.h"
#include "app/text/standard_options.h"
#include "log/log_format.h"

namespace vondal::vonfill {
namespace {

constexpr int kRecordLimit = 1000000;

// With a fixed seed the log also ends in a fixed month, so that it is the same on any day.
constexpr int kFixedYear = 2025;
constexpr int kFixedMonth = 1;

// Records go to the file in pieces of this many bytes (5000 records).
constexpr size_t kWriteBytes = 5000 * kRecordSize;

VonfillCommand Refuse(std::string message) {
  VonfillCommand command;
  command.action = VonfillCommand::Action::kRefuse;
  command.message = std::move(message);
  return command;
}

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!IsAsciiDigit(c)) return false;
  }
  return true;
}

// A foreign share: a number; above 1 it is a percentage. False unless it comes to 0-1.
bool ParseShare(const std::string& text, double& share) {
  if (text.empty()) return false;
  char* end = nullptr;
  double value = std::strtod(text.c_str(), &end);
  if (*end != '\0' || !(value >= 0)) return false;
  if (value > 1) value /= 100;
  if (value > 1) return false;
  share = value;
  return true;
}

}  // namespace

const std::string& UsageText() {
  static const std::string text =
      "Vondalテスト用ダミーデータ生成\n"
      "\n"
      "［書式］\n"
      ">VONFILL file-name records (-D###) (-U)\n"
      "-D### DX局の比率\n"
      "-U    コールサイン重複の検査を強化（処理時間が数十倍になる）\n"
      "\n"
      "［制限等］\n"
      "records（レコード数）は1000000以下（ただし700000以下を推奨）\n"
      "DX局の比率が1.0を超えるときは%表示とみなす（デフォルトは0.5）\n"
      "同じディレクトリに\"CGlist3.TXT\"が必要\n";
  return text;
}

std::string HelpText(std::string_view cityListPath) {
  return UsageText() +
         "\n"
         "［その他］\n"
         "-S### 乱数の種（同じ種からは同じログができる）\n" +
         std::string(StandardOptionLines()) + "CGlist3.TXT: " + std::string(cityListPath) +
         "\n"
         "詳しくは man vonfill\n";
}

VonfillCommand ParseCommandLine(const std::vector<std::string>& args) {
  if (args.size() < 2 || args[1].empty() || args[1][0] == '0' || !AllDigits(args[1])) {
    return VonfillCommand();
  }
  if (args[1].size() > 7 || std::atoi(args[1].c_str()) > kRecordLimit)
    return Refuse("レコード数制限を超えます");

  VonfillCommand command;
  command.action = VonfillCommand::Action::kGenerate;
  command.fileName = CompleteFileName(args[0], "VD");
  command.settings.records = std::atoi(args[1].c_str());

  for (size_t k = 2; k < args.size(); ++k) {
    const std::string& arg = args[k];
    if (arg.empty() || (arg[0] != '-' && arg[0] != '/')) return Refuse("引数が多すぎます: " + arg);
    if (arg.size() < 2) return Refuse("オプションが不適当です: " + arg);
    const std::string value = arg.substr(2);
    switch (AsciiUpper(arg[1])) {
      case 'D':
        if (!ParseShare(value, command.settings.foreignShare))
          return Refuse("DX局の比率が不適当です: " + arg);
        continue;
      case 'U':
        if (!value.empty()) break;
        command.settings.strict = true;
        continue;
      case '!':
        if (!value.empty()) break;
        command.settings.memoryStatistics = true;
        continue;
      case 'S':
        if (!AllDigits(value) || value.size() > 10 ||
            std::strtoull(value.c_str(), nullptr, 10) > 0xFFFFFFFFull)
          break;
        command.settings.seed = static_cast<uint32_t>(std::strtoul(value.c_str(), nullptr, 10));
        command.fixedSeed = true;
        continue;
    }
    return Refuse("オプションが不適当です: " + arg);
  }
  return command;
}

std::string WriteDummyLog(const VonfillCommand& command, FileSystem& fs, const std::string& cityListPath,
                          const std::function<void(int)>& progress) {
  if (fs.Exists(command.fileName)) return "既存ファイルには出力できません";
  FileReplacement file(fs, command.fileName);
  if (!file.Open()) return "オープンできません";

  DummyLogSettings settings = command.settings;
  if (command.fixedSeed) {
    settings.year = kFixedYear;
    settings.month = kFixedMonth;
  } else {
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    tm local;
    localtime_r(&now.tv_sec, &local);
    settings.year = local.tm_year + 1900;
    settings.month = local.tm_mon + 1;
    settings.seed = static_cast<uint32_t>(now.tv_sec) ^ static_cast<uint32_t>(now.tv_nsec);
  }

  try {
    CityLists cities;
    if (!cities.Load(cityListPath)) return "CGlist3.TXTがありません";
    DummyLog log(settings, cities);
    std::vector<char> buffer(kWriteBytes);
    size_t used = 0;
    Record record;
    for (int i = 0; i < settings.records; ++i) {
      log.BuildRecord(i, record);
      EncodeRecord(record, buffer.data() + used);
      used += kRecordSize;
      if (used == kWriteBytes || i == settings.records - 1) {
        if (!file.Write(buffer.data(), used)) return "書き込めません";
        used = 0;
      }
      if (i % 10000 == 0) progress(i);
    }
  } catch (const std::bad_alloc&) {
    return "Malloc failed";
  }
  // A file that appeared under the name while the log was made is not replaced either.
  if (!file.CommitNew())
    return fs.Exists(command.fileName) ? "既存ファイルには出力できません" : "書き込めません";
  return "";
}

}  // namespace vondal::vonfill

// Run-time counters of changes by kind. A file counts as updated when its counter is nonzero;
// colour sets, macros and the index are written back at quit only then.
#pragma once

#include <array>

namespace vondal {

enum WriteCounter : int {
  kCountColor,
  kCountMacro,
  kCountLogNew,
  kCountIndex,
  kCountSafety,
  kCountExternal,
  kCountLogOld,
  kCountLogJoin,
  kCountLogSort,
  kCountSafetyTime,
  kWriteCounterCount,
};

struct WriteCounterName {
  const char* shortName;
  const char* description;
};

inline constexpr WriteCounterName kWriteCounterNames[kWriteCounterCount] = {
    {"Color", "配色変更操作回数"},      {"Macro", "ﾏｸﾛ変更操作回数"},
    {"Log(New)", "ﾛｸﾞ新規ﾚｺｰﾄﾞ数"},     {"Index", "ｲﾝﾃﾞｯｸｽ更新ﾚｺｰﾄﾞ数"},
    {"Safety", "ｾｰﾌﾃｨﾌｧｲﾙ追加ﾚｺｰﾄﾞ数"}, {"External", "外部ﾌｧｲﾙ書出行数"},
    {"Log(Old)", "ﾛｸﾞ書換ﾚｺｰﾄﾞ数"},     {"Log(Join)", "ﾛｸﾞ結合読込ﾚｺｰﾄﾞ数"},
    {"Log(Sort)", "ﾛｸﾞｿｰﾄ回数"},        {"Safety(Time)", "ｾｰﾌﾃｨﾌｧｲﾙ日時記録ﾚｺｰﾄﾞ数"},
};

struct WriteCounters {
  std::array<long, kWriteCounterCount> count{};

  long& operator[](WriteCounter c) { return count[c]; }
  long operator[](WriteCounter c) const { return count[c]; }

  bool LogUpdated() const {
    return count[kCountLogNew] + count[kCountLogOld] + count[kCountLogJoin] + count[kCountLogSort] != 0;
  }
  bool SafetyUpdated() const { return count[kCountSafety] + count[kCountSafetyTime] != 0; }
};

}  // namespace vondal

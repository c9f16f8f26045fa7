#include "station/rig.h"

namespace vondal {

std::string RigFailureText(RigFailure failure, int report) {
  switch (failure) {
    case RigFailure::kNone:
      return "";
    case RigFailure::kAddress:
      return "ﾘｸﾞのｱﾄﾞﾚｽが不適当です";
    case RigFailure::kConnect:
      return "ﾘｸﾞに接続できません";
    case RigFailure::kTimeout:
      return "ﾘｸﾞ応答なし";
    case RigFailure::kGarbage:
      return "ﾘｸﾞの応答が不適当です";
    case RigFailure::kRadio:
      return "ﾘｸﾞｴﾗｰ RPRT " + std::to_string(report);
  }
  return "";
}

}  // namespace vondal

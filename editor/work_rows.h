// The rows on which sort and join show their steps, progress and outcome. The program shows them
// on its screen; tests keep them to compare.
#pragma once

#include <string_view>

namespace vondal {

class WorkRows {
 public:
  virtual ~WorkRows() = default;

  // A text at row `row`, column `col` of the work screen; the rest of the row is cleared.
  virtual void Put(int /*row*/, int /*col*/, std::string_view /*text*/) {}

  // Brings what was put to the terminal (progress during long steps).
  virtual void Flush() {}
};

}  // namespace vondal

// The work screen of sort and join: their rows drawn on the program's screen below the title.
#pragma once

#include <string_view>

#include "editor/work_rows.h"

namespace vondal {

class ScreenRows : public WorkRows {
 public:
  void Put(int row, int col, std::string_view text) override;
  void Flush() override;
};

// Clears the screen below the title row, down to the message line.
void ClearWorkScreen();

}  // namespace vondal

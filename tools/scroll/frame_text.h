// The texts of the frame around the view: the ruler and the file name fitted to the width.
#pragma once

#include <string>
#include <string_view>

namespace vondal::scroll {

// `width` cells: at each column i that is a multiple of 10 the digit (i / 10) mod 10, blanks
// elsewhere.
std::string Ruler(int width);

// The file name as it fits into `width` cells (width >= 12). A longer name keeps its first n
// bytes, then "･･", then as much of its end as fits, where n = (offset of the base name +
// width - name length - 1) / 2, at least 2; neither piece ends or starts inside a two-byte
// character.
std::string FitFileName(std::string_view name, int width);

}  // namespace vondal::scroll

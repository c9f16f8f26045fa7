// scroll's command line. Arguments are read left to right; one that does not begin with "-" is
// the file name (the last one wins). An option is one letter in either case with its value
// written right behind it:
//
//   -t<n> top row          -l<n> left column       -b<n> bottom row     -r<n> right column
//   -f<n> fixed columns    -h<n> horizontal step   -c<x> colour mode    -m memory report
//   -n file name header    -s synchronous panes    -Vondal/<b><f> started by Vondal
//
// A negative bottom or right counts from the end of the screen. Every refusal is one of the texts
// below, which the program prints as "(!) %s".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vondal::scroll {

struct ScrollOptions {
  std::string fileName;
  int top = 1;
  int left = 0;
  int bottom = 0;  // default: screen rows - 3
  int right = 0;   // default: screen columns - 1
  int fixed = 8;   // columns at the line start that stay while scrolled sideways
  int step = 8;    // columns per Left/Right
  char colorMode = 0;
  std::string colorFile;  // mode "s"
  bool memoryReport = false;
  bool nameHeader = false;
  bool synchronous = false;
  bool startedByVondal = false;
  uint8_t frameAttr = 128;

  int rows() const { return bottom - top + 1; }
  int width() const { return right - left + 1; }
};

// What "--help" prints: the command line, each option, the exit statuses.
std::string HelpText();

// Reads the arguments (CP932, without the program's name) for a screen of `screenRows` ×
// `screenCols`. Empty on success; otherwise the refusal: "Invalid top position", "Invalid left
// position", "Invalid bottom position", "Invalid right position", "Invalid fixed length",
// "Invalid horizontal step", "Unknown color mode", "Unknown option", "Invalid vertical size" or
// "Invalid horizontal size". A value that is no decimal number is refused like an invalid one.
std::string ParseOptions(const std::vector<std::string>& args, int screenRows, int screenCols,
                         ScrollOptions* options);

}  // namespace vondal::scroll

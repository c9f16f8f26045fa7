// The usage spectrum of the colour editor (S): how often each of the eight colours is used as
// foreground and as background over the 66 elements, as a bar chart.
#pragma once

#include <array>

#include "color/color_set.h"

namespace vondal {

struct ColorUsage {
  std::array<int, 8> fg{};  // by colour index, normal and bright apart
  std::array<int, 8> fgBright{};
  std::array<int, 8> bg{};
  std::array<int, 8> bgBright{};
};

ColorUsage CountColorUsage(const ColorTable& table);

// Where the chart stands on a screen `screenWidth` columns wide: at least 80 columns and at most
// the screen, centred on the screen; the colour column (two columns from `centre`) stands where
// both sides' longest bars fit, or, when they cannot, where the one that fits keeps its room.
// Background bars run left from centre - 1, foreground bars right from centre + 2.
struct SpectrumLayout {
  int left = 0;
  int width = 0;
  int centre = 0;
};

SpectrumLayout LayOutSpectrum(const ColorUsage& usage, int screenWidth);

}  // namespace vondal

// NAME of the generated contacts: a made-up given name of 2 to 7 letters such as "Takeru".
#pragma once

#include <string>

#include "tools/vonfill/mersenne_twister.h"

namespace vondal::vonfill {

// A name: its length from one draw, its first letter from the letters that begin names, each
// further letter from the letters that follow the one before (the name letter table); the first
// letter upper case.
void MakeName(MersenneTwister& rng, std::string& name);

// The length of a name for draw r: the integer part of a^3 * 18 + 4.6, a = r - 0.48 (2 to 7).
int NameLength(double r);

}  // namespace vondal::vonfill

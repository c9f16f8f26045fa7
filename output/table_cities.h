// 県市郡区別交信数: contacts with Japanese stations per prefecture and per city, gun and ward of the
// city list, by mode and band. The location is QTH, or, when QTH is empty, the number of the
// received contest exchange; a location that cannot be counted is written as a problem line.
#pragma once

#include "citylist/city_list.h"
#include "output/output_frame.h"

namespace vondal {

// Parameters 31 項目 and 32 順序; the list is the one loaded at start-up unless another is given.
// False, with "CGlist3.TXTが読めません" on line 13 and nothing written, when the list is not loaded.
bool WriteCityTable(OutputJob& job, const CityList& list = TheCityList());

}  // namespace vondal

// ADIF's bands: the name of each (BAND, "40m") with its edges. A contact whose file gives BAND
// but no FREQ gets the band's lower edge as FREQ, and two frequencies are on the same band when
// they lie in one of these ranges.
#pragma once

#include <cstdint>
#include <string_view>

namespace vondal {

// A FREQ text (MHz, "14.074", "7.", "0.1357") in Hz: digits, at most one ".", up to six
// decimals counted (more are cut off); -1 for any other text or an empty one.
int64_t FrequencyHz(std::string_view freq);

// The band of a FREQ text: an index into ADIF's band list, or -1 outside every band (or no
// frequency). The log's short forms ("1.9", "10.", "18.", "24.", "1200.", "5600.") count as the
// frequencies they stand for.
int AdifBandOf(std::string_view freq);

// The band of a frequency in Hz, as AdifBandOf; and a band's name as ADIF writes it ("80m"),
// empty for -1.
int AdifBandOfHz(int64_t hz);
std::string_view AdifBandName(int band);

// The FREQ text for a BAND name (any case; ADIF's names and the log's own "75m"): the band's
// lower edge in MHz as the log writes frequencies ("7.0"), the edge of the log's own band where
// the log's band begins higher ("430.0" for 70cm), so that the contact counts on its band in
// every table. Empty for a name that is no band.
std::string_view BandEdgeFreq(std::string_view band);

}  // namespace vondal

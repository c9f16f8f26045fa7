// The one rule by which every program of the system completes a file name with its extension.
#pragma once

#include <string>
#include <string_view>

namespace vondal {

// A file name with its extension: a name whose last part (after the last "/") holds no "." gets
// "." + extension, one ending in "." gets the extension alone; anything else is returned as it
// is. Only the last part counts, so a folder such as "sub.d/" does not keep "sub.d/new" from
// becoming "sub.d/new.VD". A "/" or "." is never the second byte of a two-byte character, so
// the name can be searched for them directly.
std::string CompleteFileName(std::string_view name, std::string_view extension);

}  // namespace vondal

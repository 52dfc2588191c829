// Percent-encoding of paths, byte by byte, as file URIs and the Trash's info files write them.
#pragma once

#include <string>
#include <string_view>

namespace velmora::platform {

// Every byte but the unreserved characters (letters, digits, "-", ".", "_", "~") and "/" as
// "%XX" in upper-case hex; so any bytes, line breaks and invalid UTF-8 included, survive.
std::string PercentEncodePath(std::string_view path);

} // namespace velmora::platform

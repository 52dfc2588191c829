// The text/uri-list of a drop: the local files it names, as raw path bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora::shell {

class UriList {
public:
    // The local paths of the list, in order: file: URIs with no host or "localhost",
    // percent-decoded byte for byte (names that are not UTF-8 come through unchanged). Comment
    // lines, other schemes, other hosts and paths holding a NUL byte are left out.
    static std::vector<std::string> LocalPaths(std::string_view text);
};

} // namespace velmora::shell

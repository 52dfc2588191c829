// The labels the system knows for its block devices, as the desktop shows volumes by them.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace velmora::dirtree {

class VolumeLabels {
public:
    // Reads the device manager's links in dir: each is named after a label (bytes it cannot put
    // in a name written "\xNN") and points at the device. A missing folder gives no labels.
    static VolumeLabels Read(const std::string& dir = "/dev/disk/by-label");

    // The label of the device a mount names as its source (followed through links), or "".
    std::string LabelOf(const std::string& source) const;
    bool Empty() const { return byDevice_.empty(); }

    // A link name with its "\xNN" escapes undone; anything else is kept as it stands.
    static std::string UnescapeLinkName(std::string_view name);

private:
    std::map<std::string, std::string> byDevice_; // the device's real path -> its label
};

} // namespace velmora::dirtree

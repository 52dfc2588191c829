// Volume labels from the device manager's by-label links.
#include "core/dirtree/VolumeLabels.h"

#include <cstdlib>
#include <dirent.h>
#include <memory>

namespace velmora::dirtree {

namespace {

std::string RealPath(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : std::string();
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

std::string VolumeLabels::UnescapeLinkName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x') {
            const int hi = HexDigit(name[i + 2]);
            const int lo = HexDigit(name[i + 3]);
            if (hi >= 0 && lo >= 0) {
                out += static_cast<char>(hi * 16 + lo);
                i += 3;
                continue;
            }
        }
        out += name[i];
    }
    return out;
}

VolumeLabels VolumeLabels::Read(const std::string& dir) {
    VolumeLabels labels;
    DIR* d = ::opendir(dir.c_str());
    if (!d) return labels;
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        const std::string device = RealPath(dir + "/" + name);
        const std::string label = UnescapeLinkName(name);
        if (!device.empty() && !label.empty()) labels.byDevice_[device] = label;
    }
    ::closedir(d);
    return labels;
}

std::string VolumeLabels::LabelOf(const std::string& source) const {
    if (byDevice_.empty() || source.empty() || source[0] != '/') return {};
    const auto it = byDevice_.find(RealPath(source));
    return it == byDevice_.end() ? std::string() : it->second;
}

} // namespace velmora::dirtree

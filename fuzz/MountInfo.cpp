// Fuzzes the mount table parser and the volume filter with any text as the table, and the
// label links' name decoding with the same text as a name.
#include "core/dirtree/VolumeLabels.h"
#include "core/dirtree/VolumeList.h"
#include "core/fs/MountTable.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    // Every escape is four bytes for one: never longer, never more than a quarter shorter.
    const std::string label = velmora::dirtree::VolumeLabels::UnescapeLinkName(text);
    if (label.size() > text.size() || label.size() * 4 < text.size()) std::abort();
    auto table = velmora::fs::ParseMountInfo(text);
    for (const auto& e : table)
        if (e.mountPoint.empty() || e.mountPoint[0] != '/' || e.fsType.empty()) std::abort();
    auto volumes = velmora::dirtree::VisibleVolumes(table, "/home/ann", "ann");
    if (volumes.empty() || volumes[0].path != "/") std::abort();
    for (std::size_t i = 1; i < volumes.size(); ++i) {
        const auto& v = volumes[i];
        // Every offered volume is a folder path ending in "/", named after its last part.
        if (v.path.size() < 3 || v.path[0] != '/' || v.path.back() != '/' || v.caption.empty())
            std::abort();
        if (v.path.compare(v.path.size() - v.caption.size() - 1, v.caption.size(), v.caption) != 0)
            std::abort();
    }
    return 0;
}

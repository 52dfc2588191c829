// The picture-loader registry.
#include "core/platform/PictureRegistry.h"

namespace velmora::platform {

namespace {
std::string Lower(std::string_view s) {
    std::string r(s);
    if (!r.empty() && r.front() == '.') r.erase(0, 1);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return r;
}
} // namespace

PictureRegistry& PictureRegistry::Instance() {
    static PictureRegistry registry;
    return registry;
}

void PictureRegistry::Register(std::string_view ext, std::string description,
                               std::shared_ptr<PictureLoader> loader) {
    std::string key = Lower(ext);
    for (auto& e : entries_) {
        if (e.ext == key) {
            e.description = std::move(description);
            e.loader = std::move(loader);
            return;
        }
    }
    entries_.push_back({key, std::move(description), std::move(loader)});
}

const PictureLoader* PictureRegistry::Find(std::string_view ext) const {
    std::string key = Lower(ext);
    for (const auto& e : entries_)
        if (e.ext == key) return e.loader.get();
    return nullptr;
}

std::string PictureRegistry::Description(std::string_view ext) const {
    std::string key = Lower(ext);
    for (const auto& e : entries_)
        if (e.ext == key) return e.description;
    return {};
}

Picture PictureRegistry::Load(std::string_view ext, const std::uint8_t* data, std::size_t size,
                              std::int64_t maxPixels) const {
    const PictureLoader* loader = Find(ext);
    if (!loader) return {};
    return loader->Load(data, size, maxPixels);
}

PictureSize PictureRegistry::ReadSize(std::string_view ext, const std::uint8_t* data,
                                      std::size_t size) const {
    const PictureLoader* loader = Find(ext);
    if (!loader) return {};
    return loader->ReadSize(data, size);
}

} // namespace velmora::platform

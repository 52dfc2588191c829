// Decoding a read picture on demand.
#include "core/tags/picture/IdPicture.h"

#include <exception>
#include <utility>

namespace velmora::tags {

IdPicture::IdPicture(std::string ext, std::shared_ptr<const std::vector<std::uint8_t>> data,
                     int width, int height)
    : ext_(std::move(ext)), data_(std::move(data)), width_(width), height_(height) {}

platform::Picture IdPicture::Decode(std::int64_t maxPixels) const {
    if (Empty() || !data_) return {};
    try {
        return platform::PictureRegistry::Instance().Load(ext_, data_->data(), data_->size(),
                                                          maxPixels);
    } catch (const std::exception&) {
        // Broken data, a kind no loader knows any more, or no memory: nothing to show.
        return {};
    }
}

} // namespace velmora::tags

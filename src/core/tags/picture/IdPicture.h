// One attached picture as read from a tag: its size from the header, its bytes, pixels on demand.
#pragma once

#include "core/platform/PictureRegistry.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velmora::tags {

// Reading a tag only reads each picture's header; the pixels are decoded when a picture is
// shown, one at a time and within a memory budget, so a tag full of huge pictures costs no more
// than its own bytes. Copies share the bytes.
class IdPicture {
public:
    IdPicture() = default;
    // A picture of the registry's kind ext whose header states width x height.
    IdPicture(std::string ext, std::shared_ptr<const std::vector<std::uint8_t>> data, int width,
              int height);

    // No picture: none was read, or its kind is unknown or its header broken.
    bool Empty() const { return width_ <= 0 || height_ <= 0; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The picture registry's extension the picture decodes by ("jpg").
    const std::string& Extension() const { return ext_; }
    // The encoded bytes (none when they were not kept).
    std::size_t DataSize() const { return data_ ? data_->size() : 0; }
    const std::uint8_t* Data() const { return data_ ? data_->data() : nullptr; }

    // Decodes the pixels now, reduced by the decoder to at most maxPixels; an empty picture when
    // they cannot be decoded within that (or at all). Never throws.
    platform::Picture
    Decode(std::int64_t maxPixels = platform::PictureLoader::kDefaultMaxPixels) const;

private:
    std::string ext_;
    std::shared_ptr<const std::vector<std::uint8_t>> data_;
    int width_ = 0;
    int height_ = 0;
};

} // namespace velmora::tags

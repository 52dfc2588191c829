// Pictures decoded from memory, with the decoder chosen by file extension.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::platform {

// A decoded picture: Width x Height pixels, 0xAARRGGBB, row by row.
struct Picture {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;
    bool Empty() const { return Width <= 0 || Height <= 0; }
};

// Width and height of a picture as its header states them.
struct PictureSize {
    int Width = 0;
    int Height = 0;
};

// Decodes one kind of image. Throws platform::Exception (or a subclass) on broken data.
class PictureLoader {
public:
    // What one decoded picture may hold unless the caller says otherwise: 4 M pixels (16 MB),
    // plenty for a picture shown in a window.
    static constexpr std::int64_t kDefaultMaxPixels = std::int64_t{2048} * 2048;

    virtual ~PictureLoader() = default;
    // The size from the header alone, without decoding pixels: cheap whatever the header claims.
    virtual PictureSize ReadSize(const std::uint8_t* data, std::size_t size) const = 0;
    // The pixels, reduced by the decoder when the picture has more than maxPixels of them; a
    // picture that cannot be brought within maxPixels, or whose decoding would need much more
    // memory than that, is refused with an error.
    virtual Picture Load(const std::uint8_t* data, std::size_t size,
                         std::int64_t maxPixels = kDefaultMaxPixels) const = 0;
};

// Extension -> loader. The core registers JPEG; the widgets layer registers the toolkit's
// loaders for the other kinds at start-up.
class PictureRegistry {
public:
    static PictureRegistry& Instance();

    // ext without the dot, any case ("jpg").
    void Register(std::string_view ext, std::string description,
                  std::shared_ptr<PictureLoader> loader);
    const PictureLoader* Find(std::string_view ext) const;
    std::string Description(std::string_view ext) const;

    // The picture, or an empty one when no loader knows ext. Errors of the loader pass on.
    Picture Load(std::string_view ext, const std::uint8_t* data, std::size_t size,
                 std::int64_t maxPixels = PictureLoader::kDefaultMaxPixels) const;
    // The header's size, or 0 x 0 when no loader knows ext. Errors of the loader pass on.
    PictureSize ReadSize(std::string_view ext, const std::uint8_t* data, std::size_t size) const;

private:
    struct Entry {
        std::string ext;
        std::string description;
        std::shared_ptr<PictureLoader> loader;
    };
    std::vector<Entry> entries_;
};

} // namespace velmora::platform

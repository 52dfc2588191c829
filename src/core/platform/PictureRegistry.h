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

// Decodes one kind of image. Throws platform::Exception (or a subclass) on broken data.
class PictureLoader {
public:
    virtual ~PictureLoader() = default;
    virtual Picture Load(const std::uint8_t* data, std::size_t size) const = 0;
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
    Picture Load(std::string_view ext, const std::uint8_t* data, std::size_t size) const;

private:
    struct Entry {
        std::string ext;
        std::string description;
        std::shared_ptr<PictureLoader> loader;
    };
    std::vector<Entry> entries_;
};

} // namespace velmora::platform

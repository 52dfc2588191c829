// Picture loaders on QImage.
#include "ui/tags/QtPictureLoaders.h"

#include "core/platform/Error.h"
#include "core/platform/PictureRegistry.h"

#include <QImage>
#include <memory>

namespace velmora::ui {

namespace {

class QtImageLoader : public platform::PictureLoader {
public:
    explicit QtImageLoader(const char* format) : format_(format) {}

    platform::Picture Load(const std::uint8_t* data, std::size_t size) const override {
        QImage image;
        if (size > static_cast<std::size_t>(INT32_MAX) ||
            !image.loadFromData(data, static_cast<int>(size), format_))
            throw platform::Exception(std::string("Invalid ") + format_ + " image");
        image = image.convertToFormat(QImage::Format_ARGB32);
        platform::Picture p;
        p.Width = image.width();
        p.Height = image.height();
        p.Pixels.resize(static_cast<std::size_t>(p.Width) * static_cast<std::size_t>(p.Height));
        for (int y = 0; y < p.Height; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
            std::copy(row, row + p.Width,
                      p.Pixels.begin() + static_cast<std::ptrdiff_t>(y) * p.Width);
        }
        return p;
    }

private:
    const char* format_;
};

} // namespace

void RegisterQtPictureLoaders() {
    auto& registry = platform::PictureRegistry::Instance();
    registry.Register("png", "Portable Network Graphics", std::make_shared<QtImageLoader>("PNG"));
    registry.Register("gif", "GIF Image", std::make_shared<QtImageLoader>("GIF"));
    registry.Register("bmp", "Bitmaps", std::make_shared<QtImageLoader>("BMP"));
    registry.Register("ico", "Icons", std::make_shared<QtImageLoader>("ICO"));
}

} // namespace velmora::ui

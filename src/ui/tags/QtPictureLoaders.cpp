// Picture loaders on QImageReader.
#include "ui/tags/QtPictureLoaders.h"

#include "core/platform/Error.h"
#include "core/platform/PictureRegistry.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>

namespace velmora::ui {

namespace {

[[noreturn]] void ThrowInvalid(const char* format) {
    throw platform::Exception(std::string("Invalid ") + format + " image");
}

class QtImageLoader : public platform::PictureLoader {
public:
    explicit QtImageLoader(const char* format) : format_(format) {}

    platform::PictureSize ReadSize(const std::uint8_t* data, std::size_t size) const override {
        Reader reader(data, size, format_, kDefaultMaxPixels);
        QSize s = reader.Get().size();
        // A kind whose handler cannot tell the size from the header is decoded to learn it,
        // within the same allocation limit as any decoding.
        if (!s.isValid()) s = reader.Read().size();
        if (s.isEmpty()) ThrowInvalid(format_);
        return {s.width(), s.height()};
    }

    platform::Picture Load(const std::uint8_t* data, std::size_t size,
                           std::int64_t maxPixels) const override {
        Reader reader(data, size, format_, maxPixels);
        const QSize s = reader.Get().size();
        // Handlers that can decode at a reduced size do so; the others are reduced afterwards.
        if (s.isValid() && Pixels(s) > maxPixels) reader.Get().setScaledSize(Fit(s, maxPixels));
        QImage image = reader.Read();
        if (Pixels(image.size()) > maxPixels)
            image = image.scaled(Fit(image.size(), maxPixels), Qt::IgnoreAspectRatio,
                                 Qt::SmoothTransformation);
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
    // A reader over bytes in memory. Handlers that cannot decode at a reduced size decode the
    // whole picture first: up to 64 MB (16 megapixels), or the memory of maxPixels pixels when
    // that is more; the toolkit refuses bigger allocations instead of attempting them.
    class Reader {
    public:
        Reader(const std::uint8_t* data, std::size_t size, const char* format,
               std::int64_t maxPixels)
            : bytes_(QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                             static_cast<qsizetype>(size))),
              buffer_(&bytes_), format_(format) {
            buffer_.open(QIODevice::ReadOnly);
            reader_.setDevice(&buffer_);
            reader_.setFormat(format);
            const std::int64_t mb = std::max<std::int64_t>(64, maxPixels * 4 >> 20);
            reader_.setAllocationLimit(static_cast<int>(std::min<std::int64_t>(mb, INT_MAX)));
        }
        QImageReader& Get() { return reader_; }
        QImage Read() {
            QImage image = reader_.read();
            if (image.isNull()) ThrowInvalid(format_);
            return image;
        }

    private:
        QByteArray bytes_;
        QBuffer buffer_;
        QImageReader reader_;
        const char* format_;
    };

    static std::int64_t Pixels(QSize s) { return std::int64_t{s.width()} * s.height(); }

    // s reduced, keeping its proportions, to at most maxPixels pixels.
    static QSize Fit(QSize s, std::int64_t maxPixels) {
        const double f = std::sqrt(static_cast<double>(maxPixels) / static_cast<double>(Pixels(s)));
        return {std::max(1, static_cast<int>(s.width() * f)),
                std::max(1, static_cast<int>(s.height() * f))};
    }

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

// The toolkit's decoders behind the core's picture registry.
#include "ui/tags/QtPictureLoaders.h"

#include "core/platform/PictureRegistry.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

using velmora::platform::PictureRegistry;

TEST(QtPictureLoaders, DecodeEachKindFromMemoryAndRefuseBrokenData) {
    velmora::ui::RegisterQtPictureLoaders();
    QImage source(3, 2, QImage::Format_ARGB32);
    source.fill(QColor(10, 20, 30));
    source.setPixel(2, 1, qRgb(200, 100, 50));
    for (const char* kind : {"png", "bmp", "ico"}) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(source.save(&buffer, kind)) << kind;
        auto p = PictureRegistry::Instance().Load(
            kind, reinterpret_cast<const std::uint8_t*>(bytes.data()),
            static_cast<std::size_t>(bytes.size()));
        ASSERT_EQ(p.Width, 3) << kind;
        ASSERT_EQ(p.Height, 2) << kind;
        EXPECT_EQ(p.Pixels[5] & 0xFFFFFF, 0xC86432u) << kind;
    }
    EXPECT_NE(PictureRegistry::Instance().Find("GIF"), nullptr);
    const std::uint8_t junk[] = {1, 2, 3};
    EXPECT_ANY_THROW(PictureRegistry::Instance().Load("png", junk, sizeof junk));
    EXPECT_TRUE(PictureRegistry::Instance().Load("tiff", junk, sizeof junk).Empty());
    EXPECT_ANY_THROW(PictureRegistry::Instance().ReadSize("png", junk, sizeof junk));
}

TEST(QtPictureLoaders, SizeFromTheHeaderAndPicturesReducedToTheAskedPixels) {
    velmora::ui::RegisterQtPictureLoaders();
    QImage source(300, 200, QImage::Format_RGB32);
    source.fill(QColor(10, 20, 30));
    for (const char* kind : {"png", "bmp"}) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(source.save(&buffer, kind)) << kind;
        const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
        const auto size = static_cast<std::size_t>(bytes.size());
        auto& registry = PictureRegistry::Instance();
        const auto header = registry.ReadSize(kind, data, size);
        EXPECT_EQ(header.Width, 300) << kind;
        EXPECT_EQ(header.Height, 200) << kind;
        const auto p = registry.Load(kind, data, size, 6000);
        EXPECT_LE(std::int64_t{p.Width} * p.Height, 6000) << kind;
        EXPECT_NEAR(p.Width, 94, 2) << kind;
        EXPECT_NEAR(p.Height, 63, 2) << kind;
        ASSERT_EQ(p.Pixels.size(), static_cast<std::size_t>(p.Width) * p.Height);
        EXPECT_EQ(p.Pixels[p.Pixels.size() / 2] & 0xFFFFFF, 0x0A141Eu) << kind;
    }
}

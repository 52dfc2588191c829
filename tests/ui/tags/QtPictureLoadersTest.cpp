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
}

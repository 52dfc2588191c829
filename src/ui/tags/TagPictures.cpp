// Pictures of a read tag as images.
#include "ui/tags/TagPictures.h"

namespace velmora::ui {

bool TagPictures::HoldsImage(const tags::Id3v2& tag, int type) {
    return tag.Images().Pictures.Get(type).Width != 0;
}

QImage TagPictures::Image(const tags::Id3v2& tag, int type) {
    const platform::Picture& p = tag.Images().Pictures.Get(type);
    if (p.Empty()) return {};
    // The pixels are 0xAARRGGBB words, which is QImage's ARGB32 layout; copy out of the tag.
    QImage view(reinterpret_cast<const uchar*>(p.Pixels.data()), p.Width, p.Height,
                static_cast<qsizetype>(p.Width) * 4, QImage::Format_ARGB32);
    return view.copy();
}

QByteArray TagPictures::Bytes(const tags::Id3v2& tag, int type) {
    const std::vector<std::uint8_t>& bytes = tag.Images().Pictures.Data(type).Bytes;
    return {reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())};
}

std::string TagPictures::Extension(const tags::Id3v2& tag, int type) {
    return tag.Images().Pictures.Data(type).Extension;
}

} // namespace velmora::ui

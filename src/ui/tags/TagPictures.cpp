// Pictures of a read tag as images.
#include "ui/tags/TagPictures.h"

namespace velmora::ui {

bool TagPictures::HoldsImage(const tags::Id3v2& tag, int type) {
    // The header's size: reading a tag decodes no pixels.
    return !tag.Images().Pictures.Get(type).Empty();
}

QImage TagPictures::Image(const tags::Id3v2& tag, int type) {
    // Decoded now, within the reader's pixel budget.
    const platform::Picture p = tag.Images().Pictures.Get(type).Decode();
    if (p.Empty()) return {};
    // The pixels are 0xAARRGGBB words, which is QImage's ARGB32 layout.
    QImage view(reinterpret_cast<const uchar*>(p.Pixels.data()), p.Width, p.Height,
                static_cast<qsizetype>(p.Width) * 4, QImage::Format_ARGB32);
    return view.copy();
}

QByteArray TagPictures::Bytes(const tags::Id3v2& tag, int type) {
    const tags::IdPicture& p = tag.Images().Pictures.Get(type);
    return {reinterpret_cast<const char*>(p.Data()), static_cast<qsizetype>(p.DataSize())};
}

std::string TagPictures::Extension(const tags::Id3v2& tag, int type) {
    return tag.Images().Pictures.Get(type).Extension();
}

} // namespace velmora::ui

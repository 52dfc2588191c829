// The one place where the tag viewer takes pictures from the reader: whether a kind holds an
// image, its pixels, and the bytes the tag carries.
#pragma once

#include "core/tags/id3v2/Id3v2.h"

#include <QByteArray>
#include <QImage>
#include <string>

namespace velmora::ui {

class TagPictures {
public:
    // True when the picture of that type has an image (its width is not 0).
    static bool HoldsImage(const tags::Id3v2& tag, int type);
    // The image; a null image when there is none.
    static QImage Image(const tags::Id3v2& tag, int type);
    // The picture's bytes as the tag carries them.
    static QByteArray Bytes(const tags::Id3v2& tag, int type);
    // The picture registry's extension for the picture's format ("jpg", "png").
    static std::string Extension(const tags::Id3v2& tag, int type);
};

} // namespace velmora::ui

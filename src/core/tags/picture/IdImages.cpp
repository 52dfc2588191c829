// Per-type picture and description storage.
#include "core/tags/picture/IdImages.h"

#include <utility>

namespace velmora::tags {

namespace {
constexpr std::array<std::string_view, kPictureTypeCount> kNames{{
#define VELMORA_ID3_PICTURE_NAME(n, Name) #Name,
    VELMORA_ID3_PICTURE_TYPES(VELMORA_ID3_PICTURE_NAME)
#undef VELMORA_ID3_PICTURE_NAME
}};

bool InRange(int type) {
    return type >= 0 && type < kPictureTypeCount;
}
} // namespace

std::string_view PictureTypeName(int type) {
    return InRange(type) ? kNames[type] : std::string_view();
}

const IdPicture& IdPictures::Get(int type) const {
    static const IdPicture kEmpty;
    return InRange(type) ? items_[type] : kEmpty;
}

void IdPictures::Set(int type, IdPicture picture) {
    if (InRange(type)) items_[type] = std::move(picture);
}

void IdPictures::Reset() {
    for (auto& p : items_)
        p = IdPicture();
}

std::size_t IdPictures::DataSize() const {
    std::size_t total = 0;
    for (const auto& p : items_)
        total += p.DataSize();
    return total;
}

const std::string& IdPicturesDesc::Get(int type) const {
    static const std::string kEmpty;
    return InRange(type) ? items_[type] : kEmpty;
}

void IdPicturesDesc::Set(int type, const std::string& description) {
    if (InRange(type)) items_[type] = description;
}

void IdPicturesDesc::Reset() {
    for (auto& s : items_)
        s.clear();
}

} // namespace velmora::tags

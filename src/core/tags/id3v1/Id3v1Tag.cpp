// The working copy of an ID3v1 tag.
#include "core/tags/id3v1/Id3v1Tag.h"

#include "core/platform/Utf8.h"

namespace velmora::tags {

void Id3v1Tag::SetGenre(TGenre genre) {
    genre_ = genre;
    Changed();
}

void Id3v1Tag::Set(std::string& field, const std::string& value) {
    field = value;
    Changed();
}

void Id3v1Tag::Changed() {
    if (OnChange) OnChange(*this);
}

std::string Id3v1Tag::Trim(std::string_view value) {
    // Every byte of a multi-byte UTF-8 sequence is above 0x20, so trimming bytes never cuts one.
    std::size_t begin = 0;
    std::size_t end = value.size();
    while (begin < end && static_cast<unsigned char>(value[begin]) <= 0x20)
        ++begin;
    while (end > begin && static_cast<unsigned char>(value[end - 1]) <= 0x20)
        --end;
    return std::string(value.substr(begin, end - begin));
}

bool Id3v1Tag::FitsTrailer(std::string_view value) {
    for (char32_t c : platform::DecodeUtf8(value))
        if (c > 0xFF) return false;
    return true;
}

} // namespace velmora::tags

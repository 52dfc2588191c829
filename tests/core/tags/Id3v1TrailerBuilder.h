// Builds ID3v1 trailer records for the tests.
#pragma once

#include <string>

namespace velmora::tags::test {

// "TAG", the text fields as stored (ISO 8859-1 bytes) cut or filled with pad to their width,
// and the genre byte.
inline std::string Trailer(const std::string& song, const std::string& artist = "",
                           const std::string& album = "", const std::string& year = "",
                           const std::string& comment = "", int genre = 0, char pad = '\0') {
    auto field = [pad](std::string v, std::size_t width) {
        v.resize(width, pad);
        return v;
    };
    return "TAG" + field(song, 30) + field(artist, 30) + field(album, 30) + field(year, 4) +
           field(comment, 30) + static_cast<char>(genre);
}

} // namespace velmora::tags::test

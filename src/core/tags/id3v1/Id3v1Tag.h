// The ID3v1 editor's working copy of a tag: six values, each change reported to the owner.
#pragma once

#include "core/tags/id3v1/Genre.h"

#include <functional>
#include <string>
#include <string_view>

namespace velmora::tags {

class Id3v1Tag {
public:
    // Fired after every setter, so the owner can show the whole copy again.
    std::function<void(Id3v1Tag& sender)> OnChange;

    const std::string& SongName() const { return songName_; }
    const std::string& Artist() const { return artist_; }
    const std::string& Album() const { return album_; }
    const std::string& Year() const { return year_; }
    const std::string& Comment() const { return comment_; }
    // Any byte: 126 (grNone) stands for a file without a tag, 255 for "no genre chosen".
    TGenre Genre() const { return genre_; }

    void SetSongName(const std::string& v) { Set(songName_, v); }
    void SetArtist(const std::string& v) { Set(artist_, v); }
    void SetAlbum(const std::string& v) { Set(album_, v); }
    void SetYear(const std::string& v) { Set(year_, v); }
    void SetComment(const std::string& v) { Set(comment_, v); }
    void SetGenre(TGenre genre);

    // The value without leading and trailing blanks and control characters (U+0000-U+0020).
    static std::string Trim(std::string_view value);
    // True when the trailer can hold every character of value; the others are written as "?".
    static bool FitsTrailer(std::string_view value);

private:
    void Set(std::string& field, const std::string& value);
    void Changed();

    std::string songName_;
    std::string artist_;
    std::string album_;
    std::string year_;
    std::string comment_;
    TGenre genre_ = grBlues;
};

} // namespace velmora::tags

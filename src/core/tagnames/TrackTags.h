// The few tag fields a file name is made from, read alike from every common audio format.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmora::tagnames {

// One track's fields as UTF-8 text; an empty field is one the file does not have. Numbers are
// kept as the tag writes them, without leading zeros ("3", not "03" or "3/12").
struct TrackTags {
    std::string Artist;
    std::string AlbumArtist;
    std::string Album;
    std::string Title;
    std::string Track;
    std::string TrackTotal;
    std::string Disc;
    std::string DiscTotal;
    std::string Year;
    std::string Genre;
    std::string Composer;
    std::string Comment;

    bool operator==(const TrackTags&) const = default;
};

// A tag's fields under the common property names (ARTIST, ALBUMARTIST, ALBUM, TITLE,
// TRACKNUMBER, TRACKTOTAL, DISCNUMBER, DISCTOTAL, DATE, GENRE, COMPOSER, COMMENT and the usual
// aliases), each with its values in tag order.
using TagProperties = std::vector<std::pair<std::string, std::vector<std::string>>>;

// Builds the record from a tag's properties; fields already set in into are kept, so a second
// tag only fills what the first one lacks. Several values are joined by ", "; blanks around
// values are dropped; "3/12" gives track 3 of 12; a date gives its year; an ID3v1 genre number
// ("17", "(17)") gives the genre's name.
void AddTagProperties(TrackTags& into, const TagProperties& properties);

// The record of one file: MP3 files through our own ID3v2 reader, then the ID3v1 trailer for
// what the ID3v2 tag lacks; every other format through the tag library by the file's content.
// A file that cannot be read, or holds no tag, gives an empty record; nothing is raised.
TrackTags ReadTrackTags(const std::string& path);

} // namespace velmora::tagnames

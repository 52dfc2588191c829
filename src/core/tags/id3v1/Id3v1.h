// The ID3v1 component: reads, tests for, writes and removes the 128-byte trailer of a file.
#pragma once

#include "core/tags/id3v1/Genre.h"

#include <string>

namespace velmora::tags {

// Text in the trailer is ISO 8859-1; the properties hold it as UTF-8. Every operation opens
// the file by name and closes it before returning.
class Id3v1 {
public:
    // Size of the trailer record at the end of the file.
    static constexpr int TagSize = 128;

    const std::string& FileName() const { return fileName_; }
    // Stores the name and reads that file's tag; the read's result is not kept.
    void SetFileName(const std::string& fileName);

    // The values of the last successful read; a new component holds empty strings and genre 0.
    const std::string& SongName() const { return songName_; }
    const std::string& Artist() const { return artist_; }
    const std::string& Album() const { return album_; }
    const std::string& Year() const { return year_; }
    const std::string& Comment() const { return comment_; }
    TGenre Genre() const { return genre_; }

    // Reads the trailer into the properties (empty strings and grNone when there is none).
    // False when the file could not be opened or read; the properties then stay as they were.
    bool ReadTag(const std::string& fileName);
    // Takes the values from a trailer's TagSize bytes already read; bytes without the "TAG"
    // identifier clear them.
    void LoadFromRecord(const std::uint8_t* record);
    // True when the file's last 128 bytes begin with "TAG"; any failure gives false.
    bool TagPresent(const std::string& fileName) const;
    // Replaces the file's trailer or appends one. Never creates the file; false on any failure.
    // Characters ISO 8859-1 cannot hold are written as "?"; values longer than their field
    // are cut.
    bool WriteTag(const std::string& fileName, const std::string& songName,
                  const std::string& artist, const std::string& album, const std::string& year,
                  const std::string& comment, TGenre genre) const;
    // Cuts an existing trailer off the file. Errors of opening or changing the file pass on
    // (platform::EStreamError and its subclasses).
    void RemoveTag(const std::string& fileName) const;

    static std::string GenreToString(TGenre genre) { return tags::GenreToString(genre); }

private:
    std::string fileName_;
    std::string songName_;
    std::string artist_;
    std::string album_;
    std::string year_;
    std::string comment_;
    TGenre genre_ = grBlues;
};

} // namespace velmora::tags

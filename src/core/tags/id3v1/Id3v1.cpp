// The ID3v1 trailer: its byte layout and the component's file operations.
#include "core/tags/id3v1/Id3v1.h"

#include "core/platform/FileStream.h"
#include "core/platform/Utf8.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <exception>
#include <sys/stat.h>

namespace velmora::tags {

using platform::FileStream;

namespace {

using Record = std::array<std::uint8_t, Id3v1::TagSize>;

struct Field {
    int offset;
    int width;
};

// The trailer's text fields. The comment is read as the full 30 bytes: the variant that keeps a
// track number in its last two bytes is not interpreted.
constexpr Field kSongName{3, 30};
constexpr Field kArtist{33, 30};
constexpr Field kAlbum{63, 30};
constexpr Field kYear{93, 4};
constexpr Field kComment{97, 30};
constexpr int kGenreOffset = 127;

bool HasIdentifier(const std::uint8_t* bytes) {
    return bytes[0] == 'T' && bytes[1] == 'A' && bytes[2] == 'G';
}

// The field's value: its bytes up to the first zero, ISO 8859-1 turned into UTF-8.
std::string ReadField(const Record& record, Field field) {
    std::string text;
    for (int i = 0; i < field.width; ++i) {
        std::uint8_t b = record[field.offset + i];
        if (b == 0) break;
        platform::AppendUtf8(text, b);
    }
    return text;
}

// Stores the value's characters and one terminating zero, at most the field's width; the
// field's remaining bytes keep what the record held.
void WriteField(Record& record, Field field, const std::string& value) {
    std::u32string chars = platform::DecodeUtf8(value);
    int count = 0;
    for (char32_t c : chars) {
        if (count == field.width) return;
        // Escaped invalid UTF-8 bytes (U+DC80..U+DCFF) are not characters either.
        record[field.offset + count++] = c <= 0xFF ? static_cast<std::uint8_t>(c) : '?';
    }
    if (count < field.width) record[field.offset + count] = 0;
}

// Only regular files carry a trailer. Opening a named pipe would block until a writer comes,
// so pipes, devices and sockets are turned away before the open. A name that cannot be
// examined is left to the open, which reports the error.
bool IsSpecialFile(const std::string& fileName) {
    struct stat st {};
    return ::stat(fileName.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
}

} // namespace

void Id3v1::LoadFromRecord(const std::uint8_t* bytes) {
    Record record;
    std::copy(bytes, bytes + TagSize, record.begin());
    if (!HasIdentifier(record.data())) {
        songName_.clear();
        artist_.clear();
        album_.clear();
        year_.clear();
        comment_.clear();
        genre_ = grNone;
        return;
    }
    // Decode everything before assigning, so a failure cannot leave a half-read tag.
    std::string songName = ReadField(record, kSongName);
    std::string artist = ReadField(record, kArtist);
    std::string album = ReadField(record, kAlbum);
    std::string year = ReadField(record, kYear);
    std::string comment = ReadField(record, kComment);
    songName_ = std::move(songName);
    artist_ = std::move(artist);
    album_ = std::move(album);
    year_ = std::move(year);
    comment_ = std::move(comment);
    genre_ = static_cast<TGenre>(record[kGenreOffset]);
}

void Id3v1::SetFileName(const std::string& fileName) {
    fileName_ = fileName;
    ReadTag(fileName);
}

bool Id3v1::ReadTag(const std::string& fileName) {
    if (IsSpecialFile(fileName)) return false;
    try {
        FileStream file(fileName, platform::fmOpenRead | platform::fmShareDenyWrite);
        Record record{};
        const std::int64_t size = file.Size();
        if (size >= TagSize) {
            file.SetPosition(size - TagSize);
            file.ReadBuffer(record.data(), TagSize);
        }
        LoadFromRecord(record.data());
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool Id3v1::TagPresent(const std::string& fileName) const {
    if (IsSpecialFile(fileName)) return false;
    try {
        // Opened for reading only: a read-only file can carry a tag as well.
        FileStream file(fileName, platform::fmOpenRead | platform::fmShareDenyWrite);
        const std::int64_t size = file.Size();
        if (size < TagSize) return false;
        std::uint8_t id[3];
        file.SetPosition(size - TagSize);
        file.ReadBuffer(id, sizeof id);
        return HasIdentifier(id);
    } catch (const std::exception&) {
        return false;
    }
}

bool Id3v1::WriteTag(const std::string& fileName, const std::string& songName,
                     const std::string& artist, const std::string& album, const std::string& year,
                     const std::string& comment, TGenre genre) const {
    if (IsSpecialFile(fileName)) return false;
    try {
        // Opening without fmCreate: a missing file fails here and nothing is created.
        FileStream file(fileName, platform::fmOpenReadWrite | platform::fmShareExclusive);
        const std::int64_t size = file.Size();
        Record record{};
        std::int64_t position = size;
        if (size >= TagSize) {
            Record last;
            file.SetPosition(size - TagSize);
            file.ReadBuffer(last.data(), TagSize);
            if (HasIdentifier(last.data())) {
                position = size - TagSize;
                // A replaced tag keeps its bytes behind shorter new values (an old track
                // number in the comment's last two bytes survives). A new tag starts from
                // zeros: the audio data's last bytes must not end up inside it.
                if (size > TagSize) record = last;
            }
        }
        record[0] = 'T';
        record[1] = 'A';
        record[2] = 'G';
        WriteField(record, kSongName, songName);
        WriteField(record, kArtist, artist);
        WriteField(record, kAlbum, album);
        WriteField(record, kYear, year);
        WriteField(record, kComment, comment);
        record[kGenreOffset] = genre;
        file.SetPosition(position);
        if (file.Write(record.data(), TagSize) != TagSize) {
            // Do not leave part of a new trailer behind the audio data.
            if (position == size) file.SetSize(size);
            return false;
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void Id3v1::RemoveTag(const std::string& fileName) const {
    if (IsSpecialFile(fileName)) return;
    FileStream file(fileName, platform::fmOpenReadWrite | platform::fmShareDenyWrite);
    const std::int64_t size = file.Size();
    if (size < TagSize) return;
    std::uint8_t id[3];
    file.SetPosition(size - TagSize);
    file.ReadBuffer(id, sizeof id);
    if (HasIdentifier(id)) file.SetSize(size - TagSize);
}

} // namespace velmora::tags

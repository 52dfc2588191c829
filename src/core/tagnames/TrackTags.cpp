// Reading the naming fields of a track from its tags.
#include "core/tagnames/TrackTags.h"

#include "core/tags/id3v1/Genre.h"
#include "core/tags/id3v1/Id3v1.h"
#include "core/tags/id3v2/Id3Bytes.h"
#include "core/tags/id3v2/Id3v2.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/tfile.h>
#include <taglib/tpropertymap.h>
#include <taglib/xiphcomment.h>
#include <unistd.h>
#include <vector>

namespace velmora::tagnames {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0';
}

std::string Trimmed(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return std::string(s);
}

bool AllDigits(std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "007" -> "7", "0" -> "0"; anything else as it is.
std::string WithoutLeadingZeros(std::string s) {
    if (!AllDigits(s)) return s;
    const auto first = s.find_first_not_of('0');
    return first == std::string::npos ? std::string("0") : s.substr(first);
}

// "3/12" -> ("3", "12"); "3" -> ("3", "").
std::pair<std::string, std::string> NumberAndTotal(const std::string& value) {
    const auto slash = value.find('/');
    if (slash == std::string::npos) return {WithoutLeadingZeros(Trimmed(value)), {}};
    return {WithoutLeadingZeros(Trimmed(std::string_view(value).substr(0, slash))),
            WithoutLeadingZeros(Trimmed(std::string_view(value).substr(slash + 1)))};
}

// The year of a date ("2001-05-03", "2001"); other text as it is.
std::string YearOf(const std::string& date) {
    if (date.size() >= 4 && AllDigits(std::string_view(date).substr(0, 4)) &&
        (date.size() == 4 || !std::isdigit(static_cast<unsigned char>(date[4]))))
        return date.substr(0, 4);
    return date;
}

// An ID3 genre reference: "17" or "(17)" alone is genre 17's name; "(17)Rock" is "Rock".
std::string GenreOf(const std::string& value) {
    std::string_view v = value;
    if (AllDigits(v) && v.size() <= 3) {
        const int n = std::stoi(std::string(v));
        return n < tags::GenreCount ? tags::GenreToString(static_cast<tags::TGenre>(n)) : value;
    }
    if (v.size() >= 3 && v.front() == '(') {
        const auto close = v.find(')');
        if (close != std::string_view::npos) {
            const std::string_view inside = v.substr(1, close - 1);
            const std::string rest = Trimmed(v.substr(close + 1));
            if (!rest.empty()) return rest;
            if (AllDigits(inside) && inside.size() <= 3) return GenreOf(std::string(inside));
            if (inside == "RX") return "Remix";
            if (inside == "CR") return "Cover";
        }
    }
    return value;
}

std::string Joined(const std::vector<std::string>& values) {
    std::string out;
    for (const std::string& v : values) {
        const std::string t = Trimmed(v);
        if (t.empty()) continue;
        if (!out.empty()) out += ", ";
        out += t;
    }
    return out;
}

bool SameKey(std::string_view a, const char* b) {
    if (a.size() != std::strlen(b)) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != b[i]) return false;
    return true;
}

void Fill(std::string& field, std::string value) {
    if (field.empty()) field = std::move(value);
}

// The ID3v2 text frames under the common property names.
TagProperties Id3v2Properties(const tags::Id3v2& tag) {
    static constexpr std::pair<const char*, const char*> kFrames[] = {
        {"TPE1", "ARTIST"},    {"TPE2", "ALBUMARTIST"}, {"TALB", "ALBUM"},
        {"TIT2", "TITLE"},     {"TRCK", "TRACKNUMBER"}, {"TPOS", "DISCNUMBER"},
        {"TDRC", "DATE"},      {"TYER", "DATE"},        {"TCON", "GENRE"},
        {"TCOM", "COMPOSER"},  {"TP1", "ARTIST"},       {"TP2", "ALBUMARTIST"},
        {"TAL", "ALBUM"},      {"TT2", "TITLE"},        {"TRK", "TRACKNUMBER"},
        {"TPA", "DISCNUMBER"}, {"TYE", "DATE"},         {"TCO", "GENRE"},
        {"TCM", "COMPOSER"},
    };
    TagProperties properties;
    for (const tags::Id3Frame& frame : tag.Frames()) {
        if (frame.Kind != tags::Id3FrameKind::Text) continue;
        for (const auto& [id, name] : kFrames)
            if (frame.Id == id) properties.emplace_back(name, frame.Text);
    }
    return properties;
}

// Reads up to n bytes at offset; fewer at the end of the file or on an error.
std::size_t ReadAt(int fd, std::uint8_t* buf, std::size_t n, off_t offset) {
    std::size_t got = 0;
    while (got < n) {
        const ssize_t r = ::pread(fd, buf + got, n - got, offset + static_cast<off_t>(got));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        got += static_cast<std::size_t>(r);
    }
    return got;
}

// One open and as few reads as the tags need: the start of the file, which holds the ID3v2
// tag of nearly every file whole, then the trailer unless that start already held it.
TrackTags ReadMp3(int fd, std::uint64_t fileSize) {
    constexpr std::size_t kFirstRead = 64 * 1024;
    std::vector<std::uint8_t> head(
        static_cast<std::size_t>(std::min<std::uint64_t>(fileSize, kFirstRead)));
    head.resize(ReadAt(fd, head.data(), head.size(), 0));
    if (head.size() >= 10 && std::memcmp(head.data(), "ID3", 3) == 0) {
        // Header, syncsafe size (a bad one only reads more), and a footer when the header says so.
        const std::size_t size =
            10 + std::size_t{tags::Syncsafe32(head.data() + 6)} + ((head[5] & 0x10) ? 10 : 0);
        const std::size_t want = std::min<std::size_t>(
            {size, tags::Id3v2::kMaxTagBytes, static_cast<std::size_t>(fileSize)});
        if (want > head.size()) {
            const std::size_t had = head.size();
            head.resize(want);
            head.resize(had + ReadAt(fd, head.data() + had, want - had, static_cast<off_t>(had)));
        }
    }
    TrackTags record;
    tags::Id3v2 v2;
    v2.SetDecodePictures(false);
    v2.LoadFromMemory(head.data(), head.size());
    AddTagProperties(record, Id3v2Properties(v2));
    if (fileSize < tags::Id3v1::TagSize) return record;
    std::uint8_t trailer[tags::Id3v1::TagSize] = {};
    const std::uint64_t at = fileSize - tags::Id3v1::TagSize;
    if (at + tags::Id3v1::TagSize <= head.size())
        std::memcpy(trailer, head.data() + at, tags::Id3v1::TagSize);
    else if (ReadAt(fd, trailer, sizeof trailer, static_cast<off_t>(at)) != sizeof trailer)
        return record;
    tags::Id3v1 v1;
    v1.LoadFromRecord(trailer);
    TagProperties p{{"TITLE", {v1.SongName()}},
                    {"ARTIST", {v1.Artist()}},
                    {"ALBUM", {v1.Album()}},
                    {"DATE", {v1.Year()}},
                    {"COMMENT", {v1.Comment()}}};
    if (v1.Genre() < tags::GenreCount) p.push_back({"GENRE", {tags::GenreToString(v1.Genre())}});
    AddTagProperties(record, p);
    return record;
}

// The Vorbis comment of a FLAC, Ogg Vorbis, Opus or Speex file, when it holds any field. Its
// fields are read where they lie: the property map the library builds otherwise is a copy of
// them, and costs as much as the rest of a small file's reading.
const TagLib::Ogg::XiphComment* VorbisComment(TagLib::File* file) {
    if (file == nullptr) return nullptr;
    const TagLib::Ogg::XiphComment* comment = nullptr;
    if (auto* flac = dynamic_cast<TagLib::FLAC::File*>(file))
        comment = flac->xiphComment(false);
    else
        comment = dynamic_cast<const TagLib::Ogg::XiphComment*>(file->tag());
    return comment != nullptr && !comment->isEmpty() ? comment : nullptr;
}

template <class Fields> TagProperties PropertiesOf(const Fields& fields) {
    TagProperties properties;
    for (const auto& [key, values] : fields) {
        std::vector<std::string> texts;
        texts.reserve(values.size());
        for (const TagLib::String& v : values)
            texts.push_back(v.to8Bit(true));
        properties.emplace_back(key.to8Bit(true), std::move(texts));
    }
    return properties;
}

TrackTags ReadWithTagLibrary(const std::string& path) {
    TrackTags record;
    const TagLib::FileRef ref(path.c_str(), false);
    if (ref.isNull() || ref.file() == nullptr) return record;
    if (const TagLib::Ogg::XiphComment* comment = VorbisComment(ref.file()))
        AddTagProperties(record, PropertiesOf(comment->fieldListMap()));
    else
        AddTagProperties(record, PropertiesOf(ref.file()->properties()));
    return record;
}

// MP3 by its name; a name the tag library knows goes there; anything else is MP3 when it starts
// with an ID3v2 header. The tag library would also read MP3, but our own readers keep their
// limits on hostile tags.
bool IsMp3(const std::string& path) {
    const auto dot = path.find_last_of("./");
    if (dot != std::string::npos && path[dot] == '.') {
        std::string ext = path.substr(dot + 1);
        for (char& c : ext)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (ext == "mp3" || ext == "mp2") return true;
        static constexpr const char* kOthers[] = {"flac", "ogg", "oga",  "opus", "spx", "m4a",
                                                  "m4b",  "mp4", "aac",  "wma",  "asf", "ape",
                                                  "wv",   "aif", "aiff", "aifc", "wav", "mpc"};
        for (const char* other : kOthers)
            if (ext == other) return false;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    char head[3] = {};
    const bool id3 = ::read(fd, head, 3) == 3 && std::memcmp(head, "ID3", 3) == 0;
    ::close(fd);
    return id3;
}

} // namespace

void AddTagProperties(TrackTags& into, const TagProperties& properties) {
    for (const auto& [key, values] : properties) {
        const std::string value = Joined(values);
        if (value.empty()) continue;
        if (SameKey(key, "ARTIST"))
            Fill(into.Artist, value);
        else if (SameKey(key, "ALBUMARTIST") || SameKey(key, "ALBUM ARTIST"))
            Fill(into.AlbumArtist, value);
        else if (SameKey(key, "ALBUM"))
            Fill(into.Album, value);
        else if (SameKey(key, "TITLE"))
            Fill(into.Title, value);
        else if (SameKey(key, "TRACKNUMBER") || SameKey(key, "TRACK")) {
            auto [n, total] = NumberAndTotal(Trimmed(values.front()));
            Fill(into.Track, std::move(n));
            Fill(into.TrackTotal, std::move(total));
        } else if (SameKey(key, "TRACKTOTAL") || SameKey(key, "TOTALTRACKS"))
            Fill(into.TrackTotal, WithoutLeadingZeros(value));
        else if (SameKey(key, "DISCNUMBER") || SameKey(key, "DISC")) {
            auto [n, total] = NumberAndTotal(Trimmed(values.front()));
            Fill(into.Disc, std::move(n));
            Fill(into.DiscTotal, std::move(total));
        } else if (SameKey(key, "DISCTOTAL") || SameKey(key, "TOTALDISCS"))
            Fill(into.DiscTotal, WithoutLeadingZeros(value));
        else if (SameKey(key, "DATE") || SameKey(key, "YEAR"))
            Fill(into.Year, YearOf(value));
        else if (SameKey(key, "GENRE")) {
            std::vector<std::string> genres;
            for (const std::string& v : values)
                genres.push_back(GenreOf(Trimmed(v)));
            Fill(into.Genre, Joined(genres));
        } else if (SameKey(key, "COMPOSER"))
            Fill(into.Composer, value);
        else if (SameKey(key, "COMMENT") || SameKey(key, "DESCRIPTION"))
            Fill(into.Comment, value);
    }
}

TrackTags ReadTrackTags(const std::string& path) {
    try {
        if (!IsMp3(path)) {
            struct stat st {};
            // Only regular files: opening a pipe would wait for a writer.
            if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
            return ReadWithTagLibrary(path);
        }
        // Opened without waiting, so that a pipe is seen for what it is before any read.
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) return {};
        struct stat st {};
        TrackTags record;
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
            record = ReadMp3(fd, static_cast<std::uint64_t>(st.st_size));
        ::close(fd);
        return record;
    } catch (const std::exception&) {
        // A tag too large to hold: no fields.
        return {};
    }
}

} // namespace velmora::tagnames

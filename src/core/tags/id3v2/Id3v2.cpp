// Reading ID3v2.2, 2.3 and 2.4 tags (id3.org informal standards) into the tag's data objects.
#include "core/tags/id3v2/Id3v2.h"

#include "core/platform/Utf8.h"
#include "core/tags/id3v2/Id3Inflate.h"
#include "core/tags/id3v2/Id3Language.h"
#include "core/tags/id3v2/Id3TextCodec.h"
#include "core/tags/id3v2/Id3Unsync.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string_view>
#include <sys/stat.h>

namespace velmora::tags {

namespace {

constexpr std::size_t kTagHeaderSize = 10;
// Unsynchronisation is undone in blocks of this size; a trailing 0xFF waits for the next one.
constexpr std::size_t kUnsyncBlock = 500;
// The file is read in larger pieces than that, so a big cover costs few system calls.
constexpr std::size_t kReadChunk = std::size_t{64} * 1024;

std::uint32_t BigEndian32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

bool IsSyncsafe(const std::uint8_t* p) {
    return ((p[0] | p[1] | p[2] | p[3]) & 0x80) == 0;
}

std::uint32_t Syncsafe32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 21 | std::uint32_t{p[1]} << 14 | std::uint32_t{p[2]} << 7 | p[3];
}

// Frame ids are upper-case letters and digits (ID3v2.3 section 3.3).
bool IsFrameId(const std::uint8_t* p, std::size_t len) {
    for (std::size_t i = 0; i < len; ++i)
        if (!((p[i] >= 'A' && p[i] <= 'Z') || (p[i] >= '0' && p[i] <= '9'))) return false;
    return true;
}

std::string Latin1(const std::uint8_t* p, std::size_t n) {
    return Id3TextCodec(0).Decode(p, n);
}

// A Latin-1 string that ends at its terminator or at the end of the data; pos moves past both.
std::string ReadLatin1(const std::uint8_t* p, std::size_t n, std::size_t& pos) {
    return Id3TextCodec(0).ReadTerminated(p, n, pos);
}

// A terminated string of which at most capacity bytes are decoded; pos moves past its
// terminator however far that lies.
std::string ReadTerminatedWithin(Id3TextCodec& codec, const std::uint8_t* p, std::size_t n,
                                 std::size_t& pos, std::size_t capacity) {
    if (pos >= n) return {};
    const std::size_t end = codec.FindTerminator(p, n, pos);
    std::string s = codec.Decode(p + pos, std::min(end - pos, capacity));
    pos = end >= n ? n : std::min(n, end + codec.TerminatorWidth());
    return s;
}

// Version 2.2 frame ids and the version 2.3 frames they correspond to.
constexpr std::array<std::pair<std::string_view, std::string_view>, 49> kV22Ids{{
    {"TT1", "TIT1"}, {"TT2", "TIT2"}, {"TT3", "TIT3"}, {"TP1", "TPE1"}, {"TP2", "TPE2"},
    {"TP3", "TPE3"}, {"TP4", "TPE4"}, {"TCM", "TCOM"}, {"TXT", "TEXT"}, {"TLA", "TLAN"},
    {"TCO", "TCON"}, {"TAL", "TALB"}, {"TPA", "TPOS"}, {"TRK", "TRCK"}, {"TRC", "TSRC"},
    {"TYE", "TYER"}, {"TDA", "TDAT"}, {"TIM", "TIME"}, {"TRD", "TRDA"}, {"TMT", "TMED"},
    {"TFT", "TFLT"}, {"TBP", "TBPM"}, {"TCR", "TCOP"}, {"TPB", "TPUB"}, {"TEN", "TENC"},
    {"TSS", "TSSE"}, {"TOF", "TOFN"}, {"TLE", "TLEN"}, {"TSI", "TSIZ"}, {"TDY", "TDLY"},
    {"TKE", "TKEY"}, {"TOT", "TOAL"}, {"TOA", "TOPE"}, {"TOL", "TOLY"}, {"TOR", "TORY"},
    {"TXX", "TXXX"}, {"WAF", "WOAF"}, {"WAR", "WOAR"}, {"WAS", "WOAS"}, {"WCM", "WCOM"},
    {"WCP", "WCOP"}, {"WPB", "WPUB"}, {"WXX", "WXXX"}, {"IPL", "IPLS"}, {"MCI", "MCDI"},
    {"ETC", "ETCO"}, {"PIC", "APIC"}, {"CNT", "PCNT"}, {"POP", "POPM"},
}};

std::string_view V23Id(std::string_view id22) {
    for (const auto& [from, to] : kV22Ids)
        if (from == id22) return to;
    return id22;
}

enum class FieldKind : std::uint8_t { String, Integer, List, Languages, FileType, MediaType };

struct TextField {
    std::string_view id;
    FieldKind kind;
    std::string Id3Text::*str = nullptr;
    std::int32_t Id3Text::*num = nullptr;
    platform::StringList Id3Text::*list = nullptr;
};

constexpr TextField S(std::string_view id, std::string Id3Text::*m) {
    return {id, FieldKind::String, m, nullptr, nullptr};
}
constexpr TextField N(std::string_view id, std::int32_t Id3Text::*m) {
    return {id, FieldKind::Integer, nullptr, m, nullptr};
}
constexpr TextField L(std::string_view id, platform::StringList Id3Text::*m) {
    return {id, FieldKind::List, nullptr, nullptr, m};
}

// The frames of the text fields, in field order; TIT1 and TCON share one field.
const std::array<TextField, 38> kTextFields{{
    N("TBPM", &Id3Text::BPM),
    S("TALB", &Id3Text::Album),
    L("TCOM", &Id3Text::Composer),
    N("TDLY", &Id3Text::PlaylistDelay),
    S("TCOP", &Id3Text::Copyright),
    S("TENC", &Id3Text::EncodedBy),
    S("TDAT", &Id3Text::Date),
    L("TEXT", &Id3Text::Lyricists),
    {"TFLT", FieldKind::FileType},
    S("TIME", &Id3Text::Time),
    S("TKEY", &Id3Text::InitialKey),
    S("TIT1", &Id3Text::ContentGroup),
    S("TCON", &Id3Text::ContentGroup),
    S("TIT3", &Id3Text::SubTitle),
    S("TIT2", &Id3Text::ContentDescription),
    {"TLAN", FieldKind::Languages},
    S("TLEN", &Id3Text::Length),
    {"TMED", FieldKind::MediaType},
    S("TOAL", &Id3Text::OriginalTitle),
    S("TOFN", &Id3Text::OriginalFileName),
    L("TOLY", &Id3Text::OriginalLyricists),
    L("TOPE", &Id3Text::OriginalArtist),
    S("TOWN", &Id3Text::FileOwner),
    S("TORY", &Id3Text::OriginalReleaseYear),
    L("TPE1", &Id3Text::Performers),
    S("TPE3", &Id3Text::Conductor),
    S("TPE4", &Id3Text::ModifiedBy),
    S("TPE2", &Id3Text::Band),
    S("TPOS", &Id3Text::PartOf),
    S("TPUB", &Id3Text::Publisher),
    S("TRCK", &Id3Text::TrackNumber),
    S("TRDA", &Id3Text::RecordingDate),
    S("TRSN", &Id3Text::InternetRadioName),
    S("TRSO", &Id3Text::InternetRadioOwner),
    N("TSIZ", &Id3Text::Size),
    S("TSRC", &Id3Text::ISRC),
    S("TSSE", &Id3Text::EncodingSoftware),
    S("TYER", &Id3Text::Year),
}};

const TextField* FindTextField(std::string_view id) {
    for (const auto& f : kTextFields)
        if (f.id == id) return &f;
    return nullptr;
}

constexpr std::array<std::pair<std::string_view, std::string Id3Web::*>, 8> kWebFields{{
    {"WOAF", &Id3Web::OfficialAudio},
    {"WORS", &Id3Web::InternetRadioStation},
    {"WPUB", &Id3Web::Publishers},
    {"WOAS", &Id3Web::OfficialAudioSource},
    {"WPAY", &Id3Web::Payment},
    {"WCOP", &Id3Web::LegalInfo},
    {"WCOM", &Id3Web::CommercialInfo},
    {"WOAR", &Id3Web::OfficialArtist},
}};

// A signed 32-bit decimal number, optionally preceded by blanks and a sign; nothing may follow.
bool ParseInteger(const std::string& s, std::int32_t& out) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    if (i >= s.size()) return false;
    std::int64_t v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + (s[i] - '0');
        if (v > std::int64_t{1} << 31) return false;
    }
    v = negative ? -v : v;
    if (v > INT32_MAX || v < INT32_MIN) return false;
    out = static_cast<std::int32_t>(v);
    return true;
}

// Adds an item to a list when the budget allows; false once it does not.
bool AddKept(platform::StringList& list, const std::string& item, Id3ReadBudget& budget) {
    if (!budget.KeepString(item.size())) return false;
    list.Add(item);
    return true;
}

// Adds the parts of text between "/" separators; an empty text adds one empty item. False when
// the budget ran out.
bool AddSplitAtSlash(platform::StringList& list, const std::string& text, Id3ReadBudget& budget) {
    std::size_t start = 0;
    for (;;) {
        std::size_t slash = text.find('/', start);
        if (slash == std::string::npos) break;
        if (!AddKept(list, text.substr(start, slash - start), budget)) return false;
        start = slash + 1;
    }
    return AddKept(list, text.substr(start), budget);
}

// Three characters at a time are looked up as language codes; the last group may be shorter.
bool AddLanguages(platform::StringList& list, const std::string& text, Id3ReadBudget& budget) {
    std::u32string chars = platform::DecodeUtf8(text);
    std::size_t pos = 0;
    while (chars.size() - pos > 3) {
        if (!AddKept(list, LanguageName(platform::EncodeUtf8(chars.substr(pos, 3))), budget))
            return false;
        pos += 3;
    }
    return AddKept(list, LanguageName(platform::EncodeUtf8(chars.substr(pos))), budget);
}

bool AllDigits(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// How much of a frame its decoder reads; 0 for frames nothing reads.
// The picture registry's extension for a MIME type: its subtype, with "jpeg" as "jpg".
std::string PictureExtension(const std::string& mime) {
    std::size_t slash = mime.find('/');
    std::string ext = slash == std::string::npos ? mime : mime.substr(slash + 1);
    std::string upper = ext;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper == "JPEG" ? "jpg" : ext;
}

// A play counter: big-endian, at least 4 bytes, growing by a byte whenever it would overflow
// (ID3v2.3 sections 4.17 and 4.18). Nothing when it needs more than 64 bits.
std::optional<std::uint64_t> ReadCounter(const std::uint8_t* p, std::size_t n) {
    std::size_t first = 0;
    while (first < n && p[first] == 0)
        ++first;
    if (n - first > 8) return std::nullopt;
    std::uint64_t v = 0;
    for (std::size_t i = first; i < n; ++i)
        v = v << 8 | p[i];
    return v;
}

struct FrameWalk {
    int frames = 0;
    bool cleanEnd = false;
};

} // namespace

Id3v2::Id3v2() {
    Reset();
}

void Id3v2::Reset() {
    tagPresent_ = false;
    majorVersion_ = revision_ = 0;
    unsynchronisation_ = extendedHeader_ = experimental_ = footer_ = false;
    tagSize_ = 0;
    texts_.Reset();
    userDefinedText_.Reset();
    web_.Reset();
    userDefinedWeb_.Reset();
    involvedPeople_.Reset();
    images_.Reset();
    owner_.Reset();
    popularimeter_.Reset();
    playCounter_ = 0;
    timeStampFormat_ = 0;
    events_.clear();
    cdIdentifier_.clear();
    frames_.clear();
    budget_ = Id3ReadBudget();
    previousEventValue_ = 0;
    eventRangeOpen_ = true;
}

void Id3v2::SetFileName(const std::string& fileName) {
    fileName_ = fileName;
    Reset();
    struct stat st {};
    // Only regular files: a FIFO or device would block or never end.
    if (::stat(fileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return;
    platform::FileStream stream(fileName, platform::fmOpenRead | platform::fmShareDenyWrite);
    LoadFromStream(stream);
}

void Id3v2::LoadFromStream(platform::FileStream& stream) {
    std::int64_t left = stream.Size() - stream.Position();
    Load(
        [&stream](std::uint8_t* buf, std::size_t n) {
            return static_cast<std::size_t>(stream.Read(buf, static_cast<std::int64_t>(n)));
        },
        left > 0 ? static_cast<std::size_t>(left) : 0);
}

void Id3v2::LoadFromMemory(const std::uint8_t* data, std::size_t size) {
    std::size_t pos = 0;
    Load(
        [&](std::uint8_t* buf, std::size_t n) {
            std::size_t k = std::min(n, size - pos);
            if (k) std::memcpy(buf, data + pos, k);
            pos += k;
            return k;
        },
        size);
}

void Id3v2::Load(const Source& read, std::size_t sizeHint) {
    Reset();
    std::uint8_t h[kTagHeaderSize];
    std::size_t got = 0;
    while (got < kTagHeaderSize) {
        std::size_t n = read(h + got, kTagHeaderSize - got);
        if (n == 0) break;
        got += n;
    }
    if (got < kTagHeaderSize || std::memcmp(h, "ID3", 3) != 0) return;

    tagPresent_ = true;
    majorVersion_ = h[3];
    revision_ = h[4];
    unsynchronisation_ = (h[5] & 0x80) != 0;
    extendedHeader_ = (h[5] & 0x40) != 0;
    experimental_ = (h[5] & 0x20) != 0;
    footer_ = majorVersion_ == 4 && (h[5] & 0x10) != 0;
    tagSize_ = static_cast<std::int32_t>(((((h[6] * 128) | h[7]) * 128 | h[8]) * 128) | h[9]);

    try {
        ReadTag(read, sizeHint);
    } catch (const std::bad_alloc&) {
        // Out of memory: what was read so far stays, as when a tag ends early.
    }
}

void Id3v2::ReadTag(const Source& read, std::size_t sizeHint) {
    // Copy the tag; never reserve more than the bytes the source actually holds.
    std::vector<std::uint8_t> tag;
    std::size_t remaining = std::min(static_cast<std::size_t>(tagSize_), kMaxTagBytes);
    const std::size_t present = sizeHint > kTagHeaderSize ? sizeHint - kTagHeaderSize : 0;
    tag.reserve(std::min(remaining, present));
    // Version 2.4 unsynchronises each frame's data instead of the whole tag (ID3v2.4 section 6.1).
    const bool undoWholeTag = unsynchronisation_ && majorVersion_ < 4;
    Id3Unsync unsync;
    std::vector<std::uint8_t> chunk(
        std::min(remaining, std::max(kUnsyncBlock, std::min(kReadChunk, present))));
    while (remaining > 0) {
        std::size_t n = read(chunk.data(), std::min(remaining, chunk.size()));
        if (n == 0) break;
        remaining -= n;
        if (!undoWholeTag) {
            tag.insert(tag.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(n));
            continue;
        }
        for (std::size_t off = 0; off < n; off += kUnsyncBlock)
            unsync.Feed(chunk.data() + off, std::min(kUnsyncBlock, n - off), tag);
    }
    if (undoWholeTag) unsync.Finish(tag);

    // Version 2.2 flag bit 6 means a compressed tag, for which no scheme was ever defined; the
    // standard says to ignore such a tag. Unknown major versions have an unknown layout.
    if (majorVersion_ == 2 && extendedHeader_) return;
    if (majorVersion_ < 2 || majorVersion_ > 4) return;
    budget_ = Id3ReadBudget(tag.size());
    ReadFrames(tag, SkipExtendedHeader(tag));
}

std::size_t Id3v2::SkipExtendedHeader(const std::vector<std::uint8_t>& tag) const {
    if (!extendedHeader_ || majorVersion_ < 3 || tag.size() < 4) return 0;
    // Writers set the flag without writing the header; a frame id where the header's size
    // should be shows that.
    if (IsFrameId(tag.data(), 4)) return 0;
    if (majorVersion_ == 3) {
        // The size does not count its own 4 bytes (ID3v2.3 section 3.2).
        std::uint64_t size = BigEndian32(tag.data());
        if (size < 6 || size + 4 > tag.size()) return 0;
        return static_cast<std::size_t>(size + 4);
    }
    // Version 2.4: a syncsafe size that counts the whole extended header (ID3v2.4 section 3.2).
    if (!IsSyncsafe(tag.data())) return 0;
    std::size_t size = Syncsafe32(tag.data());
    if (size < 6 || size > tag.size()) return 0;
    return size;
}

bool Id3v2::SizesAreSyncsafe(const std::vector<std::uint8_t>& tag, std::size_t start) const {
    auto walk = [&](bool syncsafe) {
        FrameWalk w;
        std::size_t pos = start;
        while (tag.size() - pos >= 10) {
            const std::uint8_t* h = tag.data() + pos;
            if (h[0] == 0) break;
            if (!IsFrameId(h, 4)) return w;
            if (syncsafe && !IsSyncsafe(h + 4)) return w;
            std::size_t size = syncsafe ? Syncsafe32(h + 4) : BigEndian32(h + 4);
            if (size > tag.size() - pos - 10) return w;
            ++w.frames;
            pos += 10 + size;
            if (w.frames >= kMaxFrames) break;
        }
        // Ending on padding or exactly at the end of the tag is a sign of a right reading.
        w.cleanEnd = pos >= tag.size() || tag[pos] == 0;
        return w;
    };
    FrameWalk a = walk(true);
    FrameWalk b = walk(false);
    // Readings that agree on the frame count are told apart by where they end; a tie keeps the
    // standard's syncsafe sizes.
    return a.frames * 2 + a.cleanEnd >= b.frames * 2 + b.cleanEnd;
}

void Id3v2::ReadFrames(const std::vector<std::uint8_t>& tag, std::size_t pos) {
    const bool v22 = majorVersion_ == 2;
    const std::size_t headerSize = v22 ? 6 : 10;
    const bool syncsafe = majorVersion_ == 4 && SizesAreSyncsafe(tag, pos);
    int count = 0;
    while (pos < tag.size() && tag.size() - pos > headerSize && count < kMaxFrames) {
        const std::uint8_t* h = tag.data() + pos;
        // Padding: only zero bytes follow the last frame (ID3v2.3 section 3.0).
        if (h[0] == 0) break;
        Id3Frame frame;
        std::size_t size;
        std::uint16_t flags = 0;
        if (v22) {
            frame.Id = Latin1(h, 3);
            size = std::size_t{h[3]} << 16 | std::size_t{h[4]} << 8 | h[5];
        } else {
            frame.Id = Latin1(h, 4);
            size = syncsafe ? Syncsafe32(h + 4) : BigEndian32(h + 4);
            flags = static_cast<std::uint16_t>(h[8] << 8 | h[9]);
        }
        pos += headerSize;
        ++count;
        frame.DataLen = static_cast<std::uint32_t>(size);
        if (size > tag.size() - pos) {
            // A frame running past the tag is dropped; nothing can follow it.
            frames_.push_back(std::move(frame));
            break;
        }
        DecodeFrame(frame, flags, tag.data() + pos, size);
        KeepRecord(frame);
        frames_.push_back(std::move(frame));
        pos += size;
    }
}

void Id3v2::DecodeFrame(Id3Frame& frame, std::uint16_t flags, const std::uint8_t* p,
                        std::size_t n) {
    const std::string id(majorVersion_ == 2 ? V23Id(frame.Id) : std::string_view(frame.Id));
    const FrameRule& rule = FindFrameRule(id);
    const std::size_t capacity = rule.capacity;
    if (rule.decode == nullptr) return;

    bool compressed = false;
    bool encrypted = false;
    bool unsynced = false;
    std::size_t skip = 0;
    if (majorVersion_ == 4) {
        // ID3v2.4 section 4.1.2: extra bytes in the order group id, encryption method,
        // data-length indicator; the tag's unsynchronisation flag applies to every frame.
        unsynced = (flags & 0x0002) || unsynchronisation_;
        compressed = flags & 0x0008;
        encrypted = flags & 0x0004;
        skip += (flags & 0x0040) ? 1 : 0;
        skip += encrypted ? 1 : 0;
        skip += (flags & 0x0001) ? 4 : 0;
    } else if (majorVersion_ == 3) {
        // ID3v2.3 section 3.3.1: decompressed size, encryption method, group id.
        compressed = flags & 0x0080;
        encrypted = flags & 0x0040;
        skip += compressed ? 4 : 0;
        skip += encrypted ? 1 : 0;
        skip += (flags & 0x0020) ? 1 : 0;
    }
    // Encrypted frames cannot be read.
    if (encrypted) return;
    // The data actually read: a copy when unsynchronisation or compression had to be undone.
    std::vector<std::uint8_t> buffer;
    if (unsynced) {
        // Compressed data must be whole to inflate; plain data only as far as it is read.
        buffer = Id3Unsync::Undo(p, n, compressed ? SIZE_MAX : skip + capacity);
        p = buffer.data();
        n = buffer.size();
    }
    // Frames too short for their own flags are broken.
    if (skip > n) return;
    p += skip;
    n -= skip;
    if (compressed) {
        std::vector<std::uint8_t> inflated;
        if (!Id3Inflate::Run(p, n, inflated, std::min(capacity, budget_.InflateLeft()))) return;
        budget_.SpendInflated(inflated.size());
        buffer = std::move(inflated);
        p = buffer.data();
        n = buffer.size();
    }
    n = std::min(n, capacity);
    std::vector<std::uint8_t>* own = buffer.empty() ? nullptr : &buffer;
    if (own && p != buffer.data()) {
        // Unsynchronised plain data: the extra bytes in front are not part of the frame's data.
        buffer.erase(buffer.begin(),
                     buffer.begin() + static_cast<std::ptrdiff_t>(p - buffer.data()));
        p = buffer.data();
    }

    (this->*rule.decode)(frame, id, p, n, own);
}

const Id3v2::FrameRule& Id3v2::FindFrameRule(std::string_view id) {
    // Text frames hold one encoding byte before their text; URLs and counters are short.
    constexpr std::size_t kText = 1 + kTextCapacity;
    constexpr std::size_t kPicture = kMaxPictureBytes + 4 * kUrlCapacity; // and MIME, description
    static constexpr FrameRule kRules[] = {
        {"TXXX", kText, &Id3v2::DecodeUserText},
        {"TIPL", kText, &Id3v2::DecodePeople},
        {"TMCL", kText, &Id3v2::DecodePeople},
        {"IPLS", kText, &Id3v2::DecodePeople},
        {"WXXX", kUrlCapacity, &Id3v2::DecodeUserUrl},
        {"MCDI", kCdIdentifierSize, &Id3v2::DecodeCdIdentifier},
        {"APIC", kPicture, &Id3v2::DecodePicture},
        {"PCNT", kUrlCapacity, &Id3v2::DecodePlayCounter},
        {"POPM", kUrlCapacity, &Id3v2::DecodePopularimeter},
        {"OWNE", kUrlCapacity, &Id3v2::DecodeOwnership},
        {"ETCO", 1 + std::size_t{5} * kMaxEvents, &Id3v2::DecodeEventTiming},
    };
    // Every other T and W frame is a text or a URL frame; any other frame is only listed.
    static constexpr FrameRule kText_{"T", kText, &Id3v2::DecodeText};
    static constexpr FrameRule kUrl{"W", kUrlCapacity, &Id3v2::DecodeUrl};
    static constexpr FrameRule kUnknown{"", 0, nullptr};
    for (const FrameRule& rule : kRules)
        if (rule.id == id) return rule;
    if (!id.empty() && id[0] == 'T') return kText_;
    if (!id.empty() && id[0] == 'W') return kUrl;
    return kUnknown;
}

void Id3v2::KeepRecord(Id3Frame& f) {
    for (std::string* s : {&f.Description, &f.Url, &f.Mime, &f.Email, &f.Price, &f.Date, &f.Seller})
        if (!s->empty() && !budget_.KeepString(s->size())) s->clear();
    std::size_t kept = 0;
    while (kept < f.Text.size() && budget_.KeepString(f.Text[kept].size()))
        ++kept;
    f.Text.resize(kept);
    kept = 0;
    while (kept < f.People.size() &&
           budget_.Keep(2 * Id3ReadBudget::kStringCost + f.People[kept].first.size() +
                        f.People[kept].second.size()))
        ++kept;
    f.People.resize(kept);
    const std::size_t eventCost = sizeof(f.Events[0]);
    kept = std::min(f.Events.size(), budget_.KeepLeft() / eventCost);
    budget_.Keep(kept * eventCost);
    f.Events.resize(kept);
    if (!budget_.Keep(f.Data.size())) f.Data.clear();
}

void Id3v2::AddPair(Id3PairList& list, const std::string& first, const std::string& second) {
    if (budget_.Keep(2 * Id3ReadBudget::kStringCost + first.size() + second.size()))
        list.Add(first, second);
}

std::string Id3v2::SingleValue(const std::vector<std::string>& items) const {
    if (items.empty()) return {};
    if (majorVersion_ < 4) return items.front();
    std::string joined = items.front();
    for (std::size_t i = 1; i < items.size(); ++i)
        joined += "/" + items[i];
    return joined;
}

void Id3v2::DecodeText(Id3Frame& frame, const std::string& id, const std::uint8_t* p, std::size_t n,
                       std::vector<std::uint8_t>* /*own*/) {
    if (n < 1) return; // not even an encoding byte
    Id3TextCodec codec(p[0]);
    frame.Kind = Id3FrameKind::Text;
    // Never more strings than the budget could keep: separators alone make millions.
    frame.Text = codec.DecodeList(p + 1, n - 1, std::max<std::size_t>(1, budget_.StringsLeft()));
    // Version 2.3 ignores what follows a terminator; version 2.4 separates values with it.
    std::vector<std::string> values(frame.Text.begin(),
                                    majorVersion_ >= 4 ? frame.Text.end() : frame.Text.begin() + 1);

    // Version 2.4 recording and release times carry the year, day and time of earlier fields.
    if (id == "TDRC" || id == "TDOR") {
        const std::string& t = values.front();
        if (t.size() < 4 || !AllDigits(t.substr(0, 4))) return;
        if (id == "TDOR") {
            texts_.OriginalReleaseYear = t.substr(0, 4);
            return;
        }
        texts_.Year = t.substr(0, 4);
        if (t.size() >= 10 && t[4] == '-' && t[7] == '-' && AllDigits(t.substr(5, 2)) &&
            AllDigits(t.substr(8, 2)))
            texts_.Date = t.substr(8, 2) + t.substr(5, 2);
        if (t.size() >= 16 && t[10] == 'T' && t[13] == ':' && AllDigits(t.substr(11, 2)) &&
            AllDigits(t.substr(14, 2)))
            texts_.Time = t.substr(11, 2) + t.substr(14, 2);
        return;
    }

    const TextField* field = FindTextField(id);
    if (!field) return;
    switch (field->kind) {
    case FieldKind::String:
        texts_.*(field->str) = SingleValue(values);
        break;
    case FieldKind::Integer: {
        std::int32_t v;
        if (ParseInteger(values.front(), v)) texts_.*(field->num) = v;
        break;
    }
    case FieldKind::List:
        for (const auto& v : values)
            if (!AddSplitAtSlash(texts_.*(field->list), v, budget_)) break;
        break;
    case FieldKind::Languages:
        for (const auto& v : values)
            if (!AddLanguages(texts_.Languages, v, budget_)) break;
        break;
    case FieldKind::FileType:
        texts_.FileType = FileTypeFromCode(SingleValue(values));
        break;
    case FieldKind::MediaType:
        texts_.MediaType = MediaTypeFromCode(SingleValue(values));
        break;
    }
}

void Id3v2::DecodeUserText(Id3Frame& frame, const std::string& /*id*/, const std::uint8_t* p,
                           std::size_t n, std::vector<std::uint8_t>* /*own*/) {
    if (n < 1) return;
    Id3TextCodec codec(p[0]);
    std::size_t pos = 1;
    frame.Kind = Id3FrameKind::UserText;
    frame.Description = codec.ReadTerminated(p, n, pos);
    frame.Text =
        codec.DecodeList(p + pos, n - pos, std::max<std::size_t>(1, budget_.StringsLeft()));
    std::vector<std::string> values(frame.Text.begin(),
                                    majorVersion_ >= 4 ? frame.Text.end() : frame.Text.begin() + 1);
    AddPair(userDefinedText_, frame.Description, SingleValue(values));
}

void Id3v2::DecodeUrl(Id3Frame& frame, const std::string& id, const std::uint8_t* p, std::size_t n,
                      std::vector<std::uint8_t>* /*own*/) {
    std::size_t pos = 0;
    frame.Kind = Id3FrameKind::Url;
    frame.Url = ReadLatin1(p, n, pos);
    for (const auto& [wid, member] : kWebFields)
        if (wid == id) web_.*member = frame.Url;
}

void Id3v2::DecodeUserUrl(Id3Frame& frame, const std::string& /*id*/, const std::uint8_t* p,
                          std::size_t n, std::vector<std::uint8_t>* /*own*/) {
    if (n < 1) return;
    Id3TextCodec codec(p[0]);
    std::size_t pos = 1;
    frame.Kind = Id3FrameKind::UserUrl;
    frame.Description = codec.ReadTerminated(p, n, pos);
    frame.Url = ReadLatin1(p, n, pos);
    AddPair(userDefinedWeb_, frame.Description, frame.Url);
}

void Id3v2::DecodePeople(Id3Frame& frame, const std::string& /*id*/, const std::uint8_t* p,
                         std::size_t n, std::vector<std::uint8_t>* /*own*/) {
    if (n < 1) return;
    Id3TextCodec codec(p[0]);
    std::vector<std::string> items =
        codec.DecodeList(p + 1, n - 1, std::max<std::size_t>(1, budget_.StringsLeft()));
    frame.Kind = Id3FrameKind::People;
    for (std::size_t i = 0; i < items.size(); i += 2) {
        // A job without its person still counts when it says something.
        if (i + 1 >= items.size() && items[i].empty()) break;
        std::string person = i + 1 < items.size() ? items[i + 1] : std::string();
        const int before = involvedPeople_.ItemCount();
        AddPair(involvedPeople_, items[i], person);
        if (involvedPeople_.ItemCount() == before) break;
        frame.People.emplace_back(std::move(items[i]), std::move(person));
    }
}

void Id3v2::DecodePicture(Id3Frame& frame, const std::string& /*id*/, const std::uint8_t* p,
                          std::size_t n, std::vector<std::uint8_t>* own) {
    if (n < 1) return;
    Id3TextCodec codec(p[0]);
    std::size_t pos = 1;
    std::string ext;
    if (majorVersion_ == 2) {
        // Version 2.2 carries a three-character image format ("JPG", "PNG") instead of a MIME type.
        if (n < 5) return;
        frame.Mime = Latin1(p + 1, 3);
        ext = frame.Mime;
        for (char& c : ext)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        pos = 4;
    } else {
        Id3TextCodec latin1(0);
        frame.Mime = ReadTerminatedWithin(latin1, p, n, pos, kUrlCapacity);
        if (pos >= n) return;
        ext = PictureExtension(frame.Mime);
    }
    frame.Kind = Id3FrameKind::Picture;
    frame.PictureType = p[pos++];
    frame.Description = ReadTerminatedWithin(codec, p, n, pos, kTextCapacity);
    frame.DataLen = static_cast<std::uint32_t>(n - pos);
    const int type = frame.PictureType;
    if (type >= kPictureTypeCount) return;
    images_.Infos.Set(type, frame.Description);
    // The earlier picture of this type goes first, so the two are never held together.
    images_.Pictures.Set(type, IdPicture());
    if (!decodePictures_) return;
    if (own) own->erase(own->begin(), own->begin() + static_cast<std::ptrdiff_t>(pos));
    images_.Pictures.Set(type, KeepPicture(type, ext, p + pos, n - pos, own));
}

IdPicture Id3v2::KeepPicture(int type, const std::string& ext, const std::uint8_t* data,
                             std::size_t size, std::vector<std::uint8_t>* own) {
    const std::size_t held = images_.Pictures.DataSize() - images_.Pictures.Get(type).DataSize();
    if (held > kMaxPictureBytes || size > kMaxPictureBytes - held) return {};
    if (own) {
        own->resize(size);
        data = own->data();
    }
    platform::PictureSize s;
    try {
        s = platform::PictureRegistry::Instance().ReadSize(ext, data, size);
    } catch (const std::exception&) {
        // A picture whose header the loader refuses stays empty; the rest of the tag still counts.
        return {};
    }
    if (s.Width <= 0 || s.Height <= 0) return {};
    auto bytes = own ? std::make_shared<const std::vector<std::uint8_t>>(std::move(*own))
                     : std::make_shared<const std::vector<std::uint8_t>>(data, data + size);
    return IdPicture(ext, std::move(bytes), s.Width, s.Height);
}

void Id3v2::DecodePlayCounter(Id3Frame& frame, const std::string& /*id*/, const std::uint8_t* p,
                              std::size_t n, std::vector<std::uint8_t>* /*own*/) {
    frame.Kind = Id3FrameKind::PlayCounter;
    // Shorter frames are broken.
    if (n < 4) return;
    frame.Count = ReadCounter(p, n);
    if (frame.Count) playCounter_ = *frame.Count;
}

void Id3v2::DecodePopularimeter(Id3Frame& frame, const std::string& /*id*/, const std::uint8_t* p,
                                std::size_t n, std::vector<std::uint8_t>* /*own*/) {
    std::size_t pos = 0;
    frame.Kind = Id3FrameKind::Popularimeter;
    frame.Email = ReadLatin1(p, n, pos);
    popularimeter_.UserEmail = frame.Email;
    if (pos < n) frame.Rating = p[pos++];
    popularimeter_.Rating = frame.Rating;
    // The counter fills the rest of the frame (at least 4 bytes; it may be omitted).
    if (n - pos >= 4) frame.Count = ReadCounter(p + pos, n - pos);
    popularimeter_.Counter = frame.Count.value_or(0);
}

void Id3v2::DecodeOwnership(Id3Frame& frame, const std::string& /*id*/, const std::uint8_t* p,
                            std::size_t n, std::vector<std::uint8_t>* /*own*/) {
    if (n < 1) return;
    Id3TextCodec codec(p[0]);
    std::size_t pos = 1;
    frame.Kind = Id3FrameKind::Ownership;
    frame.Price = ReadLatin1(p, n, pos);
    std::size_t dateLen = std::min<std::size_t>(8, n - pos);
    frame.Date = Latin1(p + pos, dateLen);
    pos += dateLen;
    frame.Seller = codec.Decode(p + pos, codec.FindTerminator(p, n, pos) - pos);
    owner_.Price = frame.Price;
    owner_.Seller = frame.Seller;
    if (frame.Date.size() == 8 && AllDigits(frame.Date)) {
        Id3Date d{std::stoi(frame.Date.substr(0, 4)), std::stoi(frame.Date.substr(4, 2)),
                  std::stoi(frame.Date.substr(6, 2))};
        if (d.Valid()) owner_.DatePurchased = d;
    }
}

void Id3v2::DecodeEventTiming(Id3Frame& frame, const std::string& /*id*/, const std::uint8_t* p,
                              std::size_t n, std::vector<std::uint8_t>* /*own*/) {
    if (n < 1) return;
    frame.Kind = Id3FrameKind::EventTiming;
    frame.TimeStampFormat = p[0];
    timeStampFormat_ = p[0];
    for (std::size_t pos = 1; n - pos >= 5; pos += 5) {
        std::uint8_t type = p[pos];
        std::uint32_t time = BigEndian32(p + pos + 1);
        frame.Events.emplace_back(type, time);
        if (static_cast<int>(events_.size()) >= kMaxEvents) continue;
        std::uint8_t mapped = type <= 20 ? type : type == 253 ? 21 : type == 254 ? 22 : 0;
        events_.push_back({time, mapped});
    }
}

void Id3v2::DecodeCdIdentifier(Id3Frame& frame, const std::string& /*id*/, const std::uint8_t* p,
                               std::size_t n, std::vector<std::uint8_t>* /*own*/) {
    frame.Kind = Id3FrameKind::CdIdentifier;
    frame.Data.assign(p, p + n);
    // A table of contents fits in 804 bytes; anything beyond is not kept.
    cdIdentifier_.assign(p, p + std::min(n, kCdIdentifierSize));
}

void Id3v2::CheckEvent(std::uint32_t value) {
    if (events_.empty() || !OnEventTiming) return;
    if (value < previousEventValue_) {
        previousEventValue_ = 0;
        eventRangeOpen_ = true;
    }
    const std::uint32_t from = previousEventValue_;
    const bool includeFrom = eventRangeOpen_;
    previousEventValue_ = value;
    eventRangeOpen_ = false;
    // Copy: the handler may read another file into this object.
    const std::vector<Id3EventTiming> events = events_;
    for (const auto& e : events) {
        bool after = includeFrom ? e.TimeStamp >= from : e.TimeStamp > from;
        if (after && e.TimeStamp <= value) OnEventTiming(*this, e.TimeStamp, e.Type);
    }
}

} // namespace velmora::tags

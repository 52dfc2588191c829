// Reading ID3v2.2, 2.3 and 2.4 tags (id3.org informal standards) into the tag's data objects.
#include "core/tags/id3v2/Id3v2.h"

#include "core/tags/id3v2/Id3Bytes.h"
#include "core/tags/id3v2/Id3Inflate.h"
#include "core/tags/id3v2/Id3TextCodec.h"
#include "core/tags/id3v2/Id3Unsync.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <string_view>
#include <sys/stat.h>

namespace velmora::tags {

namespace {

constexpr std::size_t kTagHeaderSize = 10;
// Unsynchronisation is undone in blocks of this size; a trailing 0xFF waits for the next one.
constexpr std::size_t kUnsyncBlock = 500;
// The file is read in larger pieces than that, so a big cover costs few system calls.
constexpr std::size_t kReadChunk = std::size_t{64} * 1024;

// Frame ids are upper-case letters and digits (ID3v2.3 section 3.3).
bool IsFrameId(const std::uint8_t* p, std::size_t len) {
    for (std::size_t i = 0; i < len; ++i)
        if (!((p[i] >= 'A' && p[i] <= 'Z') || (p[i] >= '0' && p[i] <= '9'))) return false;
    return true;
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

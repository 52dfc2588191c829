// Encoding and checking the journal's bytes: little-endian integers, length-prefixed names,
// a CRC-32 over the plan and one over each marker.
#include "core/journal/JournalFormat.h"

#include <algorithm>
#include <cstring>
#include <zlib.h>

namespace velmora::journal {

namespace {

constexpr char kMagic[8] = {'V', 'L', 'M', 'R', 'J', 'N', 'L', '\x1a'};
constexpr std::size_t kHeaderSize = 8 + 4 + 4 + 8 + 4; // magic, version, flags, count, folder
constexpr std::size_t kMinEntrySize = 8 + 8 + 4 + 4;
constexpr char kEndTag[4] = {'E', 'N', 'D', ' '};
constexpr char kUndoneTag[4] = {'U', 'N', 'D', 'O'};

void Put32(std::string& out, std::uint32_t v) {
    char b[4];
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<char>(v >> (8 * i));
    out.append(b, 4);
}

void Put64(std::string& out, std::uint64_t v) {
    char b[8];
    for (int i = 0; i < 8; ++i)
        b[i] = static_cast<char>(v >> (8 * i));
    out.append(b, 8);
}

void PutBytes(std::string& out, std::string_view s) {
    Put32(out, static_cast<std::uint32_t>(s.size()));
    out.append(s);
}

std::uint32_t Crc(std::string_view bytes) {
    uLong crc = ::crc32(0L, Z_NULL, 0);
    // zlib takes lengths as uInt: feed large plans in pieces.
    while (!bytes.empty()) {
        const std::size_t n = std::min<std::size_t>(bytes.size(), 1u << 30);
        crc = ::crc32(crc, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(n));
        bytes.remove_prefix(n);
    }
    return static_cast<std::uint32_t>(crc);
}

// Reads forward through the bytes; every read checks the room left first.
class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    std::size_t Left() const { return bytes_.size() - pos_; }
    std::size_t Pos() const { return pos_; }
    bool Get32(std::uint32_t& v) {
        if (Left() < 4) return false;
        v = 0;
        for (int i = 0; i < 4; ++i)
            v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes_[pos_ + i]))
                 << (8 * i);
        pos_ += 4;
        return true;
    }
    bool Get64(std::uint64_t& v) {
        if (Left() < 8) return false;
        v = 0;
        for (int i = 0; i < 8; ++i)
            v |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes_[pos_ + i]))
                 << (8 * i);
        pos_ += 8;
        return true;
    }
    bool GetBytes(std::string& s) {
        std::uint32_t n = 0;
        if (!Get32(n) || Left() < n) return false;
        s.assign(bytes_.substr(pos_, n));
        pos_ += n;
        return true;
    }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

ParsedJournal Refused(std::string problem) {
    ParsedJournal p;
    p.problem = std::move(problem);
    return p;
}

} // namespace

JournalFormat::PlanEncoder::PlanEncoder(std::string& out, const std::string& folder,
                                        std::uint64_t count, std::size_t namesSize)
    : out_(out) {
    out_.clear();
    out_.reserve(kHeaderSize + folder.size() + count * kMinEntrySize + namesSize + 4);
    out_.append(kMagic, sizeof kMagic);
    Put32(out_, kVersion);
    Put32(out_, 0); // flags, none yet
    Put64(out_, count);
    PutBytes(out_, folder);
}

void JournalFormat::PlanEncoder::Add(std::uint64_t device, std::uint64_t inode,
                                     std::string_view oldName, std::string_view newName) {
    Put64(out_, device);
    Put64(out_, inode);
    PutBytes(out_, oldName);
    PutBytes(out_, newName);
}

void JournalFormat::PlanEncoder::Finish() {
    Put32(out_, Crc(out_));
}

void JournalFormat::EncodePlan(const JournalPlan& plan, std::string& out) {
    std::size_t names = 0;
    for (const JournalEntry& e : plan.entries)
        names += e.oldName.size() + e.newName.size();
    PlanEncoder encoder(out, plan.folder, plan.entries.size(), names);
    for (const JournalEntry& e : plan.entries)
        encoder.Add(e.device, e.inode, e.oldName, e.newName);
    encoder.Finish();
}

std::string JournalFormat::EncodeMarker(Marker marker, std::uint64_t value) {
    std::string out(marker == Marker::End ? kEndTag : kUndoneTag, 4);
    Put64(out, value);
    Put32(out, Crc(out));
    return out;
}

bool JournalFormat::IsMarker(std::string_view record, Marker marker) {
    if (record.size() != kMarkerSize) return false;
    Reader r(record.substr(12));
    std::uint32_t crc = 0;
    r.Get32(crc);
    const char* tag = marker == Marker::End ? kEndTag : kUndoneTag;
    return record.substr(0, 4) == std::string_view(tag, 4) && crc == Crc(record.substr(0, 12));
}

ParsedJournal JournalFormat::Parse(std::string_view bytes) {
    if (bytes.size() < sizeof kMagic || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0)
        return Refused("not a rename journal");
    Reader r(bytes.substr(sizeof kMagic));
    std::uint32_t version = 0, flags = 0;
    std::uint64_t count = 0;
    ParsedJournal p;
    if (!r.Get32(version) || !r.Get32(flags) || !r.Get64(count))
        return Refused("the journal is truncated");
    if (version != kVersion)
        return Refused("journal version " + std::to_string(version) + " is not supported");
    if (flags != 0) return Refused("the journal uses features this version does not know");
    // Every entry takes at least kMinEntrySize bytes: a count beyond that is damage, and
    // checking it first keeps a damaged count from asking for memory.
    if (count > r.Left() / kMinEntrySize) return Refused("the journal is truncated or damaged");
    if (!r.GetBytes(p.plan.folder)) return Refused("the journal is truncated");
    p.plan.entries.resize(count);
    for (JournalEntry& e : p.plan.entries)
        if (!r.Get64(e.device) || !r.Get64(e.inode) || !r.GetBytes(e.oldName) ||
            !r.GetBytes(e.newName))
            return Refused("the journal is truncated");
    const std::size_t planEnd = sizeof kMagic + r.Pos();
    std::uint32_t crc = 0;
    if (!r.Get32(crc)) return Refused("the journal is truncated");
    if (crc != Crc(bytes.substr(0, planEnd)))
        return Refused("the journal is damaged (its checksum does not match)");
    if (p.plan.folder.empty() || p.plan.folder.front() != '/' || p.plan.folder.back() != '/')
        return Refused("the journal names no absolute folder");

    // Markers. A marker cut short or unreadable at the very end is a write the process did not
    // finish: the journal stands as it was before it. One in the middle is damage.
    std::string_view rest = bytes.substr(planEnd + 4);
    while (!rest.empty()) {
        if (rest.size() < kMarkerSize) break;
        const std::string_view rec = rest.substr(0, kMarkerSize);
        const bool end = IsMarker(rec, Marker::End);
        const bool undone = IsMarker(rec, Marker::Undone);
        if (!end && !undone) {
            if (rest.size() == kMarkerSize) break;
            return Refused("the journal is damaged (a marker is unreadable)");
        }
        if (end) {
            std::uint64_t value = 0;
            Reader(rec.substr(4)).Get64(value);
            p.renamed = value;
            if (p.state == JournalState::Interrupted) p.state = JournalState::Ended;
        } else {
            p.state = JournalState::Undone;
        }
        rest.remove_prefix(kMarkerSize);
    }
    p.ok = true;
    return p;
}

} // namespace velmora::journal

// The decoders of the ID3v2 frames a tag's fields are read from, and the table that picks one by
// frame id; frames without a decoder are only listed.
#include "core/platform/Utf8.h"
#include "core/tags/id3v2/Id3Bytes.h"
#include "core/tags/id3v2/Id3Language.h"
#include "core/tags/id3v2/Id3TextCodec.h"
#include "core/tags/id3v2/Id3v2.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::tags {

namespace {

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

} // namespace

// The decoder for a frame id and how much of the frame it reads (0 for frames nothing reads).
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

} // namespace velmora::tags

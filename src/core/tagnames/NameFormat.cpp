// Parsing and expanding name formats.
#include "core/tagnames/NameFormat.h"

#include <array>
#include <cctype>
#include <utility>

namespace velmora::tagnames {

namespace {

struct FieldName {
    std::string_view name;
    NameFormat::Field field;
};

constexpr std::array<FieldName, 13> kFields{{
    {"track", NameFormat::Field::Track},
    {"artist", NameFormat::Field::Artist},
    {"title", NameFormat::Field::Title},
    {"album", NameFormat::Field::Album},
    {"albumartist", NameFormat::Field::AlbumArtist},
    {"disc", NameFormat::Field::Disc},
    {"year", NameFormat::Field::Year},
    {"genre", NameFormat::Field::Genre},
    {"composer", NameFormat::Field::Composer},
    {"filename", NameFormat::Field::FileName},
    {"tracktotal", NameFormat::Field::TrackTotal},
    {"disctotal", NameFormat::Field::DiscTotal},
    {"comment", NameFormat::Field::Comment},
}};

bool SameName(std::string_view a, std::string_view lowerB) {
    if (a.size() != lowerB.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != lowerB[i]) return false;
    return true;
}

const std::string& ValueOf(const TrackTags& t, NameFormat::Field f) {
    switch (f) {
    case NameFormat::Field::Artist:
        return t.Artist;
    case NameFormat::Field::AlbumArtist:
        return t.AlbumArtist;
    case NameFormat::Field::Album:
        return t.Album;
    case NameFormat::Field::Title:
        return t.Title;
    case NameFormat::Field::Track:
        return t.Track;
    case NameFormat::Field::TrackTotal:
        return t.TrackTotal;
    case NameFormat::Field::Disc:
        return t.Disc;
    case NameFormat::Field::DiscTotal:
        return t.DiscTotal;
    case NameFormat::Field::Year:
        return t.Year;
    case NameFormat::Field::Genre:
        return t.Genre;
    case NameFormat::Field::Composer:
        return t.Composer;
    case NameFormat::Field::Comment:
        return t.Comment;
    case NameFormat::Field::FileName:
        break;
    }
    static const std::string none;
    return none;
}

bool AllDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

// Characters of the format as the user sees them, for the error messages.
std::string Shown(std::string_view s) {
    constexpr std::size_t kMax = 40;
    return s.size() <= kMax ? std::string(s) : std::string(s.substr(0, kMax)) + "...";
}

} // namespace

const std::vector<std::string_view>& NameFormat::FieldNames() {
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> v;
        for (const FieldName& f : kFields)
            v.push_back(f.name);
        return v;
    }();
    return names;
}

NameFormat NameFormat::Parse(std::string_view text) {
    NameFormat format;
    std::string literal;
    const auto flush = [&] {
        if (literal.empty()) return;
        format.pieces_.push_back({std::move(literal), false, Field::Artist, 0});
        literal.clear();
    };
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c != '%') {
            literal += c;
            ++i;
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '%') {
            literal += '%';
            i += 2;
            continue;
        }
        const std::size_t close = text.find('%', i + 1);
        if (close == std::string_view::npos) {
            format.error_ = "The '%' at character " + std::to_string(i + 1) + " is not closed: \"" +
                            Shown(text.substr(i)) + "\"";
            format.pieces_.clear();
            return format;
        }
        const std::string_view inside = text.substr(i + 1, close - i - 1);
        const std::size_t colon = inside.find(':');
        const std::string_view name = inside.substr(0, colon);
        int width = 0;
        if (colon != std::string_view::npos) {
            const std::string_view digits = inside.substr(colon + 1);
            if (!AllDigits(digits) || digits.size() > 1 || digits == "0") {
                format.error_ = "The width in \"%" + Shown(inside) +
                                "%\" must be a number from 1 to " + std::to_string(kMaxWidth);
                format.pieces_.clear();
                return format;
            }
            width = digits[0] - '0';
        }
        const FieldName* found = nullptr;
        for (const FieldName& f : kFields)
            if (SameName(name, f.name)) found = &f;
        if (found == nullptr) {
            format.error_ = "Unknown field \"%" + Shown(name) + "%\"";
            format.pieces_.clear();
            return format;
        }
        flush();
        format.pieces_.push_back({{}, true, found->field, width});
        i = close + 1;
    }
    flush();
    return format;
}

std::optional<std::string> NameFormat::Expand(const TrackTags& tags, std::string_view oldStem,
                                              Missing missing) const {
    std::string out;
    if (!Valid()) return out;
    for (const Piece& p : pieces_) {
        if (!p.isField) {
            out += p.literal;
            continue;
        }
        const std::string_view value =
            p.field == Field::FileName ? oldStem : std::string_view(ValueOf(tags, p.field));
        if (value.empty() && missing == Missing::KeepOldName) return std::nullopt;
        if (AllDigits(value) && value.size() < static_cast<std::size_t>(p.width))
            out.append(static_cast<std::size_t>(p.width) - value.size(), '0');
        out += value;
    }
    return out;
}

} // namespace velmora::tagnames

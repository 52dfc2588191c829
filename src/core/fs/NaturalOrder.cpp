// Natural name order through byte-comparable keys.
#include "core/fs/NaturalOrder.h"

#include "core/platform/CaseMap.h"
#include "core/platform/Utf8.h"

#include <algorithm>
#include <cstdint>

namespace velmora::fs {

namespace {

bool IsDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}

// Plain UTF-8 of any code point, escapes included, so that byte order is code point order.
void PutCodePoint(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// A run of digits as one unit: a length byte, then the digits without leading zeros. Lengths up
// to 8 take "0"+length; longer runs "9" and four length bytes. Every length byte is itself a
// digit character, so a run still sorts against other characters as a digit does, and a shorter
// run (a smaller number) sorts first.
template <class Seq> std::size_t PutDigitRun(std::string& out, const Seq& s, std::size_t i) {
    while (i < s.size() && s[i] == '0')
        ++i;
    std::size_t end = i;
    while (end < s.size() && IsDigit(static_cast<char32_t>(s[end])))
        ++end;
    const std::size_t length = end - i;
    if (length <= 8) {
        out += static_cast<char>('0' + length);
    } else {
        out += '9';
        const auto l = static_cast<std::uint32_t>(std::min<std::size_t>(length, 0xFFFFFFFF));
        for (int shift = 24; shift >= 0; shift -= 8)
            out += static_cast<char>((l >> shift) & 0xFF);
    }
    for (; i < end; ++i)
        out += static_cast<char>(s[i]);
    return end;
}

} // namespace

std::string NaturalOrder::Key(std::string_view name) {
    std::string key;
    key.reserve(name.size() + 4);
    if (std::all_of(name.begin(), name.end(), [](char c) { return (c & 0x80) == 0; })) {
        for (std::size_t i = 0; i < name.size();) {
            const char c = name[i];
            if (IsDigit(static_cast<char32_t>(c))) {
                i = PutDigitRun(key, name, i);
                continue;
            }
            key += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
            ++i;
        }
        return key;
    }
    const std::u32string points = platform::DecodeUtf8(name);
    for (std::size_t i = 0; i < points.size();) {
        if (IsDigit(points[i])) {
            i = PutDigitRun(key, points, i);
            continue;
        }
        PutCodePoint(key, platform::FoldCase(points[i]));
        ++i;
    }
    return key;
}

bool NaturalOrder::Less(std::string_view a, std::string_view b) {
    const std::string ka = Key(a), kb = Key(b);
    return ka != kb ? ka < kb : a < b;
}

NaturalOrder::Keyed NaturalOrder::MakeKeyed(std::string_view name) {
    return {Key(name), std::string(name)};
}

bool NaturalOrder::KeyedLess(const Keyed& a, const Keyed& b) {
    const int c = a.key.compare(b.key);
    return c != 0 ? c < 0 : a.name < b.name;
}

void NaturalOrder::Sort(std::vector<std::string>& names) {
    std::vector<Keyed> entries;
    entries.reserve(names.size());
    for (std::string& n : names) {
        std::string key = Key(n);
        entries.push_back({std::move(key), std::move(n)});
    }
    std::sort(entries.begin(), entries.end(), &KeyedLess);
    for (std::size_t i = 0; i < entries.size(); ++i)
        names[i] = std::move(entries[i].name);
}

} // namespace velmora::fs

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

void NaturalOrder::AppendKey(std::string& key, std::string_view name) {
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
        return;
    }
    const std::u32string points = platform::DecodeUtf8(name);
    for (std::size_t i = 0; i < points.size();) {
        if (IsDigit(points[i])) {
            i = PutDigitRun(key, points, i);
            continue;
        }
        platform::AppendUtf8Sequence(key, platform::FoldCase(points[i]));
        ++i;
    }
}

std::string NaturalOrder::Key(std::string_view name) {
    std::string key;
    key.reserve(name.size() + 4);
    AppendKey(key, name);
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
    // All keys in one buffer, and small entries to sort that carry the first eight key bytes:
    // most comparisons end there, without touching the keys or moving any string.
    struct Entry {
        std::uint64_t prefix;
        std::uint32_t offset;
        std::uint32_t length;
        std::size_t index;
    };
    std::size_t total = 0;
    for (const std::string& n : names)
        total += n.size() + 8;
    std::string keys;
    keys.reserve(total);
    std::vector<Entry> entries;
    entries.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::size_t offset = keys.size();
        AppendKey(keys, names[i]);
        const std::size_t length = keys.size() - offset;
        // Big-endian and padded with zero bytes, so that unequal prefixes order as the keys do.
        std::uint64_t prefix = 0;
        for (std::size_t j = 0; j < 8; ++j)
            prefix =
                (prefix << 8) | (j < length ? static_cast<unsigned char>(keys[offset + j]) : 0U);
        entries.push_back(
            {prefix, static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(length), i});
    }
    std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        if (a.prefix != b.prefix) return a.prefix < b.prefix;
        const int c = std::string_view(keys)
                          .substr(a.offset, a.length)
                          .compare(std::string_view(keys).substr(b.offset, b.length));
        return c != 0 ? c < 0 : names[a.index] < names[b.index];
    });
    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (const Entry& e : entries)
        sorted.push_back(std::move(names[e.index]));
    names.swap(sorted);
}

} // namespace velmora::fs

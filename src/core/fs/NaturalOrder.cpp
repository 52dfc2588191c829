// Name order through byte-comparable keys.
#include "core/fs/NaturalOrder.h"

#include "core/fs/NameCollator.h"

#include <algorithm>
#include <cstdint>

namespace velmora::fs {

void NaturalOrder::AppendKey(std::string& key, std::string_view name) {
    NameCollator::User().AppendKey(key, name);
}

std::string NaturalOrder::Key(std::string_view name) {
    std::string key;
    key.reserve(name.size() + 4);
    AppendKey(key, name);
    return key;
}

bool NaturalOrder::Less(std::string_view a, std::string_view b) {
    return Less(a, b, NameCollator::User());
}

bool NaturalOrder::Less(std::string_view a, std::string_view b, const NameCollator& collator) {
    std::string ka, kb;
    collator.AppendKey(ka, a);
    collator.AppendKey(kb, b);
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
    Sort(names, NameCollator::User());
}

void NaturalOrder::Sort(std::vector<std::string>& names, const NameCollator& collator) {
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
        total += 3 * n.size() + 16;
    std::string keys;
    keys.reserve(total);
    std::vector<Entry> entries;
    entries.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::size_t offset = keys.size();
        collator.AppendKey(keys, names[i]);
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

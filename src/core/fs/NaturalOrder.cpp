// Name order through byte-comparable keys.
#include "core/fs/NaturalOrder.h"

#include "core/fs/NameCollator.h"

#include <algorithm>
#include <cstdint>
#include <system_error>
#include <thread>

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

namespace {

// A name's place while sorting: its key in a shared buffer, and the key's first eight bytes,
// where most comparisons end without touching the keys or moving any string.
struct Entry {
    std::uint64_t prefix;
    std::uint32_t offset;
    std::uint32_t length;
    std::size_t index;
};

void BuildKeys(const std::vector<std::string>& names, std::size_t begin, std::size_t end,
               const NameCollator& collator, std::string& keys, std::vector<Entry>& entries) {
    std::size_t total = 0;
    for (std::size_t i = begin; i < end; ++i)
        total += 3 * names[i].size() + 16;
    keys.reserve(total);
    entries.reserve(end - begin);
    for (std::size_t i = begin; i < end; ++i) {
        const std::size_t offset = keys.size();
        collator.AppendKey(keys, names[i]);
        const std::size_t length = keys.size() - offset;
        // Big-endian and padded with zero bytes (which no key holds), so that unequal prefixes
        // order as the keys do.
        std::uint64_t prefix = 0;
        for (std::size_t j = 0; j < 8; ++j)
            prefix =
                (prefix << 8) | (j < length ? static_cast<unsigned char>(keys[offset + j]) : 0U);
        entries.push_back(
            {prefix, static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(length), i});
    }
}

} // namespace

void NaturalOrder::Sort(std::vector<std::string>& names, const NameCollator& collator) {
    const std::size_t n = names.size();
    std::string keys, tailKeys;
    std::vector<Entry> entries, tailEntries;
    // Making the keys is most of the work for a large folder: where there is a second core, it
    // makes the second half of them.
    std::size_t half = n;
    std::thread tail;
    if (n >= 4096 && std::thread::hardware_concurrency() > 1) {
        try {
            tail = std::thread(
                [&, from = n / 2] { BuildKeys(names, from, n, collator, tailKeys, tailEntries); });
            half = n / 2;
        } catch (const std::system_error&) {
            // No thread to be had: all keys on this one.
        }
    }
    BuildKeys(names, 0, half, collator, keys, entries);
    if (tail.joinable()) {
        tail.join();
        const auto base = static_cast<std::uint32_t>(keys.size());
        keys += tailKeys;
        entries.reserve(n);
        for (Entry e : tailEntries) {
            e.offset += base;
            entries.push_back(e);
        }
    }
    std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        if (a.prefix != b.prefix) return a.prefix < b.prefix;
        const int c = std::string_view(keys)
                          .substr(a.offset, a.length)
                          .compare(std::string_view(keys).substr(b.offset, b.length));
        return c != 0 ? c < 0 : names[a.index] < names[b.index];
    });
    std::vector<std::string> sorted;
    sorted.reserve(n);
    for (const Entry& e : entries)
        sorted.push_back(std::move(names[e.index]));
    names.swap(sorted);
}

} // namespace velmora::fs

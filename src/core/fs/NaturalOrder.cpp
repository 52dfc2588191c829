// Natural name order.
#include "core/fs/NaturalOrder.h"

#include "core/platform/CaseMap.h"
#include "core/platform/Utf8.h"

#include <algorithm>
#include <numeric>

namespace velmora::fs {

namespace {

bool IsDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}

} // namespace

std::u32string NaturalOrder::Key(std::string_view name) {
    std::u32string key;
    if (std::all_of(name.begin(), name.end(), [](char c) { return (c & 0x80) == 0; })) {
        key.resize(name.size());
        for (std::size_t i = 0; i < name.size(); ++i) {
            const auto c = static_cast<char32_t>(name[i]);
            key[i] = (c >= U'A' && c <= U'Z') ? c + 32 : c;
        }
        return key;
    }
    key = platform::DecodeUtf8(name);
    for (char32_t& c : key)
        c = platform::FoldCase(c);
    return key;
}

int NaturalOrder::CompareKeys(std::u32string_view a, std::u32string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            // Leading zeros carry no value; then the longer run is the larger number, and runs
            // of equal length compare digit by digit. No conversion, so no run is too long.
            while (i < a.size() && a[i] == U'0')
                ++i;
            while (j < b.size() && b[j] == U'0')
                ++j;
            std::size_t ei = i, ej = j;
            while (ei < a.size() && IsDigit(a[ei]))
                ++ei;
            while (ej < b.size() && IsDigit(b[ej]))
                ++ej;
            if (ei - i != ej - j) return ei - i < ej - j ? -1 : 1;
            for (; i < ei; ++i, ++j)
                if (a[i] != b[j]) return a[i] < b[j] ? -1 : 1;
            continue;
        }
        if (a[i] != b[j]) return a[i] < b[j] ? -1 : 1;
        ++i, ++j;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

bool NaturalOrder::Less(std::string_view a, std::string_view b) {
    const int c = CompareKeys(Key(a), Key(b));
    return c != 0 ? c < 0 : a < b;
}

void NaturalOrder::Sort(std::vector<std::string>& names) {
    std::vector<std::u32string> keys;
    keys.reserve(names.size());
    for (const std::string& n : names)
        keys.push_back(Key(n));
    std::vector<std::size_t> order(names.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
        const int c = CompareKeys(keys[x], keys[y]);
        return c != 0 ? c < 0 : names[x] < names[y];
    });
    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (std::size_t k : order)
        sorted.push_back(std::move(names[k]));
    names = std::move(sorted);
}

} // namespace velmora::fs

// Natural, case-insensitive name order.
#include "core/fs/NameOrder.h"

#include "core/platform/CaseMap.h"
#include "core/platform/Utf8.h"

namespace velmora::fs {

namespace {

bool IsDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}

// <0, 0, >0 like strcmp, over the folded code points.
int CompareFolded(const std::u32string& a, const std::u32string& b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            // Leading zeros do not change the value; a longer run is then the larger number.
            std::size_t si = i, sj = j;
            while (si < a.size() && a[si] == U'0')
                ++si;
            while (sj < b.size() && b[sj] == U'0')
                ++sj;
            std::size_t ei = si, ej = sj;
            while (ei < a.size() && IsDigit(a[ei]))
                ++ei;
            while (ej < b.size() && IsDigit(b[ej]))
                ++ej;
            if (ei - si != ej - sj) return ei - si < ej - sj ? -1 : 1;
            for (std::size_t k = 0; k < ei - si; ++k)
                if (a[si + k] != b[sj + k]) return a[si + k] < b[sj + k] ? -1 : 1;
            i = ei;
            j = ej;
            continue;
        }
        if (a[i] != b[j]) return a[i] < b[j] ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

} // namespace

NameKey MakeNameKey(std::string_view name) {
    NameKey key{platform::DecodeUtf8(name), std::string(name)};
    for (char32_t& c : key.folded)
        c = platform::ToLower(c);
    return key;
}

bool NameKeyLess(const NameKey& a, const NameKey& b) {
    int c = CompareFolded(a.folded, b.folded);
    if (c != 0) return c < 0;
    return a.raw < b.raw;
}

bool NameLess(std::string_view a, std::string_view b) {
    return NameKeyLess(MakeNameKey(a), MakeNameKey(b));
}

} // namespace velmora::fs

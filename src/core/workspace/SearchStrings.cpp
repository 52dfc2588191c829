// Plain and Boyer-Moore string search without regard to case.
#include "core/workspace/SearchStrings.h"

#include "core/platform/CaseMap.h"

#include <algorithm>
#include <array>
#include <string>

namespace velmora::workspace {

namespace {

// Runs for every compared character, so the ASCII case stays inline here.
char32_t Up(char32_t c) {
    if (c < 0x80) return (c >= U'a' && c <= U'z') ? c - 32 : c;
    return platform::ToUpper(c);
}

void Judge(std::u32string_view s, std::u32string_view f, std::size_t pos, SearchResult& r) {
    r.Pos = static_cast<int>(pos);
    const std::size_t end = pos + f.size();
    r.WholeWord = (pos == 0 || !IsWordChar(s[pos - 1])) && (end >= s.size() || !IsWordChar(s[end]));
    r.MatchCase = s.substr(pos, f.size()) == f;
}

// The searched part [from, to) of s, clamped; empty when there is nothing to search.
struct Part {
    std::size_t from = 0;
    std::size_t to = 0;
};

Part Clamp(std::size_t length, long long from, long long window) {
    const long long n = static_cast<long long>(length);
    from = std::clamp(from, 0LL, n);
    const long long to = window <= 0 ? from : std::min(n, from + window);
    return {static_cast<std::size_t>(from), static_cast<std::size_t>(to)};
}

bool MatchesAt(std::u32string_view s, const std::u32string& uf, std::size_t i) {
    for (std::size_t j = 0; j < uf.size(); ++j)
        if (Up(s[i + j]) != uf[j]) return false;
    return true;
}

// Leftmost i in [from, to - m] where uf matches; npos when none.
std::size_t PlainForward(std::u32string_view s, const std::u32string& uf, Part p) {
    const std::size_t m = uf.size();
    if (p.to - p.from < m) return std::u32string_view::npos;
    for (std::size_t i = p.from; i + m <= p.to; ++i)
        if (Up(s[i]) == uf[0] && MatchesAt(s, uf, i)) return i;
    return std::u32string_view::npos;
}

// Boyer-Moore with the bad-character rule over 256 buckets (a character's low byte). The shift
// comes from the character under the window's last position: shifting by the table entry of the
// mismatching character instead, as the textbook variant with "matched + 1" does, skips
// occurrences ("AA" in "BAA"). Shared buckets only make shifts smaller, never unsafe.
std::size_t FastForward(std::u32string_view s, const std::u32string& uf,
                        const std::array<std::size_t, 256>& shift, Part p) {
    const std::size_t m = uf.size();
    if (p.to - p.from < m) return std::u32string_view::npos;
    const char32_t last = uf[m - 1];
    for (std::size_t i = p.from; i + m <= p.to;) {
        const char32_t c = Up(s[i + m - 1]);
        if (c == last) {
            std::size_t j = m - 1;
            while (j > 0 && Up(s[i + j - 1]) == uf[j - 1])
                --j;
            if (j == 0) return i;
        }
        i += shift[c & 0xFF];
    }
    return std::u32string_view::npos;
}

// Rightmost i with [i, i + m) inside [from, to).
std::size_t PlainBackward(std::u32string_view s, const std::u32string& uf, Part p) {
    const std::size_t m = uf.size();
    if (p.to - p.from < m) return std::u32string_view::npos;
    for (std::size_t i = p.to - m + 1; i-- > p.from;)
        if (Up(s[i]) == uf[0] && MatchesAt(s, uf, i)) return i;
    return std::u32string_view::npos;
}

// The mirror image of FastForward: the window moves leftwards, keyed on its first character.
std::size_t FastBackward(std::u32string_view s, const std::u32string& uf, Part p) {
    const std::size_t m = uf.size();
    if (p.to - p.from < m) return std::u32string_view::npos;
    std::array<std::size_t, 256> shift{};
    shift.fill(m);
    for (std::size_t j = m; j-- > 1;)
        shift[uf[j] & 0xFF] = j;
    const char32_t first = uf[0];
    for (std::size_t i = p.to - m;;) {
        const char32_t c = Up(s[i]);
        if (c == first && MatchesAt(s, uf, i)) return i;
        const std::size_t step = shift[c & 0xFF];
        if (i < p.from + step) return std::u32string_view::npos;
        i -= step;
    }
}

} // namespace

bool IsWordChar(char32_t c) {
    return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') || (c >= U'0' && c <= U'9') ||
           c == U'_';
}

ForwardSearch::ForwardSearch(std::u32string_view f, bool fast)
    : f_(f), upper_(platform::ToUpper(f_)), fast_(fast) {
    const std::size_t m = upper_.size();
    shift_.fill(m);
    for (std::size_t j = 0; j + 1 < m; ++j)
        shift_[upper_[j] & 0xFF] = m - 1 - j;
}

void ForwardSearch::Find(std::u32string_view s, int start, int window, SearchResult& result) const {
    result = SearchResult{};
    result.Len = static_cast<int>(f_.size());
    if (f_.empty()) return;
    const Part p = Clamp(s.size(), start, window);
    const std::size_t i = fast_ ? FastForward(s, upper_, shift_, p) : PlainForward(s, upper_, p);
    if (i != std::u32string_view::npos) Judge(s, f_, i, result);
}

void SearchForward(std::u32string_view s, std::u32string_view f, int start, SearchResult& result,
                   bool fast, int window) {
    ForwardSearch(f, fast).Find(s, start, window, result);
}

void SearchBackward(std::u32string_view s, std::u32string_view f, int start, SearchResult& result,
                    bool fast, int window) {
    result = SearchResult{};
    result.Len = static_cast<int>(f.size());
    if (f.empty()) return;
    // The reversed text's part [start, start + window) is [n - start - window, n - start) here.
    const long long n = static_cast<long long>(s.size());
    const long long to = n - std::max(start, 0);
    if (to <= 0 || window <= 0) return;
    const Part p{static_cast<std::size_t>(std::max(0LL, to - window)),
                 static_cast<std::size_t>(std::min(to, n))};
    const std::u32string uf = platform::ToUpper(std::u32string(f));
    const std::size_t i = fast ? FastBackward(s, uf, p) : PlainBackward(s, uf, p);
    if (i != std::u32string_view::npos) Judge(s, f, i, result);
}

} // namespace velmora::workspace

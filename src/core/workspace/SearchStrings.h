// The string searches of find and replace: without regard to case, with separate verdicts on
// whole word and matching case.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace velmora::workspace {

struct SearchResult {
    int Pos = -1;           // offset of the occurrence in the searched text; -1: none
    int Len = 0;            // length of the search text
    bool WholeWord = false; // no word character right before or after the occurrence
    bool MatchCase = false; // the occurrence equals the search text character for character
};

// Word characters: A-Z, a-z, 0-9 and "_"; everything else (accented letters too) is not.
bool IsWordChar(char32_t c);

// One search text prepared once (upper-cased, with its shift table) for many forward searches.
class ForwardSearch {
public:
    ForwardSearch(std::u32string_view f, bool fast);
    void Find(std::u32string_view s, int start, int window, SearchResult& result) const;

private:
    std::u32string f_;
    std::u32string upper_;
    bool fast_;
    std::array<std::size_t, 256> shift_{};
};

// Searches the part of s that begins at offset start and is at most window characters long for
// the leftmost occurrence of f, comparing upper-cased characters. fast selects a Boyer-Moore
// search; both find the same occurrence. An empty f is never found.
void SearchForward(std::u32string_view s, std::u32string_view f, int start, SearchResult& result,
                   bool fast, int window);
// As if s and f were reversed and searched forward: the rightmost occurrence that lies within
// the first length(s) - start characters of s (and within window characters of that end).
void SearchBackward(std::u32string_view s, std::u32string_view f, int start, SearchResult& result,
                    bool fast, int window);

} // namespace velmora::workspace

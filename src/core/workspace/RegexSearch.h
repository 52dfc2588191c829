// A Perl-compatible regular expression matched within one line of names: Unicode-aware, without
// regard to case unless asked, optionally bounded to whole words.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace velmora::workspace {

// Where a match and its first nine groups lie in the line; a group that took no part is -1, -1.
struct RegexMatch {
    static constexpr int kGroups = 10; // \0 (the whole match) to \9
    std::array<int, 2 * kGroups> ends{};

    int Start(int group = 0) const { return ends[2 * group]; }
    int End(int group = 0) const { return ends[2 * group + 1]; }
    bool Empty() const { return Start() == End(); }
};

class RegexSearch {
public:
    // Throws platform::Exception with "Invalid regular expression: %s (at character %d)." when
    // the pattern does not compile; the position counts characters from 1.
    RegexSearch(std::u32string_view pattern, bool matchCase, bool wholeWord);
    ~RegexSearch();
    RegexSearch(const RegexSearch&) = delete;
    RegexSearch& operator=(const RegexSearch&) = delete;

    // The first match in line that starts at or after start; with notEmptyAtStart an empty match
    // right at start does not count. The whole line stays visible to lookbehind and \b.
    bool Find(std::u32string_view line, int start, bool notEmptyAtStart, RegexMatch& m) const;
    // A match that starts exactly at start.
    bool MatchAt(std::u32string_view line, int start, RegexMatch& m) const;
    // Every match of the line from left to right, as a global substitution finds them: after an
    // empty match the next one may not be empty at the same place, so the walk always ends.
    void ForEach(std::u32string_view line, const std::function<void(const RegexMatch&)>& fn) const;

private:
    struct Engine;
    // The line as the engine sees it: characters it cannot take (the escapes that keep invalid
    // file-name bytes) stand in as private-use characters, one for one, so offsets stay put.
    std::u32string_view Subject(std::u32string_view line) const;
    int Run(std::u32string_view subject, int start, unsigned flags, RegexMatch& m) const;

    std::unique_ptr<Engine> engine_;
    mutable std::u32string mapped_;
};

} // namespace velmora::workspace

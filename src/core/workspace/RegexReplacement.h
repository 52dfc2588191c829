// The replace text of a regular-expression replace: group references and case changes.
#pragma once

#include "core/workspace/RegexSearch.h"

#include <string>
#include <string_view>
#include <vector>

namespace velmora::workspace {

// \0..\9 and $0..$9 stand for the whole match and its groups (a group that took no part, or
// that the pattern does not have, gives nothing); \\ and $$ for the characters themselves; \U
// and \L upper- or lower-case what follows, up to \E or the end. Any other character, a
// backslash or dollar before anything else included, stands for itself.
class RegexReplacement {
public:
    explicit RegexReplacement(std::u32string_view replace);

    // Appends the replacement for the match m of line to out.
    void Expand(std::u32string_view line, const RegexMatch& m, std::u32string& out) const;

private:
    enum class Kind : unsigned char { Text, Group, Upper, Lower, Keep };
    struct Piece {
        Kind kind;
        int group = 0;
        std::u32string text;
    };
    std::vector<Piece> pieces_;
    bool changesCase_ = false;
};

} // namespace velmora::workspace

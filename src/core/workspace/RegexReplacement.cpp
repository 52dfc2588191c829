// Expanding a replace text for one match.
#include "core/workspace/RegexReplacement.h"

#include "core/platform/CaseMap.h"

namespace velmora::workspace {

RegexReplacement::RegexReplacement(std::u32string_view replace) {
    auto text = [this]() -> std::u32string& {
        if (pieces_.empty() || pieces_.back().kind != Kind::Text)
            pieces_.push_back({Kind::Text, 0, {}});
        return pieces_.back().text;
    };
    for (std::size_t i = 0; i < replace.size(); ++i) {
        const char32_t c = replace[i];
        const char32_t next = i + 1 < replace.size() ? replace[i + 1] : U'\0';
        if ((c == U'\\' || c == U'$') && next >= U'0' && next <= U'9') {
            pieces_.push_back({Kind::Group, static_cast<int>(next - U'0'), {}});
            ++i;
        } else if ((c == U'\\' || c == U'$') && next == c) {
            text() += c;
            ++i;
        } else if (c == U'\\' && (next == U'U' || next == U'L' || next == U'E')) {
            pieces_.push_back({next == U'U'   ? Kind::Upper
                               : next == U'L' ? Kind::Lower
                                              : Kind::Keep,
                               0,
                               {}});
            changesCase_ = changesCase_ || next != U'E';
            ++i;
        } else {
            text() += c;
        }
    }
}

void RegexReplacement::Expand(std::u32string_view line, const RegexMatch& m,
                              std::u32string& out) const {
    Kind mode = Kind::Keep;
    for (const Piece& p : pieces_) {
        std::u32string_view part;
        switch (p.kind) {
        case Kind::Text:
            part = p.text;
            break;
        case Kind::Group:
            if (m.Start(p.group) >= 0 && m.End(p.group) > m.Start(p.group))
                part = line.substr(static_cast<std::size_t>(m.Start(p.group)),
                                   static_cast<std::size_t>(m.End(p.group) - m.Start(p.group)));
            break;
        default:
            mode = p.kind;
            continue;
        }
        if (!changesCase_ || mode == Kind::Keep) {
            out += part;
            continue;
        }
        for (const char32_t c : part)
            out += mode == Kind::Upper ? platform::ToUpper(c) : platform::ToLower(c);
    }
}

} // namespace velmora::workspace

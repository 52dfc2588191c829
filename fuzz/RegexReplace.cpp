// Fuzzes regular-expression find and replace: the input's first byte chooses the options, the
// rest splits at NUL bytes into pattern, replace text and the line searched.
#include "core/platform/Error.h"
#include "core/platform/Utf8.h"
#include "core/workspace/RegexReplacement.h"
#include "core/workspace/RegexSearch.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t flags = data[0];
    std::string parts[3];
    int part = 0;
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] == 0 && part < 2)
            ++part;
        else
            parts[part] += static_cast<char>(data[i]);
    }
    using namespace velmora;
    // Decoding keeps bytes that are not UTF-8 as escapes, as file names reach the editor.
    const std::u32string line = platform::DecodeUtf8(parts[2]);
    try {
        const workspace::RegexSearch re(platform::DecodeUtf8(parts[0]), flags & 1, flags & 2);
        const workspace::RegexReplacement replacement(platform::DecodeUtf8(parts[1]));
        const int length = static_cast<int>(line.size());
        int last = -1;
        bool lastEmpty = false;
        std::u32string out;
        re.ForEach(line, [&](const workspace::RegexMatch& m) {
            // Matches lie in the line, in order, and never stand still.
            if (m.Start() < 0 || m.End() > length || m.Start() > m.End()) std::abort();
            if (m.Start() < last || (m.Empty() && lastEmpty && m.Start() == last)) std::abort();
            last = m.End();
            lastEmpty = m.Empty();
            for (int g = 1; g < workspace::RegexMatch::kGroups; ++g)
                if (m.Start(g) != -1 && (m.Start(g) < 0 || m.End(g) > length)) std::abort();
            replacement.Expand(line, m, out);
        });
        workspace::RegexMatch m;
        const int start = length ? static_cast<int>(flags >> 3) % (length + 1) : 0;
        if (re.Find(line, start, flags & 4, m) && (m.Start() < start || m.End() > length))
            std::abort();
        if (re.MatchAt(line, start, m) && m.Start() != start) std::abort();
    } catch (const platform::Exception&) {
        // An invalid pattern, or one that exceeds the engine's limits, is reported, not matched.
    }
    return 0;
}

// Fuzzes names from tags: the input's first line is the name format, the second the file's old
// name, the rest "KEY=value" tag properties. The name made must be safe: no "/", no control
// character, at most 255 bytes with the extension, and the format's mistakes never raise.
#include "core/tagnames/TagNames.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace velmora::tagnames;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    const std::size_t a = in.find('\n');
    const std::string_view format = in.substr(0, a);
    std::string_view rest = a == std::string_view::npos ? std::string_view() : in.substr(a + 1);
    const std::size_t b = rest.find('\n');
    const std::string oldName(rest.substr(0, b));
    rest = b == std::string_view::npos ? std::string_view() : rest.substr(b + 1);

    TagProperties properties;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        const std::size_t eq = line.find('=');
        if (eq != std::string_view::npos)
            properties.push_back(
                {std::string(line.substr(0, eq)), {std::string(line.substr(eq + 1))}});
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    TrackTags tags;
    AddTagProperties(tags, properties);

    const NameFormat parsed = NameFormat::Parse(format);
    for (const bool fat : {false, true}) {
        TagNameOptions options;
        options.rules.fatCharacters = fat;
        options.missing = fat ? NameFormat::Missing::LeaveEmpty : NameFormat::Missing::KeepOldName;
        const auto name = parsed.Expand(tags, oldName, options.missing);
        if (!name) continue;
        const std::string safe = SafeName::Stem(*name, options.rules, 4);
        if (safe.size() > 251) std::abort();
        for (const char c : safe)
            if (c == '/' || (static_cast<unsigned char>(c) < 0x20) || c == 0x7F) std::abort();
        if (!safe.empty() && (safe.front() == '.' || safe.back() == '.' || safe.back() == ' '))
            std::abort();
        (void)TagNames::Line(parsed, tags, oldName, fat, options);
    }
    return 0;
}

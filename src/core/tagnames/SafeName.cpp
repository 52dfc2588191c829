// The character rules for names made from tags.
#include "core/tagnames/SafeName.h"

#include "core/platform/Utf8.h"
#include "core/workspace/NamingRules.h"

namespace velmora::tagnames {

namespace {

bool Refused(char32_t c, const SafeNameRules& rules) {
    if (c == U'/' || c < 0x20 || c == 0x7F) return true;
    return rules.fatCharacters && workspace::NamingRules::FatRefuses(c);
}

} // namespace

std::string SafeName::Stem(std::string_view stem, const SafeNameRules& rules,
                           std::size_t extBytes) {
    std::u32string replacement;
    for (char32_t c : platform::DecodeUtf8(rules.replacement))
        if (!Refused(c, rules)) replacement += c;
    std::u32string out;
    for (char32_t c : platform::DecodeUtf8(stem)) {
        if (Refused(c, rules))
            out += replacement;
        else
            out += c;
    }
    const auto trailing = [](char32_t c) { return c == U'.' || c == U' '; };
    std::size_t first = 0;
    while (first < out.size() && out[first] == U'.')
        ++first;
    out.erase(0, first);
    while (!out.empty() && trailing(out.back()))
        out.pop_back();
    std::string bytes = platform::EncodeUtf8(out);
    const std::size_t room = extBytes >= kMaxNameBytes ? 0 : kMaxNameBytes - extBytes;
    if (bytes.size() > room) {
        // Cut at a character boundary: never inside a UTF-8 sequence.
        std::size_t cut = room;
        while (cut > 0 && (static_cast<unsigned char>(bytes[cut]) & 0xC0) == 0x80)
            --cut;
        bytes.resize(cut);
        while (!bytes.empty() && (bytes.back() == '.' || bytes.back() == ' '))
            bytes.pop_back();
    }
    return bytes;
}

} // namespace velmora::tagnames

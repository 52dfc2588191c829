// Making a text safe to be a file name.
#pragma once

#include <string>
#include <string_view>

namespace velmora::tagnames {

struct SafeNameRules {
    // Stands for each refused character; characters of it that would be refused themselves are
    // dropped from it.
    std::string replacement = "_";
    // Also the characters FAT, exFAT and NTFS refuse.
    bool fatCharacters = false;
};

class SafeName {
public:
    static constexpr std::size_t kMaxNameBytes = 255;

    // The stem made safe: "/", NUL and every other control character (a line break or tab would
    // break the names pane's one line per file) replaced always, the FAT characters when the
    // rules say so; leading dots (a hidden file) and trailing dots and blanks removed; then cut
    // at a character boundary so that the stem and extBytes bytes of extension fit in 255 bytes.
    static std::string Stem(std::string_view stem, const SafeNameRules& rules,
                            std::size_t extBytes = 0);
};

} // namespace velmora::tagnames

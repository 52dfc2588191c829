// The order in which names are shown: natural, case-insensitive, ties broken by the bytes.
#pragma once

#include <string>
#include <string_view>

namespace velmora::fs {

// A name folded once for repeated comparisons (sorting thousands of folder names).
struct NameKey {
    std::u32string folded;
    std::string raw;
};

NameKey MakeNameKey(std::string_view name);
// Runs of ASCII digits compare by value ("Disc 2" before "Disc 10"), everything else by its
// simple case folding; names equal that way are ordered by their raw bytes.
bool NameKeyLess(const NameKey& a, const NameKey& b);
bool NameLess(std::string_view a, std::string_view b);

} // namespace velmora::fs

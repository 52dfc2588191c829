// Unicode simple case mapping, the same whatever locale the process started in.
#pragma once

#include <string>
#include <string_view>

namespace velmora::platform {

char32_t ToUpper(char32_t c);
char32_t ToLower(char32_t c);
std::u32string ToUpper(std::u32string s);
std::u32string ToLower(std::u32string s);
// Simple case folding: two characters that differ only in case fold to the same one.
char32_t FoldCase(char32_t c);
// Only A-Z and a-z compared without regard to case; every other character exactly.
bool SameTextAscii(std::string_view a, std::string_view b);

} // namespace velmora::platform

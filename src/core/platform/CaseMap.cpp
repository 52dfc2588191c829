// Case mapping through glibc's C.UTF-8 tables.
#include "core/platform/CaseMap.h"

#include <locale.h>
#include <wctype.h>

namespace velmora::platform {

namespace {

locale_t Utf8Locale() {
    static locale_t loc = [] {
        locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
        return l;
    }();
    return loc;
}

bool Mappable(char32_t c) {
    return c < 0xD800 || (c > 0xDFFF && c <= 0x10FFFF);
}

} // namespace

char32_t ToUpper(char32_t c) {
    if (c < 0x80) return (c >= U'a' && c <= U'z') ? c - 32 : c;
    locale_t l = Utf8Locale();
    if (!l || !Mappable(c)) return c;
    return static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), l));
}

char32_t ToLower(char32_t c) {
    if (c < 0x80) return (c >= U'A' && c <= U'Z') ? c + 32 : c;
    locale_t l = Utf8Locale();
    if (!l || !Mappable(c)) return c;
    return static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), l));
}

char32_t FoldCase(char32_t c) {
    if (c < 0x80) return (c >= U'A' && c <= U'Z') ? c + 32 : c;
    // Through the upper case first, so that variants such as final sigma meet their letter.
    return ToLower(ToUpper(c));
}

std::u32string ToUpper(std::u32string s) {
    for (char32_t& c : s)
        c = ToUpper(c);
    return s;
}

std::u32string ToLower(std::u32string s) {
    for (char32_t& c : s)
        c = ToLower(c);
    return s;
}

bool SameTextAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

} // namespace velmora::platform

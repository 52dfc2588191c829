// Sort keys for names through the collation of the user's language.
#include "core/fs/NameCollator.h"

#include <cstdlib>
#include <unicode/ucol.h>
#include <unicode/uloc.h>
#include <unicode/ustring.h>
#include <vector>

namespace velmora::fs {

std::string NameCollator::LocaleOf(const char* lcAll, const char* lcCollate, const char* lang) {
    const char* chosen = nullptr;
    for (const char* v : {lcAll, lcCollate, lang})
        if (v != nullptr && *v != '\0') {
            chosen = v;
            break;
        }
    if (chosen == nullptr) return "root";
    // language_TERRITORY.codeset@modifier: the codeset says nothing about collation, and
    // modifiers such as "@euro" name no collation ICU knows.
    std::string name(chosen);
    name = name.substr(0, name.find_first_of(".@"));
    if (name.empty() || name == "C" || name == "POSIX") return "root";
    char canonical[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode status = U_ZERO_ERROR;
    uloc_canonicalize(name.c_str(), canonical, sizeof canonical, &status);
    if (U_FAILURE(status) || canonical[0] == '\0') return "root";
    return canonical;
}

NameCollator::NameCollator(std::string_view locale) {
    std::string name = LocaleOf(std::string(locale).c_str(), nullptr, nullptr);
    UErrorCode status = U_ZERO_ERROR;
    collator_ = ucol_open(name.c_str(), &status);
    if (U_FAILURE(status) || collator_ == nullptr) {
        status = U_ZERO_ERROR;
        collator_ = ucol_open("root", &status);
    }
    // Accents are secondary and case tertiary differences (the collation's own strength);
    // digit runs compare by value.
    status = U_ZERO_ERROR;
    ucol_setAttribute(collator_, UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
}

NameCollator::~NameCollator() {
    ucol_close(collator_);
}

const NameCollator& NameCollator::User() {
    static const NameCollator user(
        LocaleOf(std::getenv("LC_ALL"), std::getenv("LC_COLLATE"), std::getenv("LANG")));
    return user;
}

std::string NameCollator::Language() const {
    UErrorCode status = U_ZERO_ERROR;
    const char* actual = ucol_getLocaleByType(collator_, ULOC_ACTUAL_LOCALE, &status);
    return U_SUCCESS(status) && actual != nullptr && *actual != '\0' ? actual : "root";
}

void NameCollator::AppendKey(std::string& key, std::string_view name) const {
    // A file name has at most 255 bytes, so one buffer on the stack nearly always does.
    UChar stack[512];
    std::vector<UChar> heap;
    UChar* text = stack;
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(text, static_cast<int32_t>(std::size(stack)), &length, name.data(),
                         static_cast<int32_t>(name.size()), 0xFFFD, nullptr, &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        heap.resize(static_cast<std::size_t>(length));
        text = heap.data();
        status = U_ZERO_ERROR;
        u_strFromUTF8WithSub(text, length, &length, name.data(), static_cast<int32_t>(name.size()),
                             0xFFFD, nullptr, &status);
    }
    if (U_FAILURE(status)) length = 0;

    const std::size_t offset = key.size();
    std::size_t room = 3 * static_cast<std::size_t>(length) + 16;
    for (;;) {
        key.resize(offset + room);
        const int32_t needed = ucol_getSortKey(collator_, text, length,
                                               reinterpret_cast<uint8_t*>(key.data() + offset),
                                               static_cast<int32_t>(room));
        if (needed <= 0) {
            key.resize(offset);
            return;
        }
        if (static_cast<std::size_t>(needed) <= room) {
            // Without the terminating zero byte.
            key.resize(offset + static_cast<std::size_t>(needed) - 1);
            return;
        }
        room = static_cast<std::size_t>(needed);
    }
}

} // namespace velmora::fs

// The collation of the user's language for file and folder names.
#pragma once

#include <string>
#include <string_view>

struct UCollator;

namespace velmora::fs {

// Turns names into sort keys whose plain byte order is the order of a language: accents and
// letter case are differences below the letters themselves ("Édith" beside "Elvis", "Ёлка"
// beside "Ежи"), and runs of digits compare by their value ("track 9" before "track 10").
class NameCollator {
public:
    // locale: a POSIX locale name as in LANG ("sv_SE.UTF-8", "de_DE@euro") or a language tag.
    // "C", "POSIX" and an empty name, and a language without a collation of its own, get the
    // root collation, which orders the world's scripts one after another: never byte order.
    explicit NameCollator(std::string_view locale);
    ~NameCollator();
    NameCollator(const NameCollator&) = delete;
    NameCollator& operator=(const NameCollator&) = delete;

    // The collator of the user's locale (LC_ALL, else LC_COLLATE, else LANG), made once. Safe to
    // use from several threads: keys are made without changing the collator.
    static const NameCollator& User();
    // The locale that decides collation, from the values of LC_ALL, LC_COLLATE and LANG (any of
    // them null or empty), as a language tag without codeset ("sv_SE"); "root" when there is
    // none or it is C or POSIX.
    static std::string LocaleOf(const char* lcAll, const char* lcCollate, const char* lang);

    // Appends the sort key of name to key. The name's bytes are read as UTF-8; a byte that is not
    // part of a valid sequence reads as U+FFFD, which sorts after every letter. The key holds no
    // zero byte.
    void AppendKey(std::string& key, std::string_view name) const;

    // The language whose rules the collator uses ("root" where it found none).
    std::string Language() const;

private:
    UCollator* collator_ = nullptr;
};

} // namespace velmora::fs

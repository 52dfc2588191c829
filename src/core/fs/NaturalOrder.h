// The order in which a folder's names are listed: the order users know from their file manager.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora::fs {

// Name order: the collation of the user's language (NameCollator: accents and case below the
// letters, runs of digits by their value); names that still compare equal ("x007" and "x7", or
// two names that differ only in bytes that are not UTF-8) are ordered by their raw bytes, so the
// order is total and stable. Every function without a collator uses the user's.
class NameCollator;

class NaturalOrder {
public:
    // A byte string whose plain byte order is the order of the names: the collation's sort key.
    static std::string Key(std::string_view name);
    // Appends the key of name to key.
    static void AppendKey(std::string& key, std::string_view name);
    static bool Less(std::string_view a, std::string_view b);
    static bool Less(std::string_view a, std::string_view b, const NameCollator& collator);

    // A name with its key, for sorting names that carry data of their own.
    struct Keyed {
        std::string key;
        std::string name;
    };
    static Keyed MakeKeyed(std::string_view name);
    static bool KeyedLess(const Keyed& a, const Keyed& b);

    // Sorts names, computing every key once.
    static void Sort(std::vector<std::string>& names);
    static void Sort(std::vector<std::string>& names, const NameCollator& collator);
};

} // namespace velmora::fs

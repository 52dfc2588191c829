// The order in which a folder's names are listed: the order users know from their file manager.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora::fs {

// Natural order: runs of digits compare by their value ("track 9" before "track 10"), other
// characters by code point after simple case folding; names that still compare equal ("A.mp3"
// and "a.mp3", "01" and "1") are ordered by their raw bytes, so the order is total and stable.
class NaturalOrder {
public:
    // A byte string whose plain byte order is the natural order of the names: folded code
    // points in UTF-8 (bytes that are not UTF-8 keep their escapes), each digit run as its
    // length and then its digits without leading zeros.
    static std::string Key(std::string_view name);
    // Appends the key of name to key.
    static void AppendKey(std::string& key, std::string_view name);
    static bool Less(std::string_view a, std::string_view b);

    // A name with its key, for sorting names that carry data of their own.
    struct Keyed {
        std::string key;
        std::string name;
    };
    static Keyed MakeKeyed(std::string_view name);
    static bool KeyedLess(const Keyed& a, const Keyed& b);

    // Sorts names in natural order, computing every key once.
    static void Sort(std::vector<std::string>& names);
};

} // namespace velmora::fs

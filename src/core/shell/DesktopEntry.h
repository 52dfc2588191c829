// A desktop entry file (.desktop, service menus, file-manager actions): groups of key=value lines.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmora::shell {

class DesktopEntry {
public:
    // Lenient: lines that are neither comments, groups nor key=value are skipped, and for a
    // group or key given twice the first one counts.
    static DesktopEntry Parse(std::string_view text);
    // nullopt when the file cannot be read or is larger than any real desktop entry.
    static std::optional<DesktopEntry> Load(const std::string& path);

    bool HasGroup(std::string_view group) const;
    // The group's keys in file order.
    std::vector<std::string> Keys(std::string_view group) const;
    // The value as written (escapes untouched); nullptr when the key is missing.
    const std::string* Raw(std::string_view group, std::string_view key) const;
    // The value with \s \n \t \r \\ resolved.
    std::string String(std::string_view group, std::string_view key,
                       std::string_view fallback = {}) const;
    // A localised value: Key[lang_COUNTRY@MODIFIER], Key[lang_COUNTRY], Key[lang@MODIFIER],
    // Key[lang], Key, in that order. locale is a POSIX locale name such as "de_DE.UTF-8".
    std::string LocaleString(std::string_view group, std::string_view key,
                             std::string_view locale) const;
    // A ";"-separated list; "\;" is a semicolon inside an element.
    std::vector<std::string> List(std::string_view group, std::string_view key) const;
    bool Bool(std::string_view group, std::string_view key, bool fallback = false) const;

private:
    struct Group {
        std::string name;
        std::vector<std::pair<std::string, std::string>> entries;
    };
    const Group* FindGroup(std::string_view group) const;
    std::vector<Group> groups_;
};

// Resolves the escapes of a string value.
std::string UnescapeDesktopValue(std::string_view raw);
// Writes text as a string value: backslash, newline, tab, carriage return and a leading blank
// escaped, so that UnescapeDesktopValue gives it back.
std::string EscapeDesktopValue(std::string_view text);

} // namespace velmora::shell

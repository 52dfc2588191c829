// Desktop entry reading.
#include "core/shell/DesktopEntry.h"

#include <fstream>
#include <iterator>

namespace velmora::shell {

namespace {

constexpr std::size_t kMaxFileSize = 1 << 20;

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

} // namespace

DesktopEntry DesktopEntry::Parse(std::string_view text) {
    DesktopEntry entry;
    Group* current = nullptr;
    bool skipGroup = false; // a repeated group: its keys are ignored
    while (!text.empty()) {
        std::size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view{} : text.substr(nl + 1);
        line = Trim(line);
        if (line.empty() || line.front() == '#') continue;
        if (line.front() == '[') {
            std::size_t close = line.find(']');
            if (close == std::string_view::npos) continue;
            std::string_view name = line.substr(1, close - 1);
            skipGroup = entry.FindGroup(name) != nullptr;
            if (!skipGroup) {
                entry.groups_.push_back({std::string(name), {}});
                current = &entry.groups_.back();
            }
            continue;
        }
        std::size_t eq = line.find('=');
        if (eq == std::string_view::npos || !current || skipGroup) continue;
        std::string_view key = Trim(line.substr(0, eq));
        std::string_view value = Trim(line.substr(eq + 1));
        if (key.empty()) continue;
        bool seen = false;
        for (const auto& [k, v] : current->entries)
            seen = seen || k == key;
        if (!seen) current->entries.emplace_back(std::string(key), std::string(value));
    }
    return entry;
}

std::optional<DesktopEntry> DesktopEntry::Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string text;
    char buffer[8192];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        text.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (text.size() > kMaxFileSize) return std::nullopt;
    }
    return Parse(text);
}

const DesktopEntry::Group* DesktopEntry::FindGroup(std::string_view group) const {
    for (const Group& g : groups_)
        if (g.name == group) return &g;
    return nullptr;
}

bool DesktopEntry::HasGroup(std::string_view group) const {
    return FindGroup(group) != nullptr;
}

std::vector<std::string> DesktopEntry::Keys(std::string_view group) const {
    std::vector<std::string> keys;
    if (const Group* g = FindGroup(group))
        for (const auto& [k, v] : g->entries)
            keys.push_back(k);
    return keys;
}

const std::string* DesktopEntry::Raw(std::string_view group, std::string_view key) const {
    const Group* g = FindGroup(group);
    if (!g) return nullptr;
    for (const auto& [k, v] : g->entries)
        if (k == key) return &v;
    return nullptr;
}

std::string DesktopEntry::String(std::string_view group, std::string_view key,
                                 std::string_view fallback) const {
    const std::string* raw = Raw(group, key);
    return raw ? UnescapeDesktopValue(*raw) : std::string(fallback);
}

std::string DesktopEntry::LocaleString(std::string_view group, std::string_view key,
                                       std::string_view locale) const {
    // "de_DE.UTF-8@euro" -> lang "de", country "DE", modifier "euro"; the encoding is dropped.
    std::string_view modifier;
    if (auto at = locale.find('@'); at != std::string_view::npos) {
        modifier = locale.substr(at + 1);
        locale = locale.substr(0, at);
    }
    if (auto dot = locale.find('.'); dot != std::string_view::npos) locale = locale.substr(0, dot);
    std::string_view lang = locale;
    std::string_view country;
    if (auto us = locale.find('_'); us != std::string_view::npos) {
        lang = locale.substr(0, us);
        country = locale.substr(us + 1);
    }
    std::vector<std::string> candidates;
    auto variant = [&](bool withCountry, bool withModifier) {
        if ((withCountry && country.empty()) || (withModifier && modifier.empty())) return;
        std::string k(key);
        k.append("[").append(lang);
        if (withCountry) k.append("_").append(country);
        if (withModifier) k.append("@").append(modifier);
        k.append("]");
        candidates.push_back(std::move(k));
    };
    if (!lang.empty() && lang != "C" && lang != "POSIX") {
        variant(true, true);
        variant(true, false);
        variant(false, true);
        variant(false, false);
    }
    for (const std::string& k : candidates)
        if (const std::string* raw = Raw(group, k)) return UnescapeDesktopValue(*raw);
    return String(group, key);
}

std::vector<std::string> DesktopEntry::List(std::string_view group, std::string_view key) const {
    std::vector<std::string> items;
    const std::string* raw = Raw(group, key);
    if (!raw) return items;
    std::string item;
    for (std::size_t i = 0; i < raw->size(); ++i) {
        char c = (*raw)[i];
        if (c == '\\' && i + 1 < raw->size()) {
            if ((*raw)[i + 1] == ';') {
                item += ';';
            } else {
                item += c;
                item += (*raw)[i + 1];
            }
            ++i;
        } else if (c == ';') {
            items.push_back(UnescapeDesktopValue(item));
            item.clear();
        } else {
            item += c;
        }
    }
    if (!item.empty()) items.push_back(UnescapeDesktopValue(item));
    return items;
}

bool DesktopEntry::Bool(std::string_view group, std::string_view key, bool fallback) const {
    const std::string* raw = Raw(group, key);
    if (!raw) return fallback;
    return *raw == "true" || *raw == "1";
}

std::string UnescapeDesktopValue(std::string_view raw) {
    std::string out;
    out.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\' || i + 1 == raw.size()) {
            out += raw[i];
            continue;
        }
        switch (raw[++i]) {
        case 's':
            out += ' ';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case '\\':
            out += '\\';
            break;
        default: // not a value escape: kept for the next layer (lists, Exec quoting)
            out += '\\';
            out += raw[i];
            break;
        }
    }
    return out;
}

std::string EscapeDesktopValue(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case ' ':
            out += (i == 0 || i + 1 == text.size()) ? "\\s" : " ";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace velmora::shell

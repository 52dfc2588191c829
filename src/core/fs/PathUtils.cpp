// File-name helpers.
#include "core/fs/PathUtils.h"

#include "core/platform/CaseMap.h"
#include "core/platform/Utf8.h"

#include <vector>

namespace velmora::fs {

std::string IncludeTrailingPathDelimiter(std::string_view path) {
    std::string s(path);
    if (!s.empty() && s.back() != '/') s += '/';
    return s;
}

std::string ExtractFileExt(std::string_view name) {
    auto slash = name.find_last_of('/');
    auto dot = name.find_last_of('.');
    if (dot == std::string_view::npos) return {};
    if (slash != std::string_view::npos && dot < slash) return {};
    return std::string(name.substr(dot));
}

std::string ChangeFileExtEmpty(std::string_view name) {
    std::string ext = ExtractFileExt(name);
    return std::string(name.substr(0, name.size() - ext.size()));
}

std::string ParentPath(std::string_view path) {
    std::string s(path);
    if (s.size() > 1 && s.back() == '/') s.pop_back();
    auto slash = s.find_last_of('/');
    if (slash == std::string::npos) return s;
    if (slash == 0) return "/";
    return s.substr(0, slash);
}

namespace {

std::u32string Fold(std::string_view s) {
    std::u32string u = platform::DecodeUtf8(s);
    for (char32_t& c : u)
        c = platform::ToLower(c);
    return u;
}

} // namespace

bool MatchesMask(std::string_view name, std::string_view mask) {
    if (mask == "*.*" || mask == "*") return true;
    std::u32string n = Fold(name);
    std::u32string m = Fold(mask);
    // Iterative wildcard match with single-star backtracking: linear in practice.
    std::size_t ni = 0, mi = 0, starM = std::u32string::npos, starN = 0;
    while (ni < n.size()) {
        if (mi < m.size() && (m[mi] == U'?' || m[mi] == n[ni])) {
            ++ni, ++mi;
        } else if (mi < m.size() && m[mi] == U'*') {
            starM = mi++;
            starN = ni;
        } else if (starM != std::u32string::npos) {
            mi = starM + 1;
            ni = ++starN;
        } else {
            return false;
        }
    }
    while (mi < m.size() && m[mi] == U'*')
        ++mi;
    if (mi == m.size()) return true;
    // The classic wildcard lets a trailing ".*" match a name without a dot ("README" ~ "*.*").
    if (m.size() - mi == 2 && m[mi] == U'.' && m[mi + 1] == U'*') return true;
    return false;
}

} // namespace velmora::fs

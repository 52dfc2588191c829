// File-name helpers.
#include "core/fs/PathUtils.h"

#include "core/platform/CaseMap.h"
#include "core/platform/Utf8.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
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

std::string AbsolutePath(std::string_view path, std::string_view currentDirectory,
                         bool (*isSymbolicLink)(const std::string&)) {
    // Without a known working directory a relative path is left as it is.
    if (path.empty() || (path.front() != '/' && currentDirectory.empty())) return std::string(path);
    std::string full(path.front() == '/' ? std::string_view() : currentDirectory);
    full.append("/").append(path);

    std::string joined;              // the components so far, each after a "/"
    std::vector<std::size_t> starts; // where each component's "/" stands in joined
    bool folder = false;
    std::string_view rest = full;
    while (!rest.empty()) {
        auto slash = rest.find('/');
        std::string_view part = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        folder = part.empty() || part == "." || part == "..";
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (starts.empty()) continue; // "/.." is "/"
            const std::string_view last = std::string_view(joined).substr(starts.back() + 1);
            if (last != ".." && !(isSymbolicLink && isSymbolicLink(joined))) {
                joined.resize(starts.back());
                starts.pop_back();
                continue;
            }
        }
        starts.push_back(joined.size());
        joined.append("/").append(part);
    }
    if (joined.empty() || folder || full.back() == '/') joined += '/';
    return joined;
}

bool IsSymbolicLink(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

namespace {

bool IsCleanAbsolute(std::string_view p) {
    if (p.empty() || p.front() != '/') return false;
    for (std::string_view bad : {"/./", "/../"})
        if ((std::string(p) + "/").find(bad) != std::string::npos) return false;
    return true;
}

} // namespace

std::string CurrentDirectory() {
    struct stat here {
    }, logical{};
    const char* pwd = std::getenv("PWD");
    if (pwd && IsCleanAbsolute(pwd) && ::stat(".", &here) == 0 && ::stat(pwd, &logical) == 0 &&
        here.st_dev == logical.st_dev && here.st_ino == logical.st_ino)
        return pwd;
    std::string buf(PATH_MAX, '\0');
    while (!::getcwd(buf.data(), buf.size())) {
        if (errno != ERANGE) return {};
        buf.resize(buf.size() * 2);
    }
    buf.resize(std::char_traits<char>::length(buf.c_str()));
    return buf;
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

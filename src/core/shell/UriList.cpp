// text/uri-list parsing.
#include "core/shell/UriList.h"

#include "core/platform/CaseMap.h"

namespace velmora::shell {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool LocalPath(std::string_view uri, std::string& path) {
    if (!platform::SameTextAscii(uri.substr(0, 5), "file:")) return false;
    uri.remove_prefix(5);
    if (uri.substr(0, 2) == "//") {
        uri.remove_prefix(2);
        std::size_t slash = uri.find('/');
        if (slash == std::string_view::npos) return false;
        std::string_view host = uri.substr(0, slash);
        if (!host.empty() && !platform::SameTextAscii(host, "localhost")) return false;
        uri.remove_prefix(slash);
    }
    if (uri.empty() || uri.front() != '/') return false;
    if (auto cut = uri.find_first_of("?#"); cut != std::string_view::npos) uri = uri.substr(0, cut);
    path.clear();
    for (std::size_t i = 0; i < uri.size(); ++i) {
        char c = uri[i];
        if (c == '%' && i + 2 < uri.size() && HexValue(uri[i + 1]) >= 0 &&
            HexValue(uri[i + 2]) >= 0) {
            c = static_cast<char>(HexValue(uri[i + 1]) * 16 + HexValue(uri[i + 2]));
            i += 2;
        }
        if (c == '\0') return false;
        path += c;
    }
    return true;
}

} // namespace

std::vector<std::string> UriList::LocalPaths(std::string_view text) {
    std::vector<std::string> paths;
    while (!text.empty()) {
        std::size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view{} : text.substr(nl + 1);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        if (line.empty() || line.front() == '#') continue;
        std::string path;
        if (LocalPath(line, path)) paths.push_back(std::move(path));
    }
    return paths;
}

} // namespace velmora::shell

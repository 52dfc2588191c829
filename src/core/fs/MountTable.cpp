// Mount table parsing.
#include "core/fs/MountTable.h"

#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <unistd.h>

namespace velmora::fs {

namespace {

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i > start) fields.push_back(line.substr(start, i - start));
    }
    return fields;
}

bool ParseInt(std::string_view s, int& out) {
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && end == s.data() + s.size();
}

bool IsOctal(char c) {
    return c >= '0' && c <= '7';
}

} // namespace

std::string UnescapeMountField(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && IsOctal(field[i + 1]) &&
            IsOctal(field[i + 2]) && IsOctal(field[i + 3])) {
            int v = (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
            if (v > 0 && v < 256) {
                out += static_cast<char>(v);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
    std::vector<MountEntry> table;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t nl = text.find('\n', pos);
        if (nl == std::string_view::npos) nl = text.size();
        std::vector<std::string_view> f = SplitFields(text.substr(pos, nl - pos));
        pos = nl + 1;
        // id parent major:minor root mount-point options [optional...] - type source [super]
        if (f.size() < 8) continue;
        std::size_t dash = 6;
        while (dash < f.size() && f[dash] != "-")
            ++dash;
        if (dash + 1 >= f.size()) continue; // no separator, or no type after it
        MountEntry e;
        if (!ParseInt(f[0], e.id) || !ParseInt(f[1], e.parentId)) continue;
        e.device = std::string(f[2]);
        e.root = UnescapeMountField(f[3]);
        e.mountPoint = UnescapeMountField(f[4]);
        if (e.mountPoint.empty() || e.mountPoint[0] != '/') continue;
        e.options = std::string(f[5]);
        e.fsType = UnescapeMountField(f[dash + 1]);
        if (dash + 2 < f.size()) e.source = UnescapeMountField(f[dash + 2]);
        table.push_back(std::move(e));
    }
    return table;
}

std::string ReadMountInfo() {
    int fd = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    std::string text;
    char buf[16384];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        text.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return text;
}

std::optional<MountEntry> MountOf(const std::vector<MountEntry>& table,
                                  const std::string& realPath) {
    const auto under = [&](const std::string& mount) {
        if (mount == "/") return true;
        return realPath.compare(0, mount.size(), mount) == 0 &&
               (realPath.size() == mount.size() || realPath[mount.size()] == '/');
    };
    const MountEntry* best = nullptr;
    for (const MountEntry& m : table)
        if (under(m.mountPoint) &&
            (best == nullptr || m.mountPoint.size() >= best->mountPoint.size()))
            best = &m;
    if (best == nullptr) return std::nullopt;
    return *best;
}

} // namespace velmora::fs

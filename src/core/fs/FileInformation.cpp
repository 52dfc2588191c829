// File information from statx.
#include "core/fs/FileInformation.h"

#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace velmora::fs {

namespace {

FileTime ToFileTime(const struct statx_timestamp& t) {
    return {t.tv_sec, t.tv_nsec};
}

std::tm Utc(FileTime t) {
    std::time_t s = static_cast<std::time_t>(t.Seconds);
    std::tm tm{};
    gmtime_r(&s, &tm);
    return tm;
}

bool IsMidnight(FileTime t) {
    const std::tm tm = Utc(t);
    return tm.tm_hour == 0 && tm.tm_min == 0 && tm.tm_sec == 0 && t.Nanoseconds == 0;
}

std::string BaseName(const std::string& path) {
    std::string p = path;
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    const std::size_t slash = p.rfind('/');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

} // namespace

std::optional<FileInformation> FileInformation::Read(const std::string& path) {
    // Non-blocking: opening a named pipe would otherwise wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct statx st {};
    const int rc = ::statx(fd, "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME, &st);
    ::close(fd);
    if (rc != 0) return std::nullopt;

    FileInformation info;
    if ((st.stx_attributes_mask & STATX_ATTR_COMPRESSED) &&
        (st.stx_attributes & STATX_ATTR_COMPRESSED))
        info.AttributeWords += " Compressed";
    if (S_ISDIR(st.stx_mode)) info.AttributeWords += " Directory";
    const std::string name = BaseName(path);
    if (!name.empty() && name.front() == '.' && name != "." && name != "..")
        info.AttributeWords += " Hidden";
    // The kernel's own answer: modes, immutable files and read-only mounts all count.
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        info.AttributeWords += " Read-Only";
    if (st.stx_mask & STATX_BTIME) info.Created = ToFileTime(st.stx_btime);
    info.LastAccess = ToFileTime(st.stx_atime);
    info.LastWrite = ToFileTime(st.stx_mtime);
    info.Size = st.stx_size;
    // The same numbers stat gives for the device (makedev) and inode.
    info.Identity = {static_cast<std::uint64_t>(makedev(st.stx_dev_major, st.stx_dev_minor)),
                     st.stx_ino};
    auto nanoseconds = [](const struct statx_timestamp& t) {
        return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
    };
    info.Version = {info.Identity, st.stx_size, nanoseconds(st.stx_mtime),
                    nanoseconds(st.stx_ctime)};
    return info;
}

std::vector<std::string> FileInformation::Lines(const TimeFormat& format) const {
    auto time = [&](FileTime t) { return format(t, !IsMidnight(t)); };
    return {
        "Attributes: " + AttributeWords,
        "Created: " + (Created ? time(*Created) : std::string("unknown")),
        "Last access: " + time(LastAccess),
        "Last write: " + time(LastWrite),
        "Size: " + std::to_string(Size),
    };
}

std::string FileInformation::IsoTime(FileTime utc, bool withTime) {
    const std::tm tm = Utc(utc);
    char buf[64];
    if (withTime)
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", tm.tm_year + 1900,
                      tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    else
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", tm.tm_year + 1900, tm.tm_mon + 1,
                      tm.tm_mday);
    return buf;
}

} // namespace velmora::fs

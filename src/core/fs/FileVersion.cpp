// File versions from stat.
#include "core/fs/FileVersion.h"

#include <sys/stat.h>

namespace velmora::fs {

namespace {

std::int64_t Nanoseconds(const timespec& t) {
    return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

} // namespace

std::optional<FileVersion> FileVersion::Of(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return FileVersion{
        {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)},
        static_cast<std::uint64_t>(st.st_size),
        Nanoseconds(st.st_mtim),
        Nanoseconds(st.st_ctim)};
}

} // namespace velmora::fs

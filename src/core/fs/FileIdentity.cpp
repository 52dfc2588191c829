// File identities from stat.
#include "core/fs/FileIdentity.h"

#include <sys/stat.h>

namespace velmora::fs {

std::optional<FileIdentity> FileIdentity::Of(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(st.st_dev),
                        static_cast<std::uint64_t>(st.st_ino)};
}

} // namespace velmora::fs

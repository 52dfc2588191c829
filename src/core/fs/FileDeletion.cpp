// Permanent deletion.
#include "core/fs/FileDeletion.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace velmora::fs {

void FileDeletion::DeletePermanently(const std::string& path) {
    if (::unlink(path.c_str()) == 0) return;
    const int err = errno;
    // unlink reports a folder as EISDIR on Linux; say so plainly.
    const char* reason = err == EISDIR ? "it is a folder" : std::strerror(err);
    throw EFileDeleteError(
        platform::Format("Could not delete \"%s\": %s.", {path, std::string(reason)}));
}

} // namespace velmora::fs

// Permanent deletion.
#include "core/fs/FileDeletion.h"

#include "core/platform/FileStream.h"

#include <cerrno>
#include <unistd.h>

namespace velmora::fs {

void FileDeletion::DeletePermanently(const std::string& path) {
    if (::unlink(path.c_str()) == 0) return;
    const int err = errno;
    // unlink reports a folder as EISDIR on Linux; say so plainly.
    const std::string reason = err == EISDIR ? "it is a folder" : platform::SysErrorMessage(err);
    throw EFileDeleteError(platform::Format("Could not delete \"%s\": %s.", {path, reason}));
}

} // namespace velmora::fs

// Permanent deletion of one file, with the system's reason when it fails.
#pragma once

#include "core/platform/Error.h"

#include <string>

namespace velmora::fs {

class EFileDeleteError : public platform::Exception {
public:
    using platform::Exception::Exception;
};

class FileDeletion {
public:
    // Unlinks path (a file or a link, never a folder tree). Raises EFileDeleteError with
    // "Could not delete \"%s\": %s." (the path and the system's reason) when it fails.
    static void DeletePermanently(const std::string& path);
};

} // namespace velmora::fs

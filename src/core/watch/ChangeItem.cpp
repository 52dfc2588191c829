// Watched-directory item: path validation and index lookup.
#include "core/watch/ChangeItem.h"

#include "core/platform/Error.h"
#include "core/watch/ChangeItems.h"

#include <sys/stat.h>

namespace velmora::watch {

bool DirectoryExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void ChangeItem::SetDirectory(const std::string& path) {
    if (!DirectoryExists(path))
        throw platform::EComponentError(platform::Format("Invalid or empty path [%s]", {path}));
    directory_ = path;
}

int ChangeItem::Index() const {
    for (int i = 0; i < owner_.Count(); ++i)
        if (&owner_[i] == this) return i;
    return -1;
}

} // namespace velmora::watch

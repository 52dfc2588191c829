// Moving files to the desktop's Trash: the user's own Trash for files on its volume, the
// volume's own Trash (".Trash/UID" or ".Trash-UID" in its top folder) for other volumes. Paths
// are bytes throughout, so a name that is not UTF-8 goes to the Trash under its own bytes.
#pragma once

#include "core/platform/Error.h"

#include <string>

namespace velmora::fs {

// Why a file did not go to the Trash. The message is the reason alone ("Permission denied",
// "it no longer exists"), to be put into a sentence naming the file.
class ETrashError : public platform::Exception {
public:
    ETrashError(const std::string& reason, bool noUsableTrash)
        : platform::Exception(reason), noUsableTrash_(noUsableTrash) {}
    // True when the file's volume has no Trash that can take it, while the file itself could
    // be deleted: only then is a permanent delete worth offering instead.
    bool NoUsableTrash() const { return noUsableTrash_; }

private:
    bool noUsableTrash_;
};

class Trash {
public:
    // The user's Trash folder: $XDG_DATA_HOME/Trash, else $HOME/.local/share/Trash.
    static std::string HomeTrashPath();

    // Moves the entry at path (a symbolic link itself, never what it points to) into the Trash
    // of its volume, with its info file, and returns where it went. Never copies, never
    // replaces anything in the Trash. Raises ETrashError when it cannot.
    static std::string MoveToTrash(const std::string& path);

    // The info file's text for an entry whose original location is location (absolute for the
    // user's Trash, relative to the top folder for a volume's), deleted at the local time
    // deletedAt (seconds since 1970).
    static std::string InfoText(const std::string& location, long long deletedAt);
};

} // namespace velmora::fs

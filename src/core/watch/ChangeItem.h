// One watched directory: its path, the change kinds that signal, the subtree flag, its event.
#pragma once

#include "core/watch/ChangeAction.h"

#include <functional>
#include <string>

namespace velmora::watch {

class ChangeItems;

class ChangeItem {
public:
    using ChangeEvent = std::function<void(ChangeItem& sender)>;

    ChangeItem(const ChangeItem&) = delete;
    ChangeItem& operator=(const ChangeItem&) = delete;

    const std::string& Directory() const { return directory_; }
    // Stores the path when it names an existing directory; otherwise raises
    // "Invalid or empty path [%s]" and keeps the old value. A running watcher is not affected.
    void SetDirectory(const std::string& path);

    TChangeActions Actions() const { return actions_; }
    void SetActions(TChangeActions actions) { actions_ = actions; }

    bool IncludeSubTrees() const { return includeSubTrees_; }
    void SetIncludeSubTrees(bool value) { includeSubTrees_ = value; }

    // Raised on the UI thread for every change reported for this item.
    ChangeEvent OnChange;

    // The item's position in its collection.
    int Index() const;

private:
    friend class ChangeItems;
    explicit ChangeItem(const ChangeItems& owner) : owner_(owner) {}

    const ChangeItems& owner_;
    std::string directory_;
    TChangeActions actions_ = DefaultChangeActions;
    bool includeSubTrees_ = false;
};

// True when the path is non-empty and names an existing directory (links followed).
bool DirectoryExists(const std::string& path);

} // namespace velmora::watch

// The rename workspace: the two name lists, the listed directory, loading and applying.
#pragma once

#include "core/platform/Questions.h"
#include "core/platform/StringList.h"
#include "core/workspace/NamesPane.h"

#include <functional>
#include <string>

namespace velmora::workspace {

// The window-side state the workspace reads and the watcher it points at the listed folder.
struct WorkspaceHost {
    std::function<std::string()> GetSelectedPath;
    std::function<std::string()> Pattern;
    std::function<bool()> ExcludeExt;
    // Points the watcher at dir and makes it active there; raises the watcher's error for a
    // path that is empty or not a directory.
    std::function<void(const std::string& dir)> WatchDirectory;
    // Called around an Apply run so that directory-change reports wait until it has ended.
    std::function<void(bool running)> RunState;
};

class Workspace {
public:
    Workspace(platform::StringList& left, NamesPane& right, platform::Questions& questions,
              platform::StatusSink& status, WorkspaceHost host);

    // Reloads both lists from the chooser's path and the pattern; asks nothing.
    void LoadFileList();
    // Renames the listed files to the new names.
    void ApplyRenames();
    // Yes, No or Cancel; No at once when nothing was edited.
    platform::ModalResult AskApplyChanges();
    // Asks and carries out the answer: false when the user cancelled. After Yes or No the edits
    // count as resolved, so a reload later in the same action does not ask again.
    bool ResolvePendingEdits();

    const std::string& ListedDirectory() const { return listedDirectory_; }
    platform::StringList& Left() { return left_; }
    NamesPane& Right() { return right_; }

private:
    platform::StringList& left_;
    NamesPane& right_;
    platform::Questions& questions_;
    platform::StatusSink& status_;
    WorkspaceHost host_;
    std::string listedDirectory_;
};

} // namespace velmora::workspace

// The rename workspace: the two name lists, the listed directory, loading and applying.
#pragma once

#include "core/platform/Questions.h"
#include "core/platform/StringList.h"
#include "core/workspace/NamesPane.h"
#include "core/workspace/RenameRecorder.h"

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
    // Holds directory-change reports (true) and lets them go again (false); holds nest. The
    // workspace holds them while it asks about pending edits and while an Apply runs, so that
    // no reload can run under an open question; the window delivers what was held once the
    // user's action has returned to the event loop.
    std::function<void(bool hold)> HoldReports;
};

class Workspace {
public:
    Workspace(platform::StringList& left, NamesPane& right, platform::Questions& questions,
              platform::StatusSink& status, WorkspaceHost host);

    // Reloads both lists from the chooser's path and the pattern; asks nothing.
    void LoadFileList();
    // Renames the listed files to the new names, re-appending extensions when the lists were
    // loaded without them.
    void ApplyRenames();
    // Yes, No or Cancel; No at once when nothing was edited. Reports wait while it asks.
    platform::ModalResult AskApplyChanges();
    // Asks and carries out the answer: false when the user cancelled. After Yes or No the edits
    // count as resolved, so a reload later in the same action does not ask again.
    bool ResolvePendingEdits();

    // Hears of every Apply (the undo journal); none by default.
    void SetRenameRecorder(RenameRecorder* recorder) { recorder_ = recorder; }

    const std::string& ListedDirectory() const { return listedDirectory_; }
    // Whether the lists were loaded without extensions, which Apply puts back.
    bool ListedWithoutExt() const { return listedWithoutExt_; }
    platform::StringList& Left() { return left_; }
    NamesPane& Right() { return right_; }

private:
    platform::StringList& left_;
    NamesPane& right_;
    platform::Questions& questions_;
    platform::StatusSink& status_;
    // Releases a hold of the host's reports when it goes, also when an error unwinds.
    class ReportHold;

    WorkspaceHost host_;
    std::string listedDirectory_;
    // Whether the right list was loaded without extensions: an Apply puts them back exactly
    // then, whatever the check box shows while the user is asked about a toggle of it.
    bool listedWithoutExt_ = false;
    RenameRecorder* recorder_ = nullptr;
};

} // namespace velmora::workspace

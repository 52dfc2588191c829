// Loading the name lists and resolving pending edits.
#include "core/workspace/Workspace.h"

#include "core/fs/DirectoryListing.h"
#include "core/fs/PathUtils.h"
#include "core/platform/Error.h"
#include "core/workspace/NameLine.h"
#include "core/workspace/RenameRun.h"

namespace velmora::workspace {

using platform::ModalResult;

class Workspace::ReportHold {
public:
    explicit ReportHold(const WorkspaceHost& host) : host_(host) {
        if (host_.HoldReports) host_.HoldReports(true);
    }
    ~ReportHold() {
        if (host_.HoldReports) host_.HoldReports(false);
    }
    ReportHold(const ReportHold&) = delete;
    ReportHold& operator=(const ReportHold&) = delete;

private:
    const WorkspaceHost& host_;
};

Workspace::Workspace(platform::StringList& left, NamesPane& right, platform::Questions& questions,
                     platform::StatusSink& status, WorkspaceHost host)
    : left_(left), right_(right), questions_(questions), status_(status), host_(std::move(host)) {}

void Workspace::LoadFileList() {
    platform::StringList& lines = right_.Lines();
    right_.BeginLoad();
    struct Close {
        Workspace& w;
        platform::StringList& lines;
        bool updating = false;
        ~Close() {
            if (updating) {
                w.left_.EndUpdate();
                lines.EndUpdate();
            }
            w.right_.EndLoad();
            w.right_.SetModified(false);
        }
    } close{*this, lines};
    lines.Clear();
    lines.BeginUpdate();
    left_.BeginUpdate();
    close.updating = true;

    left_.Clear();
    const std::string path = host_.GetSelectedPath ? host_.GetSelectedPath() : std::string();
    if (host_.WatchDirectory)
        host_.WatchDirectory(path);
    else if (!fs::DirectoryExists(path))
        throw platform::EComponentError(platform::Format("Invalid or empty path [%s]", {path}));

    listedDirectory_ = fs::IncludeTrailingPathDelimiter(path);
    const bool excludeExt = host_.ExcludeExt && host_.ExcludeExt();
    listedWithoutExt_ = excludeExt;
    const std::string pattern = host_.Pattern ? host_.Pattern() : std::string("*.*");
    fs::ListMatchingFiles(listedDirectory_, pattern, [&](const std::string& name) {
        left_.Add(name);
        lines.Add(NameLine::Of(name, excludeExt));
    });
}

void Workspace::ApplyRenames() {
    RenameRun run(questions_, status_);
    run.SetRecorder(recorder_);
    // A change report must not reload the lists under the run's questions.
    ReportHold hold(host_);
    run.ApplyRenames(left_, right_.Lines(), listedDirectory_, listedWithoutExt_);
}

ModalResult Workspace::AskApplyChanges() {
    if (!right_.Modified()) return ModalResult::mrNo;
    // A reload while the question is open would replace the lists and the edits it asks about.
    ReportHold hold(host_);
    ModalResult r =
        questions_.Ask(platform::MsgIcon::Question, "Would you like to apply the changes?",
                       platform::mbYes | platform::mbNo | platform::mbCancel);
    if (r != ModalResult::mrYes && r != ModalResult::mrNo) return ModalResult::mrCancel;
    return r;
}

bool Workspace::ResolvePendingEdits() {
    ModalResult r = AskApplyChanges();
    if (r == ModalResult::mrCancel) return false;
    if (r == ModalResult::mrYes) ApplyRenames();
    right_.SetModified(false);
    return true;
}

} // namespace velmora::workspace

// One Apply run.
#include "core/workspace/RenameRun.h"

#include "core/fs/SafeRename.h"
#include "core/platform/Error.h"
#include "core/workspace/NameLine.h"

#include <cerrno>
#include <optional>

namespace velmora::workspace {

using platform::ModalResult;

namespace {
const char* const kCountMismatch =
    "Error. The number of lines on the left must exactly match the number of lines on the right!";

// A path ending in "/" (an empty line) names the folder, never a file, and the system would
// read a path holding a NUL only up to it, renaming the file to a name nobody wrote.
bool NamesAFile(const std::string& path) {
    return !path.empty() && path.back() != '/' && path.find('\0') == std::string::npos;
}
} // namespace

RenameRun::Step RenameRun::Conflict(const std::string& newPath) {
    if (skipAll_) return Step::Skip;
    ModalResult r = questions_.Ask(
        platform::MsgIcon::Error,
        platform::Format("A file named \"%s\" already exists.\nSkip this file?", {newPath}),
        platform::mbYes | platform::mbCancel | platform::mbYesToAll);
    if (r == ModalResult::mrYesToAll) {
        skipAll_ = true;
        return Step::Skip;
    }
    if (r == ModalResult::mrYes) return Step::Skip;
    return Step::Stop;
}

RenameRun::Step RenameRun::MovedAside(const std::string& oldPath, const std::string& newPath,
                                      const std::string& movedTo) {
    // Asked even after Yes to All: the user would not find the file otherwise. No Retry: the
    // old name may be another file's now.
    std::string text = platform::Format(
        "Failed to rename \"%s\" to \"%s\".\nThe file could not get its old name back and is "
        "now named \"%s\".",
        {oldPath, newPath, movedTo});
    if (movedTo.compare(movedTo.find_last_of('/') + 1, 1, ".") == 0)
        text += " The list does not show names beginning with \".\".";
    text += "\nIgnore this error?";
    ModalResult r = questions_.Ask(platform::MsgIcon::Error, text,
                                   platform::mbYes | platform::mbCancel | platform::mbYesToAll);
    if (r == ModalResult::mrYesToAll) {
        ignoreAll_ = true;
        return Step::Progress;
    }
    return r == ModalResult::mrYes ? Step::Progress : Step::Stop;
}

RenameRun::Step RenameRun::RenameOne(const std::string& oldPath, const std::string& newPath) {
    for (;;) {
        fs::RenameResult res;
        if (!NamesAFile(newPath))
            res = {fs::RenameStatus::Failed, EINVAL};
        else
            res = fs::RenameNoReplace(oldPath, newPath);
        if (res.status == fs::RenameStatus::Ok) {
            ++renamed_;
            return Step::Progress;
        }
        if (!res.movedTo.empty()) return MovedAside(oldPath, newPath, res.movedTo);
        // Someone created the target after the check: still never overwritten.
        if (res.status == fs::RenameStatus::Exists) return Conflict(newPath);
        if (ignoreAll_) return Step::Progress;
        ModalResult r = questions_.Ask(
            platform::MsgIcon::Error,
            platform::Format("Failed to rename \"%s\" to \"%s\".\nIgnore this error?",
                             {oldPath, newPath}),
            platform::mbYes | platform::mbCancel | platform::mbRetry | platform::mbYesToAll);
        switch (r) {
        case ModalResult::mrRetry:
            continue;
        case ModalResult::mrYes:
            return Step::Progress;
        case ModalResult::mrYesToAll:
            ignoreAll_ = true;
            return Step::Progress;
        default:
            return Step::Stop;
        }
    }
}

RenameRun::Step RenameRun::Move(const std::string& oldPath, const std::string& newPath) {
    if (NamesAFile(newPath) && fs::TargetConflicts(oldPath, newPath)) return Conflict(newPath);
    return RenameOne(oldPath, newPath);
}

void RenameRun::ApplyRenames(const platform::StringList& left, const platform::StringList& right,
                             const std::string& listedDirectory, bool excludeExt) {
    const int n = left.Count();
    // An emptied pane keeps no line in its store, yet it shows one empty line, and one empty
    // line is one line: with one listed file it gets the empty-name failure, not a mismatch.
    const bool emptied = right.Count() == 0 && n > 0;
    if ((emptied ? 1 : right.Count()) != n) throw platform::Exception(kCountMismatch);
    skipAll_ = ignoreAll_ = false;
    renamed_ = 0;

    // The new name of line i, false when the line leaves its file alone.
    auto newNameOf = [&](int i, const std::string& oldName, std::string& newName) {
        const std::string line = emptied ? std::string() : right.Get(i);
        // A line as it was listed stays; it differs from the name itself only where the name
        // holds a line break, and then the file must not be renamed to the symbols shown for it.
        std::optional<std::string> name = NameLine::NewName(oldName, line, excludeExt);
        if (!name) return false;
        newName = std::move(*name);
        return true;
    };
    std::string newName;
    if (recorder_) {
        std::vector<RenameRecorder::Planned> plan;
        for (int i = 0; i < n; ++i) {
            std::string oldName = left.Get(i);
            if (newNameOf(i, oldName, newName)) plan.push_back({std::move(oldName), newName});
        }
        recorder_->Begin(listedDirectory, plan);
    }
    struct EndRecord {
        RenameRecorder* recorder;
        const int& renamed;
        ~EndRecord() {
            if (recorder) recorder->End(renamed);
        }
    } endRecord{recorder_, renamed_};

    std::string oldPath, newPath, progress;
    for (int i = 0; i < n; ++i) {
        const std::string oldName = left.Get(i);
        if (!newNameOf(i, oldName, newName)) continue;
        oldPath.assign(listedDirectory).append(oldName);
        newPath.assign(listedDirectory).append(newName);

        Step s = Move(oldPath, newPath);
        if (s == Step::Stop) return;
        if (s == Step::Skip) continue;

        progress.assign(std::to_string(static_cast<long long>(i) * 100 / n));
        progress.append("%: ").append(oldPath).append(" -> ").append(newPath);
        status_.SetStatusText(progress);
    }
}

} // namespace velmora::workspace

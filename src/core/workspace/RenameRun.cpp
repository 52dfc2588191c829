// One Apply run.
#include "core/workspace/RenameRun.h"

#include "core/fs/PathUtils.h"
#include "core/fs/SafeRename.h"
#include "core/platform/Error.h"
#include "core/workspace/NameLine.h"

#include <cerrno>

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

void RenameRun::ApplyRenames(const platform::StringList& left, const platform::StringList& right,
                             const std::string& listedDirectory, bool excludeExt) {
    const int n = left.Count();
    // An emptied pane keeps no line in its store, yet it shows one empty line, and one empty
    // line is one line: with one listed file it gets the empty-name failure, not a mismatch.
    const bool emptied = right.Count() == 0 && n > 0;
    if ((emptied ? 1 : right.Count()) != n) throw platform::Exception(kCountMismatch);
    skipAll_ = ignoreAll_ = false;
    renamed_ = 0;

    std::string oldPath, newPath, progress;
    for (int i = 0; i < n; ++i) {
        const std::string oldName = left.Get(i);
        const std::string line = emptied ? std::string() : right.Get(i);
        // A line as it was listed stays, also where the name itself holds a picture character.
        if (line == NameLine::Of(oldName, excludeExt)) continue;
        // An edited line: the pictures shown for tabs and line breaks are those characters.
        const std::string name = NameLine::FileName(line);
        oldPath.assign(listedDirectory).append(oldName);
        newPath.assign(listedDirectory).append(name);
        // An empty name stays empty with the extension left out, and fails as it does with the
        // extension shown: put back, the extension alone would make a hidden file that is
        // never listed again.
        if (excludeExt && !name.empty() && name.back() != '/')
            newPath += fs::ExtractFileExt(oldName);
        if (newPath == oldPath) continue;

        const bool nameable = NamesAFile(newPath);
        if (nameable && fs::TargetConflicts(oldPath, newPath)) {
            if (Conflict(newPath) == Step::Stop) return;
            continue;
        }
        Step s = RenameOne(oldPath, newPath);
        if (s == Step::Stop) return;
        if (s == Step::Skip) continue;

        progress.assign(std::to_string(static_cast<long long>(i) * 100 / n));
        progress.append("%: ").append(oldPath).append(" -> ").append(newPath);
        status_.SetStatusText(progress);
    }
}

} // namespace velmora::workspace

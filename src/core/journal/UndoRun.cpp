// Undo of one run.
#include "core/journal/UndoRun.h"

#include "core/workspace/RenameRun.h"

#include <dirent.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::journal {

namespace {

bool Is(const std::string& path, const JournalEntry& e) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && static_cast<std::uint64_t>(st.st_dev) == e.device &&
           static_cast<std::uint64_t>(st.st_ino) == e.inode;
}

// Whether the folder lists an entry spelt exactly name (the last component of path). On a
// file system that ignores case both spellings find the file, only the listing tells which
// one it has.
bool ListedExactly(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const std::string dir = path.substr(0, slash + 1);
    const std::string_view name = std::string_view(path).substr(slash + 1);
    DIR* d = ::opendir(dir.c_str());
    if (!d) return false;
    bool found = false;
    while (const dirent* e = ::readdir(d))
        if (name == e->d_name) {
            found = true;
            break;
        }
    ::closedir(d);
    return found;
}

} // namespace

UndoRun::Where UndoRun::Locate(const std::string& folder, const JournalEntry& entry) {
    // A file that could not be identified when the plan was written is never touched.
    if (entry.device == 0 && entry.inode == 0) return Where::AtOld;
    const std::string oldPath = folder + entry.oldName;
    const std::string newPath = folder + entry.newName;
    const bool atNew = Is(newPath, entry);
    const bool atOld = Is(oldPath, entry);
    if (atNew && atOld) {
        // One file under two names: a change of letter case on a case-insensitive folder, or a
        // hard link left by a two-step move that was cut short.
        struct stat so {
        }, sn{};
        ::lstat(oldPath.c_str(), &so);
        ::lstat(newPath.c_str(), &sn);
        if (so.st_nlink >= 2 && ListedExactly(oldPath) && ListedExactly(newPath))
            return Where::AtBoth;
        return ListedExactly(newPath) && !ListedExactly(oldPath) ? Where::AtNew : Where::AtOld;
    }
    if (atNew) return Where::AtNew;
    if (atOld) return Where::AtOld;
    return Where::Elsewhere;
}

int UndoRun::CountRenamed(const JournalPlan& plan) {
    int n = 0;
    for (const JournalEntry& e : plan.entries) {
        const Where w = Locate(plan.folder, e);
        if (w == Where::AtNew || w == Where::AtBoth) ++n;
    }
    return n;
}

UndoRun::Outcome UndoRun::Run(const JournalPlan& plan) {
    Outcome out;
    workspace::RenameRun run(questions_, status_);
    const auto n = static_cast<long long>(plan.entries.size());
    std::string oldPath, newPath, progress;
    for (long long k = n - 1; k >= 0; --k) {
        const JournalEntry& e = plan.entries[static_cast<std::size_t>(k)];
        const Where where = Locate(plan.folder, e);
        if (where == Where::AtOld) continue;
        if (where == Where::Elsewhere) {
            out.skipped.push_back(e.newName);
            continue;
        }
        oldPath.assign(plan.folder).append(e.oldName);
        newPath.assign(plan.folder).append(e.newName);
        if (where == Where::AtBoth) {
            // The old name holds the file already; the second link goes.
            if (::unlink(newPath.c_str()) == 0)
                ++out.renamedBack;
            else
                out.skipped.push_back(e.newName);
        } else {
            const int before = run.RenamedCount();
            const workspace::RenameRun::Step s = run.Move(newPath, oldPath);
            if (s == workspace::RenameRun::Step::Stop) {
                out.cancelled = true;
                break;
            }
            if (run.RenamedCount() == before) {
                out.skipped.push_back(e.newName);
                continue;
            }
            ++out.renamedBack;
        }
        progress.assign(std::to_string((n - 1 - k) * 100 / n));
        progress.append("%: ").append(newPath).append(" -> ").append(oldPath);
        status_.SetStatusText(progress);
    }
    return out;
}

} // namespace velmora::journal

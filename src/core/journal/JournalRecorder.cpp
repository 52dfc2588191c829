// The plan of an Apply into the journal.
#include "core/journal/JournalRecorder.h"

#include "core/platform/Error.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::journal {

void JournalRecorder::Begin(const std::string& folder, const std::vector<Planned>& plan) {
    open_.reset();
    lastPath_.clear();
    if (plan.empty()) return; // nothing will be renamed, nothing to undo
    JournalPlan journal;
    journal.folder = folder;
    journal.entries.reserve(plan.size());
    // The names are looked up relative to the folder: one path walk for the folder, not one per
    // file.
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (const Planned& p : plan) {
        JournalEntry e;
        struct stat st {};
        if (dirFd >= 0 && ::fstatat(dirFd, p.oldName.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
            e.device = static_cast<std::uint64_t>(st.st_dev);
            e.inode = static_cast<std::uint64_t>(st.st_ino);
        }
        e.oldName = p.oldName;
        e.newName = p.newName;
        journal.entries.push_back(std::move(e));
    }
    if (dirFd >= 0) ::close(dirFd);
    try {
        open_ = store_.Begin(journal);
        lastPath_ = open_->Path();
    } catch (const platform::Exception& e) {
        const platform::ModalResult r = questions_.Ask(
            platform::MsgIcon::Warning,
            platform::Format("The rename journal could not be written (%s), so this renaming "
                             "could not be undone.\nRename anyway?",
                             {e.Message()}),
            platform::mbYes | platform::mbNo);
        if (r != platform::ModalResult::mrYes) throw platform::EAbort();
    }
}

void JournalRecorder::End(int renamed) noexcept {
    if (!open_) return;
    try {
        open_->End(static_cast<std::uint64_t>(renamed < 0 ? 0 : renamed));
    } catch (const platform::Exception&) {
        // Without its end marker the run is offered for recovery at the next start, which
        // decides from the disk: nothing is lost.
    }
    open_.reset();
}

} // namespace velmora::journal

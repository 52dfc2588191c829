// The plan of an Apply into the journal.
#include "core/journal/JournalRecorder.h"

#include "core/platform/Error.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace velmora::journal {

namespace {

// Below this many files a stat per file is cheaper than reading the whole folder.
constexpr std::size_t kListingFrom = 256;

// Local file systems whose folder listing carries the inode number stat reports, and whose
// files share their folder's device.
bool ListingGivesIdentities(int dirFd) {
    struct statfs sf {};
    if (::fstatfs(dirFd, &sf) != 0) return false;
    switch (static_cast<unsigned long>(sf.f_type)) {
    case EXT4_SUPER_MAGIC: // ext2 and ext3 too
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
    case F2FS_SUPER_MAGIC:
    case TMPFS_MAGIC:
        return true;
    default:
        return false;
    }
}

// Every entry's inode number from one read of the folder. A stat per file costs microseconds
// each, and a large Apply would pay for them before its first rename. The names are kept in one
// buffer, the map points into it.
class FolderInodes {
public:
    explicit FolderInodes(int dirFd) {
        const int fd = ::dup(dirFd);
        if (fd < 0) return;
        DIR* d = ::fdopendir(fd);
        if (!d) {
            ::close(fd);
            return;
        }
        ::rewinddir(d);
        std::vector<std::pair<std::size_t, std::uint64_t>> at; // name offset, inode
        while (const dirent* e = ::readdir(d)) {
            at.emplace_back(names_.size(), static_cast<std::uint64_t>(e->d_ino));
            names_.append(e->d_name).push_back('\0');
        }
        ::closedir(d);
        inodes_.reserve(at.size());
        for (const auto& [offset, inode] : at)
            inodes_.emplace(std::string_view(names_.data() + offset), inode);
    }
    const std::uint64_t* Find(const std::string& name) const {
        const auto it = inodes_.find(name);
        return it == inodes_.end() ? nullptr : &it->second;
    }

private:
    std::string names_;
    std::unordered_map<std::string_view, std::uint64_t> inodes_;
};

} // namespace

void JournalRecorder::Begin(const std::string& folder, const std::vector<Planned>& plan) {
    open_.reset();
    lastPath_.clear();
    if (plan.empty()) return; // nothing will be renamed, nothing to undo
    // The names are looked up relative to the folder: one path walk for the folder, not one per
    // file.
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    std::optional<FolderInodes> listed;
    struct stat dirSt {};
    if (dirFd >= 0 && plan.size() >= kListingFrom && ::fstat(dirFd, &dirSt) == 0 &&
        ListingGivesIdentities(dirFd)) {
        listed.emplace(dirFd);
        // One file checked against stat: anything unexpected and every file is stat'ed.
        struct stat st {};
        const std::uint64_t* first = listed->Find(plan.front().oldName);
        if (!first ||
            ::fstatat(dirFd, plan.front().oldName.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 ||
            st.st_dev != dirSt.st_dev || static_cast<std::uint64_t>(st.st_ino) != *first)
            listed.reset();
    }
    std::size_t namesSize = 0;
    for (const Planned& p : plan)
        namesSize += p.oldName.size() + p.newName.size();
    std::string bytes;
    JournalFormat::PlanEncoder encoder(bytes, folder, plan.size(), namesSize);
    for (const Planned& p : plan) {
        std::uint64_t device = 0, inode = 0;
        struct stat st {};
        if (const std::uint64_t* found = listed ? listed->Find(p.oldName) : nullptr) {
            device = static_cast<std::uint64_t>(dirSt.st_dev);
            inode = *found;
        } else if (dirFd >= 0 &&
                   ::fstatat(dirFd, p.oldName.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
            device = static_cast<std::uint64_t>(st.st_dev);
            inode = static_cast<std::uint64_t>(st.st_ino);
        }
        encoder.Add(device, inode, p.oldName, p.newName);
    }
    encoder.Finish();
    if (dirFd >= 0) ::close(dirFd);
    try {
        open_ = store_.BeginEncoded(bytes);
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

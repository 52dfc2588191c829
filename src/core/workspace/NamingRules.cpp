// Naming rules of a folder's volume.
#include "core/workspace/NamingRules.h"

#include "core/fs/MountTable.h"
#include "core/platform/CaseMap.h"
#include "core/platform/Utf8.h"

#include <array>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#ifndef FS_CASEFOLD_FL
#define FS_CASEFOLD_FL 0x40000000
#endif

namespace velmora::workspace {

namespace {

constexpr std::size_t kMaxNameBytes = 255;

bool CaseFoldedFolder(const std::string& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    long flags = 0;
    const bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    ::close(fd);
    return ok && (flags & FS_CASEFOLD_FL) != 0;
}

} // namespace

NamingRules NamingRules::ForType(std::string_view fsType) {
    // FUSE drivers show as "fuse.<name>", or as plain "fuseblk" for a block device: on a
    // desktop that is an NTFS or exFAT stick.
    if (fsType.starts_with("fuse.")) fsType.remove_prefix(5);
    static constexpr std::array<std::string_view, 11> kWindowsTypes = {
        "vfat",  "msdos",   "fat",     "exfat",   "exfat-fuse", "ntfs",
        "ntfs3", "ntfs-3g", "fuseblk", "fusefat", "umsdos"};
    for (const std::string_view t : kWindowsTypes)
        if (fsType == t) return {true, true};
    return {};
}

NamingRules NamingRules::ForFolder(const std::string& dir) {
    NamingRules rules;
    struct stat st {};
    if (::stat(dir.c_str(), &st) == 0) {
        const std::string device =
            std::to_string(major(st.st_dev)) + ":" + std::to_string(minor(st.st_dev));
        // A device mounted twice has one file system: the last entry holds as well as any.
        for (const fs::MountEntry& e : fs::ParseMountInfo(fs::ReadMountInfo()))
            if (e.device == device) rules = ForType(e.fsType);
    }
    if (!rules.ignoreCase_ && CaseFoldedFolder(dir)) rules.ignoreCase_ = true;
    return rules;
}

std::string NamingRules::Key(std::string name) const {
    if (!ignoreCase_) return name;
    bool ascii = true;
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
        else if (static_cast<unsigned char>(c) >= 0x80)
            ascii = false;
    }
    if (ascii) return name;
    return platform::EncodeUtf8(platform::ToLower(platform::DecodeUtf8(name)));
}

NameRefusal NamingRules::Check(std::string_view name) const {
    if (name.empty()) return {NameFault::Empty};
    if (name == "." || name == "..") return {NameFault::DotName};
    if (name.find('/') != std::string_view::npos) return {NameFault::Slash};
    if (name.size() > kMaxNameBytes) return {NameFault::TooLong};
    if (!fatNames_) return {};
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20) return {NameFault::ControlChar};
        if (FatRefuses(byte)) return {NameFault::RefusedChar, c};
    }
    if (name.back() == '.') return {NameFault::TrailingDot};
    if (name.back() == ' ') return {NameFault::TrailingBlank};
    return {};
}

} // namespace velmora::workspace

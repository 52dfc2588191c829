// How the file system of a folder treats names: whether it tells letter case apart and which
// names it refuses.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::workspace {

// Why a name cannot be given to a file.
enum class NameFault : std::uint8_t {
    None,
    Empty,         // no name at all
    DotName,       // "." or ".."
    Slash,         // would move the file into another folder
    TooLong,       // more than 255 bytes
    RefusedChar,   // one of \ : * ? " < > | on the FAT family
    ControlChar,   // below U+0020 on the FAT family
    TrailingDot,   // FAT family
    TrailingBlank, // FAT family
};

struct NameRefusal {
    NameFault fault = NameFault::None;
    char refused = 0; // the character, for RefusedChar
};

class NamingRules {
public:
    NamingRules() = default;
    NamingRules(bool ignoreCase, bool fatNames) : ignoreCase_(ignoreCase), fatNames_(fatNames) {}

    // The rules of a file system type as the mount table names it ("ext4", "vfat", "exfat",
    // "ntfs3", "fuseblk", "fuse.exfat"). Volumes of the FAT family and NTFS compare names
    // without regard to case and refuse what Windows refuses.
    static NamingRules ForType(std::string_view fsType);
    // The rules of the volume that holds dir, found through its device in the mount table; a
    // folder marked case-insensitive (ext4 casefold) compares without regard to case too.
    static NamingRules ForFolder(const std::string& dir);

    bool IgnoreCase() const { return ignoreCase_; }
    bool FatNames() const { return fatNames_; }

    // The form under which the file system compares name: the name itself, or its letters in
    // one case (Unicode simple mapping) where case is ignored.
    std::string Key(std::string name) const;
    // Whether a volume of the FAT family refuses the character anywhere in a name.
    static bool FatRefuses(char32_t c) {
        return c < 0x20 || c == U'\\' || c == U':' || c == U'*' || c == U'?' || c == U'"' ||
               c == U'<' || c == U'>' || c == U'|';
    }
    // What this volume refuses in a final name.
    NameRefusal Check(std::string_view name) const;

private:
    bool ignoreCase_ = false;
    bool fatNames_ = false;
};

} // namespace velmora::workspace

// A file's attributes, times and size, as the information pane shows them.
#pragma once

#include "core/fs/FileIdentity.h"
#include "core/fs/FileVersion.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmora::fs {

// A time stamp as the file system stores it: seconds since 1970-01-01 00:00 UTC.
struct FileTime {
    std::int64_t Seconds = 0;
    std::uint32_t Nanoseconds = 0;
};

class FileInformation {
public:
    // Writes a UTC time; withTime is false when the time is exactly midnight.
    using TimeFormat = std::function<std::string(FileTime utc, bool withTime)>;

    // Opens the file for reading (without waiting on a pipe or device) and examines it. Nothing
    // when it cannot be opened or examined.
    static std::optional<FileInformation> Read(const std::string& path);

    // The attribute words, each with a leading blank: " Compressed" (the file system's flag),
    // " Directory", " Hidden" (a name beginning with "."), " Read-Only" (the user may not write).
    std::string AttributeWords;
    std::optional<FileTime> Created; // the birth time, where the file system records one
    FileTime LastAccess;
    FileTime LastWrite;
    std::uint64_t Size = 0;
    FileIdentity Identity; // the file examined, whatever its name becomes later
    FileVersion Version;   // its identity, size and times as examined

    // "Attributes: ...", "Created: ...", "Last access: ...", "Last write: ...", "Size: ...".
    std::vector<std::string> Lines(const TimeFormat& format = &IsoTime) const;

    // "2024-05-01 13:45:07", or "2024-05-01" without the time.
    static std::string IsoTime(FileTime utc, bool withTime);
};

} // namespace velmora::fs

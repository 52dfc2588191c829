// Everything the information pane shows for one file, read in one go so that it can be read
// away from the user-interface thread.
#pragma once

#include "core/fs/FileInformation.h"
#include "core/tags/id3v1/Id3v1.h"
#include "core/tags/id3v2/Id3v2.h"

#include <memory>
#include <optional>
#include <string>

namespace velmora::workspace {

struct FileDetails {
    std::string Path;
    // Nothing when the file could not be opened or examined; the tags are then not read.
    std::optional<fs::FileInformation> Information;
    // Nothing when the trailer could not be read.
    std::optional<tags::Id3v1> Id3v1;
    // Null when the ID3v2 read failed; Id3v2Error then holds the failure's message.
    std::shared_ptr<tags::Id3v2> Id3v2;
    std::string Id3v2Error;

    static FileDetails Read(const std::string& path);
};

} // namespace velmora::workspace

// Reading a file's information and tags.
#include "core/workspace/FileDetails.h"

#include <exception>

namespace velmora::workspace {

FileDetails FileDetails::Read(const std::string& path) {
    FileDetails d;
    d.Path = path;
    d.Information = fs::FileInformation::Read(path);
    if (!d.Information) return d;
    tags::Id3v1 v1;
    if (v1.ReadTag(path)) d.Id3v1 = v1;
    try {
        auto v2 = std::make_shared<tags::Id3v2>();
        v2->SetFileName(path);
        d.Id3v2 = std::move(v2);
    } catch (const std::exception& e) {
        d.Id3v2Error = e.what();
    }
    return d;
}

} // namespace velmora::workspace

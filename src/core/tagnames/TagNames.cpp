// Building the names pane's lines from tags.
#include "core/tagnames/TagNames.h"

#include "core/fs/PathUtils.h"
#include "core/workspace/NameLine.h"

namespace velmora::tagnames {

std::string TagNames::Line(const NameFormat& format, const TrackTags& tags,
                           std::string_view fileName, bool excludeExt,
                           const TagNameOptions& options) {
    const std::string ext = fs::ExtractFileExt(fileName);
    const std::string oldStem = fs::ChangeFileExtEmpty(fileName);
    const auto name = format.Expand(tags, oldStem, options.missing);
    std::string stem = name ? SafeName::Stem(*name, options.rules, ext.size()) : std::string();
    if (stem.empty()) return workspace::NameLine::Of(fileName, excludeExt);
    return excludeExt ? stem : stem + ext;
}

std::string TagNames::SafeLine(std::string_view line, std::string_view fileName, bool excludeExt,
                               const SafeNameRules& rules) {
    const std::string ext = excludeExt ? fs::ExtractFileExt(fileName) : fs::ExtractFileExt(line);
    const std::string_view stem = excludeExt ? line : line.substr(0, line.size() - ext.size());
    const std::string safe = SafeName::Stem(stem, rules, ext.size());
    if (safe.empty()) return std::string(line);
    return excludeExt ? safe : safe + ext;
}

} // namespace velmora::tagnames

// The names pane's lines made from the files' tags, and the safe-name rules applied to lines.
#pragma once

#include "core/tagnames/NameFormat.h"
#include "core/tagnames/SafeName.h"
#include "core/tagnames/TrackTags.h"

#include <string>
#include <string_view>

namespace velmora::tagnames {

struct TagNameOptions {
    NameFormat::Missing missing = NameFormat::Missing::KeepOldName;
    SafeNameRules rules;
};

class TagNames {
public:
    // The line for the file fileName (its current name) with these tags: the format's name made
    // safe, with the file's own extension unless the pane shows names without extensions. A
    // file kept under its old name (a missing field, or a name that comes out empty) gets the
    // line the pane shows for it untouched, so Apply leaves it alone.
    static std::string Line(const NameFormat& format, const TrackTags& tags,
                            std::string_view fileName, bool excludeExt,
                            const TagNameOptions& options);

    // A names-pane line with the character rules applied. Its extension is the line's own, or
    // with excludeExt fileName's, which Apply puts back; it counts against the 255 bytes.
    static std::string SafeLine(std::string_view line, std::string_view fileName, bool excludeExt,
                                const SafeNameRules& rules);
};

} // namespace velmora::tagnames

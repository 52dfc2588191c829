// What the workspace needs of the new-names pane: its lines and its modified flag.
#pragma once

#include "core/platform/StringList.h"

namespace velmora::workspace {

class NamesPane {
public:
    virtual ~NamesPane() = default;
    virtual platform::StringList& Lines() = 0;
    virtual bool Modified() const = 0;
    virtual void SetModified(bool modified) = 0;
};

} // namespace velmora::workspace

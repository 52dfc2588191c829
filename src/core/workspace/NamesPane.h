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
    // Around a reload of the whole list. An editor shows the new list once, at its start, and
    // forgets the edits of the old one: undoing them in the new list would change other names.
    virtual void BeginLoad() {}
    virtual void EndLoad() {}
};

} // namespace velmora::workspace

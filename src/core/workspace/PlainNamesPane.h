// A names pane on a plain string list, for headless runs (command-line tools, tests, benchmarks).
#pragma once

#include "core/workspace/NamesPane.h"

namespace velmora::workspace {

class PlainNamesPane : public NamesPane {
public:
    platform::StringList& Lines() override { return lines_; }
    bool Modified() const override { return modified_; }
    void SetModified(bool modified) override { modified_ = modified; }

private:
    platform::StringList lines_;
    bool modified_ = false;
};

} // namespace velmora::workspace

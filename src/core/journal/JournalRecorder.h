// Journals every Apply: the plan with each file's identity, durable before the first rename,
// and the end marker when the run ends.
#pragma once

#include "core/journal/JournalStore.h"
#include "core/platform/Questions.h"
#include "core/workspace/RenameRecorder.h"

#include <memory>

namespace velmora::journal {

class JournalRecorder : public workspace::RenameRecorder {
public:
    JournalRecorder(JournalStore& store, platform::Questions& questions)
        : store_(store), questions_(questions) {}

    // When the journal cannot be written the user decides whether to rename without it; No
    // ends the Apply with the silent abort and nothing renamed.
    void Begin(const std::string& folder, const std::vector<Planned>& plan) override;
    void End(int renamed) noexcept override;

    // The journal of the run under way, or of the last one; empty without one.
    const std::string& LastPath() const { return lastPath_; }

private:
    JournalStore& store_;
    platform::Questions& questions_;
    std::unique_ptr<OpenJournal> open_;
    std::string lastPath_;
};

} // namespace velmora::journal

// Renames the files of one journaled Apply back, last rename first, deciding for each file from
// the disk where it is now.
#pragma once

#include "core/journal/JournalFormat.h"
#include "core/platform/Questions.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::journal {

class UndoRun {
public:
    // Where a planned file is now.
    enum class Where : std::uint8_t {
        AtNew,     // renamed by the run: to be renamed back
        AtBoth,    // the run was cut between the link and the unlink of a two-step move
        AtOld,     // never renamed (skipped, cancelled, failed) or renamed back already
        Elsewhere, // renamed again, removed or replaced since: left alone
    };
    static Where Locate(const std::string& folder, const JournalEntry& entry);

    // How many files of the plan stand at their new names now.
    static int CountRenamed(const JournalPlan& plan);

    struct Outcome {
        int renamedBack = 0;
        std::vector<std::string> skipped; // names (relative to the folder) left as they are
        bool cancelled = false;
    };

    UndoRun(platform::Questions& questions, platform::StatusSink& status)
        : questions_(questions), status_(status) {}

    // Moves each file at its new name back to its old name, with the same no-replace rename and
    // the same conflict and failure questions as an Apply.
    Outcome Run(const JournalPlan& plan);

private:
    platform::Questions& questions_;
    platform::StatusSink& status_;
};

} // namespace velmora::journal

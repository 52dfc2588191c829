// One Apply: renames line by line with the conflict and failure questions and progress text.
#pragma once

#include "core/platform/Questions.h"
#include "core/platform/StringList.h"
#include "core/workspace/RenameRecorder.h"

#include <string>

namespace velmora::workspace {

class RenameRun {
public:
    RenameRun(platform::Questions& questions, platform::StatusSink& status)
        : questions_(questions), status_(status) {}

    // Renames the file named on line i of left to line i of right inside listedDirectory (which
    // ends in "/"). excludeExt re-appends each left name's extension. Raises an error and touches
    // nothing when the line counts differ.
    void ApplyRenames(const platform::StringList& left, const platform::StringList& right,
                      const std::string& listedDirectory, bool excludeExt);

    int RenamedCount() const { return renamed_; }

    // Hears the plan before the first rename and the end of every run; none by default.
    void SetRecorder(RenameRecorder* recorder) { recorder_ = recorder; }

    // Progress: renamed or failure ignored; Skip: conflict skipped; Stop: cancelled.
    enum class Step { Progress, Skip, Stop };
    // One rename with the conflict test and the questions, the answers kept for the run. Undo
    // moves files back through it, so both ask alike and never replace anything.
    Step Move(const std::string& oldPath, const std::string& newPath);

private:
    Step Conflict(const std::string& newPath);
    Step RenameOne(const std::string& oldPath, const std::string& newPath);
    // The rename failed and the file could not keep its old name: says where it is now.
    Step MovedAside(const std::string& oldPath, const std::string& newPath,
                    const std::string& movedTo);

    platform::Questions& questions_;
    platform::StatusSink& status_;
    bool skipAll_ = false;
    bool ignoreAll_ = false;
    int renamed_ = 0;
    RenameRecorder* recorder_ = nullptr;
};

} // namespace velmora::workspace

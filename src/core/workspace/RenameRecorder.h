// Hears of an Apply before its first rename and after its end, so that the run can be undone.
#pragma once

#include <string>
#include <vector>

namespace velmora::workspace {

class RenameRecorder {
public:
    // A line that the run will try to rename; names relative to the run's folder.
    struct Planned {
        std::string oldName;
        std::string newName;
    };

    virtual ~RenameRecorder() = default;
    // Every line the run will try, in order, before the first rename. Raising stops the run
    // with nothing renamed.
    virtual void Begin(const std::string& folder, const std::vector<Planned>& plan) = 0;
    // The run has ended: after its last line, a Cancel or an error. renamed: files renamed.
    virtual void End(int renamed) noexcept = 0;
};

} // namespace velmora::workspace

// One hold over every report from outside the user's current action.
#pragma once

#include <functional>
#include <memory>
#include <vector>

namespace velmora::workspace {

// Reports from outside the user's action (the watcher's folder changes, the folder tree's
// rebuilds after folders or volumes came or went) wait while the action runs, its questions
// and dialogs included, and are delivered once it has ended. Each source keeps what it holds
// back; this counts the nested holds and tells every source when the first begins and when the
// last ends.
class HeldReports {
public:
    HeldReports() = default;
    HeldReports(const HeldReports&) = delete;
    HeldReports& operator=(const HeldReports&) = delete;

    // hold: start holding; release: deliver what was held (it may raise).
    void AddSource(std::function<void()> hold, std::function<void()> release);
    // Nestable. A source added while holding is held from then on.
    void Hold();
    // Ends one hold; the outermost lets every source go, in the order they were added. A source
    // that raises does not keep the later ones held: the first error is raised at the end.
    void Release();
    bool Holding() const { return count_ > 0; }

private:
    struct Source {
        std::function<void()> hold;
        std::function<void()> release;
    };
    std::vector<Source> sources_;
    int count_ = 0;
    // Expires with this object, which a delivered report may destroy (its window closing).
    std::shared_ptr<char> alive_ = std::make_shared<char>();
};

} // namespace velmora::workspace

// Watched-item collection: bounded add, indexed access, copying.
#include "core/watch/ChangeItems.h"

#include "core/platform/Error.h"

namespace velmora::watch {

ChangeItem& ChangeItems::Add() {
    if (Count() >= MaxItems)
        throw platform::EComponentError(
            platform::Format("Maximum of %d items allowed", {std::int64_t{MaxItems}}));
    items_.push_back(std::unique_ptr<ChangeItem>(new ChangeItem(*this)));
    return *items_.back();
}

void ChangeItems::CheckIndex(int index) const {
    if (index < 0 || index >= Count())
        throw platform::Exception(
            platform::Format("List index out of bounds (%d)", {std::int64_t{index}}));
}

ChangeItem& ChangeItems::operator[](int index) {
    CheckIndex(index);
    return *items_[static_cast<std::size_t>(index)];
}

const ChangeItem& ChangeItems::operator[](int index) const {
    CheckIndex(index);
    return *items_[static_cast<std::size_t>(index)];
}

void ChangeItems::Delete(int index) {
    CheckIndex(index);
    items_.erase(items_.begin() + index);
}

void ChangeItems::Assign(const ChangeItems& source) {
    if (&source == this) return;
    std::vector<std::unique_ptr<ChangeItem>> copy;
    for (const auto& from : source.items_) {
        auto item = std::unique_ptr<ChangeItem>(new ChangeItem(*this));
        // The source validated its paths; a folder gone since then fails at activation instead.
        item->directory_ = from->directory_;
        item->actions_ = from->actions_;
        item->includeSubTrees_ = from->includeSubTrees_;
        copy.push_back(std::move(item));
    }
    items_ = std::move(copy);
}

} // namespace velmora::watch

// The ordered collection of watched items, at most 64.
#pragma once

#include "core/watch/ChangeItem.h"

#include <memory>
#include <vector>

namespace velmora::watch {

class ChangeItems {
public:
    static constexpr int MaxItems = 64;

    ChangeItems() = default;
    ChangeItems(const ChangeItems&) = delete;
    ChangeItems& operator=(const ChangeItems&) = delete;

    // Appends an item with the defaults; raises "Maximum of %d items allowed" when full.
    ChangeItem& Add();
    int Count() const { return static_cast<int>(items_.size()); }
    ChangeItem& operator[](int index);
    const ChangeItem& operator[](int index) const;
    void Delete(int index);
    void Clear() { items_.clear(); }
    // Replaces every item by a copy of the source's directory, actions and subtree flag.
    void Assign(const ChangeItems& source);

private:
    void CheckIndex(int index) const;

    std::vector<std::unique_ptr<ChangeItem>> items_;
};

} // namespace velmora::watch

// Two parallel string lists with one selected item: the shape of TXXX, WXXX and IPLS values.
#pragma once

#include "core/platform/StringList.h"

#include <string>

namespace velmora::tags {

class Id3PairList {
public:
    int ItemCount() const { return firsts_.Count(); }
    int ItemIndex() const { return itemIndex_; }
    // Selects an item; an index outside the items empties the selected pair.
    void SetItemIndex(int index);

    // Appends a pair and selects item 0.
    void Add(const std::string& first, const std::string& second);
    // Empties both lists and the selection, so nothing of an earlier file stays visible.
    void Reset();

protected:
    const std::string& First() const { return first_; }
    const std::string& Second() const { return second_; }
    const platform::StringList& Firsts() const { return firsts_; }
    const platform::StringList& Seconds() const { return seconds_; }

private:
    platform::StringList firsts_;
    platform::StringList seconds_;
    int itemIndex_ = 0;
    std::string first_;
    std::string second_;
};

} // namespace velmora::tags

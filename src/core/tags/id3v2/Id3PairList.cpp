// Selection and growth of a pair list.
#include "core/tags/id3v2/Id3PairList.h"

namespace velmora::tags {

void Id3PairList::SetItemIndex(int index) {
    itemIndex_ = index;
    if (index >= 0 && index < ItemCount()) {
        first_ = firsts_.Get(index);
        second_ = seconds_.Get(index);
    } else {
        first_.clear();
        second_.clear();
    }
}

void Id3PairList::Add(const std::string& first, const std::string& second) {
    firsts_.Add(first);
    seconds_.Add(second);
    SetItemIndex(0);
}

void Id3PairList::Reset() {
    firsts_.Clear();
    seconds_.Clear();
    SetItemIndex(0);
}

} // namespace velmora::tags

// The allowances of one tag read.
#include "core/tags/id3v2/Id3ReadBudget.h"

#include <algorithm>

namespace velmora::tags {

namespace {
std::size_t Allowance(std::size_t tagBytes, std::size_t perTagByte, std::size_t ceiling) {
    if (tagBytes > ceiling / perTagByte) return ceiling;
    return std::min(ceiling, Id3ReadBudget::kBase + tagBytes * perTagByte);
}
} // namespace

Id3ReadBudget::Id3ReadBudget(std::size_t tagBytes)
    : kept_(Allowance(tagBytes, kKeptPerTagByte, kMaxKept)),
      inflated_(Allowance(tagBytes, kInflatedPerTagByte, kMaxInflated)) {}

bool Id3ReadBudget::Keep(std::size_t cost) {
    if (cost > kept_) return false;
    kept_ -= cost;
    return true;
}

} // namespace velmora::tags

// What one tag read may keep and inflate, so hostile tags cost memory and output in proportion
// to their size.
#pragma once

#include <cstddef>

namespace velmora::tags {

// Every frame's data is decoded within fixed capacities, but a tag can repeat frames and
// compress them: millions of empty list items from separators, or megabytes inflated from a few
// bytes. Two allowances, each a small base plus a multiple of the tag's size with a ceiling,
// bound what one read keeps in its lists and frame records, and what it inflates in total.
class Id3ReadBudget {
public:
    // Charged for each kept string besides its bytes: what a std::string itself takes.
    static constexpr std::size_t kStringCost = sizeof(void*) * 4;
    static constexpr std::size_t kBase = std::size_t{64} << 10;
    static constexpr std::size_t kKeptPerTagByte = 8;
    static constexpr std::size_t kMaxKept = std::size_t{16} << 20;
    // Ordinary compressed frames (text, pictures) inflate to a few times their size at most.
    static constexpr std::size_t kInflatedPerTagByte = 4;
    static constexpr std::size_t kMaxInflated = std::size_t{32} << 20;

    explicit Id3ReadBudget(std::size_t tagBytes = 0);

    // Spends cost when it fits; false, spending nothing, when it does not.
    bool Keep(std::size_t cost);
    bool KeepString(std::size_t bytes) { return Keep(kStringCost + bytes); }
    // How many more strings could be kept at most.
    std::size_t StringsLeft() const { return kept_ / kStringCost; }
    std::size_t KeepLeft() const { return kept_; }

    std::size_t InflateLeft() const { return inflated_; }
    void SpendInflated(std::size_t bytes) { inflated_ -= bytes < inflated_ ? bytes : inflated_; }

private:
    std::size_t kept_;
    std::size_t inflated_;
};

} // namespace velmora::tags

// The key map: an ordered list of key bindings and the editor's default layout.
#pragma once

#include "core/editor/EditKey.h"
#include "core/editor/VirtualKeys.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmora::editor {

class Keyboard {
public:
    // Number of bindings LoadDefaultLayout puts in.
    static constexpr std::size_t DefaultLayoutSize = 251;

    // Appends a single-key binding.
    void Add(std::uint16_t command, std::uint16_t key, ShiftState shift);
    // Appends a two-key binding.
    void AddSequence(std::uint16_t command, std::uint16_t key1, ShiftState shift1,
                     std::uint16_t key2, ShiftState shift2);
    void Clear() { keys_.clear(); }
    // Replaces every binding with the default layout.
    void LoadDefaultLayout();

    // The first binding whose first key and shift state match decides: its command, or
    // cmdSequenceStart when it needs a second key. 0 when nothing matches.
    std::uint16_t Lookup(std::uint16_t key, ShiftState shift) const;
    // The command of the first two-key binding matching all four fields, else 0.
    std::uint16_t LookupSequence(std::uint16_t key1, ShiftState shift1, std::uint16_t key2,
                                 ShiftState shift2) const;

    std::size_t Count() const { return keys_.size(); }
    const EditKey& operator[](std::size_t index) const { return keys_.at(index); }

private:
    std::vector<EditKey> keys_;
};

} // namespace velmora::editor

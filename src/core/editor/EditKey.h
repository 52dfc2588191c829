// One binding of the key map: a key, or a sequence of two keys, and the command it runs.
#pragma once

#include "core/editor/VirtualKeys.h"

#include <cstdint>

namespace velmora::editor {

struct EditKey {
    std::uint16_t Key1 = 0;
    std::uint16_t Key2 = 0; // 0 for a single-key binding
    ShiftState Shift1 = ssNone;
    ShiftState Shift2 = ssNone; // ignored when Key2 is 0
    std::uint16_t Command = 0;

    bool IsSequence() const { return Key2 != 0; }
    friend bool operator==(const EditKey&, const EditKey&) = default;
};

} // namespace velmora::editor

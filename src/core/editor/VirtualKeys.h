// Key codes and shift-state bits the key map works in (the Windows virtual-key numbering).
#pragma once

#include <cstdint>

namespace velmora::editor {

// The key map keeps the virtual-key numbers its bindings were written in; the widget translates
// its toolkit's keys into them.
enum VirtualKey : std::uint16_t {
    vkBackspace = 8,
    vkTab = 9,
    vkEnter = 13,
    vkShift = 16,
    vkControl = 17,
    vkAlt = 18,
    vkSpace = 32,
    vkPageUp = 33,
    vkPageDown = 34,
    vkEnd = 35,
    vkHome = 36,
    vkLeft = 37,
    vkUp = 38,
    vkRight = 39,
    vkDown = 40,
    vkInsert = 45,
    vkDelete = 46,
    vk0 = 48, // digits 0-9 are 48-57 (DigitKey)
    vkA = 65, // letters A-Z are 65-90 (LetterKey)
};

constexpr VirtualKey DigitKey(int digit) {
    return VirtualKey(vk0 + digit);
}
constexpr VirtualKey LetterKey(char upper) {
    return VirtualKey(vkA + (upper - 'A'));
}

// The three modifiers pressed on their own; they are never a stroke of a binding.
constexpr bool IsModifierKey(std::uint16_t key) {
    return key == vkShift || key == vkControl || key == vkAlt;
}

// Shift states are compared as a whole byte: Ctrl+C is not Ctrl+Shift+C.
using ShiftState = std::uint8_t;
enum ShiftFlag : ShiftState {
    ssNone = 0,
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
};

} // namespace velmora::editor

// Turns key-down and character messages into editor commands through the key map.
#pragma once

#include "core/editor/Keyboard.h"
#include "core/editor/VirtualKeys.h"

#include <cstdint>

namespace velmora::editor {

// What the key handler needs of the editor it drives.
class KeyTarget {
public:
    virtual ~KeyTarget() = default;
    // Runs one command. A typed character comes as its own code when it is U+0000..U+00FF and
    // as cmdChar beyond that; ch carries the code point in both cases and is 0 for a named
    // command.
    virtual void ExecuteCommand(std::uint16_t code, char32_t ch) = 0;
    virtual bool ReadOnly() const = 0;
    virtual bool WantTabs() const = 0;
    // Moves the keyboard focus to the next (or previous) control of the window; false when the
    // editor sits on no window.
    virtual bool MoveFocus(bool previous) = 0;
    // The editor's OnKeyDown and OnKeyPress events; a handler may change the key or character,
    // 0 meaning it has dealt with it.
    virtual void FireKeyDown(std::uint16_t& key, ShiftState shift) = 0;
    virtual void FireKeyPress(char32_t& ch) = 0;
};

// The editor's key state. The widget calls KeyDown for every key stroke and then KeyPress with
// the character the stroke produced, if any, whether or not KeyDown handled the key: the state
// decides which characters are swallowed.
class KeyHandler {
public:
    // The key map starts with the default layout.
    explicit KeyHandler(KeyTarget& target);

    // key is in-out: it becomes 0 when a command took the stroke.
    void KeyDown(std::uint16_t& key, ShiftState shift);
    void KeyPress(char32_t ch);

    Keyboard& Keys() { return keys_; }
    const Keyboard& Keys() const { return keys_; }

    bool IgnoreKeyPress() const { return ignoreKeyPress_; }
    bool WaitSecondKey() const { return waitSecondKey_; }
    std::uint16_t FirstKey() const { return firstKey_; }
    ShiftState FirstShift() const { return firstShift_; }

private:
    KeyTarget& target_;
    Keyboard keys_;
    bool ignoreKeyPress_ = false;
    bool waitSecondKey_ = false;
    std::uint16_t firstKey_ = 0;
    ShiftState firstShift_ = ssNone;
};

} // namespace velmora::editor

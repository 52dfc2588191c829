// Turns key-down and character messages into editor commands through the key map.
#include "core/editor/KeyHandler.h"

#include "core/editor/EditorCommands.h"

namespace velmora::editor {

KeyHandler::KeyHandler(KeyTarget& target) : target_(target) {
    keys_.LoadDefaultLayout();
}

void KeyHandler::KeyDown(std::uint16_t& key, ShiftState shift) {
    // Pressing Ctrl again for the second key of Ctrl+K, Ctrl+3 must not end the sequence.
    if (waitSecondKey_ && IsModifierKey(key)) return;

    // Without tabs Tab and Shift+Tab leave the editor; the Tab character that follows is not
    // typed either.
    if (key == vkTab && (shift == ssNone || shift == ssShift) &&
        (target_.ReadOnly() || !target_.WantTabs())) {
        ignoreKeyPress_ = true;
        if (target_.MoveFocus(shift == ssShift)) key = 0;
        return;
    }

    std::uint16_t code;
    if (waitSecondKey_) {
        // The second key ends the wait whatever it is; its character is never typed.
        code = keys_.LookupSequence(firstKey_, firstShift_, key, shift);
        waitSecondKey_ = false;
        ignoreKeyPress_ = true;
    } else {
        target_.FireKeyDown(key, shift);
        firstKey_ = key;
        firstShift_ = shift;
        code = keys_.Lookup(key, shift);
        if (code == cmdSequenceStart) waitSecondKey_ = true;
        // A bound key never also types its character (Enter gives one line, not two).
        ignoreKeyPress_ = code != 0;
    }

    if (code != 0 && code != cmdSequenceStart) {
        key = 0;
        target_.ExecuteCommand(code, 0);
    }
}

void KeyHandler::KeyPress(char32_t ch) {
    if (ignoreKeyPress_) {
        ignoreKeyPress_ = false;
        return;
    }
    if (target_.ReadOnly()) return;
    target_.FireKeyPress(ch);
    if (ch == 0) return;
    target_.ExecuteCommand(ch <= cmdCharLast ? std::uint16_t(ch) : std::uint16_t{cmdChar}, ch);
}

} // namespace velmora::editor

// Qt key events in the terms of the editor's key map: Windows virtual-key codes and shift states.
#pragma once

#include "core/editor/VirtualKeys.h"

#include <QString>
#include <Qt>
#include <cstdint>
#include <string>

namespace velmora::ui {

struct KeyStroke {
    std::uint16_t Key = 0; // 0: the key has no virtual-key code
    editor::ShiftState Shift = editor::ssNone;
};

// The key that carries only typed text (an input method's or a composed character).
inline constexpr std::uint16_t vkPacket = 0xE7;
// The key an input method's text arrives with.
inline constexpr std::uint16_t vkProcessKey = 0xE5;

// qtKey and modifiers as QKeyEvent reports them; scanCode is the X key code (0 when unknown),
// which names the digit keys whatever the layout makes of them with Shift.
KeyStroke TranslateKey(int qtKey, Qt::KeyboardModifiers modifiers, quint32 scanCode, bool hasText);

// The characters a key stroke types, as the desktop's character messages would deliver them:
// none while Alt is held without Ctrl (those strokes are menu keys); with Ctrl alone only a
// letter types, and it types its control character.
std::u32string TypedCharacters(const QString& text, int qtKey, Qt::KeyboardModifiers modifiers);

} // namespace velmora::ui

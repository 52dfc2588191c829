// Qt key codes to Windows virtual-key codes.
#include "ui/editor/VirtualKeyMap.h"

#include <QList>
#include <array>
#include <utility>

namespace velmora::ui {

namespace {

using editor::ShiftState;

// Keys whose virtual-key code is not their character.
constexpr std::array<std::pair<int, std::uint16_t>, 57> kKeys{{
    {Qt::Key_Backspace, editor::vkBackspace},
    {Qt::Key_Tab, editor::vkTab},
    {Qt::Key_Backtab, editor::vkTab},
    {Qt::Key_Return, editor::vkEnter},
    {Qt::Key_Enter, editor::vkEnter},
    {Qt::Key_Shift, editor::vkShift},
    {Qt::Key_Control, editor::vkControl},
    {Qt::Key_Alt, editor::vkAlt},
    {Qt::Key_Pause, 0x13},
    {Qt::Key_CapsLock, 0x14},
    {Qt::Key_Escape, 0x1B},
    {Qt::Key_Space, editor::vkSpace},
    {Qt::Key_PageUp, editor::vkPageUp},
    {Qt::Key_PageDown, editor::vkPageDown},
    {Qt::Key_End, editor::vkEnd},
    {Qt::Key_Home, editor::vkHome},
    {Qt::Key_Left, editor::vkLeft},
    {Qt::Key_Up, editor::vkUp},
    {Qt::Key_Right, editor::vkRight},
    {Qt::Key_Down, editor::vkDown},
    {Qt::Key_Print, 0x2C},
    {Qt::Key_Insert, editor::vkInsert},
    {Qt::Key_Delete, editor::vkDelete},
    {Qt::Key_Meta, 0x5B},
    {Qt::Key_Menu, 0x5D},
    {Qt::Key_NumLock, 0x90},
    {Qt::Key_ScrollLock, 0x91},
    // Punctuation keys of the US layout, plain and shifted (the OEM codes).
    {Qt::Key_Semicolon, 0xBA},
    {Qt::Key_Colon, 0xBA},
    {Qt::Key_Equal, 0xBB},
    {Qt::Key_Plus, 0xBB},
    {Qt::Key_Comma, 0xBC},
    {Qt::Key_Less, 0xBC},
    {Qt::Key_Minus, 0xBD},
    {Qt::Key_Underscore, 0xBD},
    {Qt::Key_Period, 0xBE},
    {Qt::Key_Greater, 0xBE},
    {Qt::Key_Slash, 0xBF},
    {Qt::Key_Question, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0},
    {Qt::Key_AsciiTilde, 0xC0},
    {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_BraceLeft, 0xDB},
    {Qt::Key_Backslash, 0xDC},
    {Qt::Key_Bar, 0xDC},
    {Qt::Key_BracketRight, 0xDD},
    {Qt::Key_BraceRight, 0xDD},
    {Qt::Key_Apostrophe, 0xDE},
    {Qt::Key_QuoteDbl, 0xDE},
    // The shifted digits of the US layout, for strokes that arrive without a key code.
    {Qt::Key_Exclam, editor::DigitKey(1)},
    {Qt::Key_At, editor::DigitKey(2)},
    {Qt::Key_NumberSign, editor::DigitKey(3)},
    {Qt::Key_Dollar, editor::DigitKey(4)},
    {Qt::Key_Percent, editor::DigitKey(5)},
    {Qt::Key_AsciiCircum, editor::DigitKey(6)},
    {Qt::Key_Ampersand, editor::DigitKey(7)},
    {Qt::Key_Asterisk, editor::DigitKey(8)},
}};

// X key codes 10-19 are the digit row 1..9, 0 on every PC keyboard.
constexpr quint32 kFirstDigitScanCode = 10;
constexpr quint32 kLastDigitScanCode = 19;
// The keypad's digits are keys of their own (0x60-0x69), not the digit row's.
constexpr std::uint16_t kFirstNumpadKey = 0x60;

} // namespace

KeyStroke TranslateKey(int qtKey, Qt::KeyboardModifiers modifiers, quint32 scanCode, bool hasText) {
    KeyStroke s;
    if (modifiers & Qt::ShiftModifier) s.Shift |= editor::ssShift;
    if (modifiers & Qt::AltModifier) s.Shift |= editor::ssAlt;
    if (modifiers & Qt::ControlModifier) s.Shift |= editor::ssCtrl;

    if (scanCode >= kFirstDigitScanCode && scanCode <= kLastDigitScanCode) {
        s.Key = editor::DigitKey(static_cast<int>((scanCode - kFirstDigitScanCode + 1) % 10));
        return s;
    }
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9 && (modifiers & Qt::KeypadModifier)) {
        s.Key = static_cast<std::uint16_t>(kFirstNumpadKey + (qtKey - Qt::Key_0));
    } else if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        s.Key = editor::DigitKey(qtKey - Qt::Key_0);
    } else if (qtKey == Qt::Key_ParenLeft || qtKey == Qt::Key_ParenRight) {
        s.Key = editor::DigitKey(qtKey == Qt::Key_ParenLeft ? 9 : 0);
    } else if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        s.Key = editor::LetterKey(static_cast<char>('A' + (qtKey - Qt::Key_A)));
    } else if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        s.Key = static_cast<std::uint16_t>(0x70 + (qtKey - Qt::Key_F1));
    } else {
        for (const auto& [qt, vk] : kKeys) {
            if (qt == qtKey) {
                s.Key = vk;
                return s;
            }
        }
        if (hasText) s.Key = vkPacket;
    }
    return s;
}

std::u32string TypedCharacters(const QString& text, int qtKey, Qt::KeyboardModifiers modifiers) {
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool alt = modifiers & Qt::AltModifier;
    if (alt && !ctrl) return {};
    if (ctrl && !alt) {
        if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
            return std::u32string(1, static_cast<char32_t>(qtKey - Qt::Key_A + 1));
        return {};
    }
    std::u32string out;
    for (const char32_t c : text.toUcs4())
        out += c;
    return out;
}

} // namespace velmora::ui

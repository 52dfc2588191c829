// Key strokes through the key handler: commands, sequences, swallowed characters, Tab and focus.
#include "core/editor/EditorCommands.h"
#include "core/editor/KeyHandler.h"

#include <functional>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

using namespace velmora::editor;

namespace {

constexpr ShiftState ssCtrlShift = ssCtrl | ssShift;

using Call = std::pair<std::uint16_t, char32_t>;

// Records what the handler asks of the editor.
class RecordingTarget : public KeyTarget {
public:
    void ExecuteCommand(std::uint16_t code, char32_t ch) override { calls.push_back({code, ch}); }
    bool ReadOnly() const override { return readOnly; }
    bool WantTabs() const override { return wantTabs; }
    bool MoveFocus(bool previous) override {
        focusMoves.push_back(previous);
        return onWindow;
    }
    void FireKeyDown(std::uint16_t& key, ShiftState shift) override {
        ++keyDownEvents;
        if (onKeyDown) onKeyDown(key, shift);
    }
    void FireKeyPress(char32_t& ch) override {
        ++keyPressEvents;
        if (onKeyPress) onKeyPress(ch);
    }

    bool readOnly = false, wantTabs = true, onWindow = true;
    std::function<void(std::uint16_t&, ShiftState)> onKeyDown;
    std::function<void(char32_t&)> onKeyPress;
    std::vector<Call> calls;
    std::vector<bool> focusMoves;
    int keyDownEvents = 0, keyPressEvents = 0;
};

class KeyboardHandler : public ::testing::Test {
protected:
    // One stroke as the widget delivers it: key-down, then the character it produced (if any).
    // Returns the key as KeyDown left it.
    std::uint16_t Stroke(std::uint16_t key, ShiftState shift, char32_t ch = 0) {
        handler.KeyDown(key, shift);
        if (ch != 0) handler.KeyPress(ch);
        return key;
    }
    std::vector<Call> TakeCalls() { return std::exchange(target.calls, {}); }

    RecordingTarget target;
    KeyHandler handler{target};
};

Call Cmd(std::uint16_t code) {
    return {code, 0};
}
Call Typed(char32_t ch) {
    return {ch <= 0xFF ? std::uint16_t(ch) : std::uint16_t{cmdChar}, ch};
}

} // namespace

TEST_F(KeyboardHandler, BoundKeysRunTheirCommandAndOthersTypeTheirCharacter) {
    EXPECT_EQ(Stroke(vkEnter, ssNone, U'\r'), 0);
    EXPECT_EQ(Stroke(vkBackspace, ssNone, U'\b'), 0);
    EXPECT_EQ(Stroke(vkBackspace, ssAlt, U'\b'), 0);
    EXPECT_EQ(Stroke(LetterKey('C'), ssCtrl, U'\x03'), 0);
    EXPECT_EQ(TakeCalls(),
              (std::vector<Call>{Cmd(cmdNewLine), Cmd(cmdBackspace), Cmd(cmdUndo), Cmd(cmdCopy)}));

    // Unbound keys type their character; the whole shift state decides.
    EXPECT_EQ(Stroke(LetterKey('C'), ssCtrlShift, U'\x03'), LetterKey('C'));
    EXPECT_EQ(Stroke(LetterKey('A'), ssShift, U'A'), LetterKey('A'));
    EXPECT_EQ(Stroke(LetterKey('A'), ssCtrl, U'\x01'), LetterKey('A'));
    EXPECT_EQ(TakeCalls(), (std::vector<Call>{Typed(3), Typed(U'A'), Typed(1)}));
    EXPECT_EQ(target.keyDownEvents, 7);

    // Characters beyond Latin-1 type through the same path.
    Stroke(DigitKey(1), ssNone, U'é');
    handler.KeyPress(U'中');
    handler.KeyPress(U'\U0001F3B5');
    EXPECT_EQ(TakeCalls(),
              (std::vector<Call>{{0xE9, U'é'}, {cmdChar, U'中'}, {cmdChar, U'\U0001F3B5'}}));
}

TEST_F(KeyboardHandler, SecondKeyCompletesASequenceOrCancelsItSilently) {
    const auto K = LetterKey('K'), Q = LetterKey('Q');
    struct Case {
        std::uint16_t first;
        std::uint16_t second;
        ShiftState secondShift;
        char32_t secondChar;
        std::uint16_t command; // 0: nothing runs
    };
    const Case cases[] = {
        {K, DigitKey(3), ssNone, U'3', cmdSetBookmark3},
        {K, DigitKey(3), ssCtrl, 0, cmdSetBookmark3},
        {K, DigitKey(3), ssShift, U'#', 0},
        {Q, LetterKey('R'), ssNone, U'r', cmdDocStart},
        {Q, LetterKey('R'), ssCtrl, U'\x12', 0},
        {Q, DigitKey(5), ssCtrl, 0, cmdGotoBookmark5},
        {K, LetterKey('Z'), ssNone, U'z', 0},
        {LetterKey('S'), LetterKey('Z'), ssNone, U'z', cmdInsertMacro35},
        {LetterKey('B'), LetterKey('C'), ssCtrl, U'\x03', BlockOperationCommand(2)},
        {LetterKey('O'), LetterKey('U'), ssCtrl, U'\x15', cmdToggleCase},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.first << " then " << c.second << "/" << int(c.secondShift));
        const int events = target.keyDownEvents;
        // The first key alone does nothing and is not handled, but its character is swallowed.
        EXPECT_EQ(Stroke(c.first, ssCtrl, c.first - 'A' + 1), c.first);
        EXPECT_TRUE(handler.WaitSecondKey());
        EXPECT_EQ(Stroke(c.second, c.secondShift, c.secondChar), c.command ? 0 : c.second);
        EXPECT_FALSE(handler.WaitSecondKey());
        // Only the first key reaches OnKeyDown.
        EXPECT_EQ(target.keyDownEvents, events + 1);
        EXPECT_EQ(TakeCalls(), c.command ? std::vector<Call>{Cmd(c.command)} : std::vector<Call>{});
        // The next stroke is an ordinary one again.
        Stroke(LetterKey('X'), ssNone, U'x');
        EXPECT_EQ(TakeCalls(), std::vector<Call>{Typed(U'x')});
    }
}

TEST_F(KeyboardHandler, ModifierKeysPressedOnTheirOwnDoNotEndASequence) {
    Stroke(vkControl, ssCtrl);
    Stroke(LetterKey('K'), ssCtrl, U'\x0b');
    // Ctrl released and pressed again before the digit.
    Stroke(vkControl, ssCtrl);
    Stroke(vkShift, ssCtrl | ssShift);
    EXPECT_TRUE(handler.WaitSecondKey());
    Stroke(DigitKey(3), ssCtrl);
    EXPECT_EQ(TakeCalls(), std::vector<Call>{Cmd(cmdSetBookmark3)});
    EXPECT_EQ(target.keyDownEvents, 2);
}

TEST_F(KeyboardHandler, KeyDownHandlerCanChangeOrTakeTheKey) {
    target.onKeyDown = [](std::uint16_t& key, ShiftState) {
        if (key == vkDown)
            key = vkEnter; // looked up as the changed key
        else if (key == vkUp)
            key = 0; // the form dealt with it
    };
    EXPECT_EQ(Stroke(vkDown, ssNone), 0);
    EXPECT_EQ(handler.FirstKey(), vkEnter);
    EXPECT_EQ(Stroke(vkUp, ssNone), 0);
    EXPECT_EQ(TakeCalls(), std::vector<Call>{Cmd(cmdNewLine)});

    target.onKeyDown = [](std::uint16_t& key, ShiftState) { key = LetterKey('K'); };
    constexpr std::uint16_t vkF1 = 112;
    Stroke(vkF1, ssCtrl);
    EXPECT_TRUE(handler.WaitSecondKey());
    EXPECT_EQ(handler.FirstShift(), ssCtrl);
}

TEST_F(KeyboardHandler, KeyPressHandlerCanChangeOrTakeTheCharacter) {
    target.onKeyPress = [](char32_t& ch) {
        if (ch == U'a')
            ch = U'\u0100';
        else if (ch == U'b')
            ch = 0;
    };
    Stroke(LetterKey('A'), ssNone, U'a');
    Stroke(LetterKey('B'), ssNone, U'b');
    EXPECT_EQ(TakeCalls(), std::vector<Call>{Typed(U'\u0100')});
    EXPECT_EQ(target.keyPressEvents, 2);
}

TEST_F(KeyboardHandler, SwallowedCharacterIsTheNextOneAfterABoundKey) {
    // An arrow key produces no character; a character arriving without a key-down of its own
    // is still swallowed once.
    Stroke(vkLeft, ssNone);
    EXPECT_TRUE(handler.IgnoreKeyPress());
    handler.KeyPress(U'x');
    handler.KeyPress(U'y');
    EXPECT_EQ(TakeCalls(), (std::vector<Call>{Cmd(cmdLeft), Typed(U'y')}));
    EXPECT_EQ(target.keyPressEvents, 1);

    // The next key-down recomputes the state.
    Stroke(vkLeft, ssNone);
    Stroke(LetterKey('X'), ssNone, U'x');
    EXPECT_EQ(TakeCalls(), (std::vector<Call>{Cmd(cmdLeft), Typed(U'x')}));
}

TEST_F(KeyboardHandler, TabIndentsOnlyWhenTheEditorWantsTabs) {
    EXPECT_EQ(Stroke(vkTab, ssNone, U'\t'), 0);
    EXPECT_EQ(Stroke(vkTab, ssShift, U'\t'), 0);
    EXPECT_EQ(TakeCalls(), (std::vector<Call>{Cmd(cmdTab), Cmd(cmdBackTab)}));
    EXPECT_TRUE(target.focusMoves.empty());

    for (const bool readOnly : {false, true}) {
        target.readOnly = readOnly;
        target.wantTabs = readOnly;
        target.focusMoves.clear();
        EXPECT_EQ(Stroke(vkTab, ssNone, U'\t'), 0);
        EXPECT_EQ(Stroke(vkTab, ssShift, U'\t'), 0);
        EXPECT_EQ(target.focusMoves, (std::vector<bool>{false, true}));
        // Ctrl+Tab is no focus key and no binding.
        EXPECT_EQ(Stroke(vkTab, ssCtrl), vkTab);
        EXPECT_EQ(target.focusMoves.size(), 2u);
        EXPECT_TRUE(TakeCalls().empty());
    }

    // Without a window to move to, Tab stays unhandled and still types nothing.
    target.readOnly = false;
    target.wantTabs = false;
    target.onWindow = false;
    EXPECT_EQ(Stroke(vkTab, ssNone, U'\t'), vkTab);
    EXPECT_TRUE(TakeCalls().empty());
    EXPECT_EQ(target.keyDownEvents, 4);
}

TEST_F(KeyboardHandler, ReadOnlyEditorRunsBoundCommandsButTypesNothing) {
    target.readOnly = true;
    Stroke(vkRight, ssShift);
    Stroke(LetterKey('C'), ssCtrl, U'\x03');
    Stroke(LetterKey('Q'), ssCtrl, U'\x11');
    Stroke(LetterKey('R'), ssNone, U'r');
    Stroke(LetterKey('X'), ssNone, U'x');
    handler.KeyPress(U'\u00e9');
    EXPECT_EQ(TakeCalls(), (std::vector<Call>{Cmd(cmdSelRight), Cmd(cmdCopy), Cmd(cmdDocStart)}));
    EXPECT_EQ(target.keyPressEvents, 0);
    // Once writable again the same strokes type.
    target.readOnly = false;
    Stroke(LetterKey('X'), ssNone, U'x');
    EXPECT_EQ(TakeCalls(), std::vector<Call>{Typed(U'x')});
}

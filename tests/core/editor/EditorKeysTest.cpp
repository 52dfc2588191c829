// Keys reaching the editor model through its key map.
#include "EditorTestSupport.h"

using namespace velmora::editor;
using namespace velmora::editor::test;

namespace {

class FocusEditor : public CustomTextEditor {
public:
    int focusMoves = 0;
    bool lastPrevious = false;

protected:
    bool MoveFocus(bool previous) override {
        ++focusMoves;
        lastPrevious = previous;
        return true;
    }
};

struct Keys : EditorFixture<FocusEditor> {
    // A stroke as the widget delivers it: key down, then the character it produced, if any.
    void Stroke(std::uint16_t key, ShiftState shift, char32_t ch = 0) {
        ed.KeyDown(key, shift);
        if (ch != 0) ed.KeyPress(ch);
    }
};

} // namespace

TEST_F(Keys, EnterGivesExactlyOneLineAndLettersType) {
    LoadAt("ab", 1, 0);
    Stroke(vkEnter, ssNone, U'\r');
    EXPECT_EQ(ed.Text(), "a\r\nb\r\n");
    Stroke(LetterKey('X'), ssShift, U'X');
    Stroke(0, ssNone, U'\u00fc');
    Stroke(0, ssNone, U'\u4e2d'); // beyond U+00FF through the same typing path
    EXPECT_EQ(ed.Lines().Get(1), "X\xc3\xbc\xe4\xb8\xad"
                                 "b");
}

// Which second keys complete a sequence is tested on the key handler alone.
TEST_F(Keys, SequencesSetAndJumpToBookmarks) {
    LoadAt("a\r\nbb\r\nccc", 2, 2);
    Stroke(LetterKey('K'), ssCtrl, U'\x0b');
    Stroke(DigitKey(3), ssNone, U'3');
    EXPECT_TRUE(ed.GetBookmark(3).Valid);
    EXPECT_EQ(ed.Text(), "a\r\nbb\r\nccc\r\n"); // the 3 was not typed
    ed.SetCaret(0, 0);
    Stroke(LetterKey('Q'), ssCtrl);
    Stroke(DigitKey(3), ssCtrl);
    EXPECT_EQ(ed.CaretY(), 2);
}

TEST_F(Keys, TabMovesTheFocusWhenTheEditorTakesNoTabsOrIsReadOnly) {
    Load(ed, "abc");
    ed.WantTabs = false;
    Stroke(vkTab, ssShift, U'\t');
    EXPECT_EQ(ed.focusMoves, 1);
    EXPECT_TRUE(ed.lastPrevious);

    // Read-only: bound commands run, nothing types, Tab leaves although tabs are wanted.
    ed.WantTabs = true;
    ed.SetReadOnly(true);
    Stroke(vkRight, ssShift);
    Stroke(LetterKey('C'), ssCtrl, U'\x03');
    EXPECT_EQ(clip.text, U"a");
    Stroke(LetterKey('Z'), ssNone, U'z');
    Stroke(vkTab, ssNone, U'\t');
    EXPECT_EQ(ed.focusMoves, 2);
    EXPECT_FALSE(ed.lastPrevious);
    EXPECT_EQ(ed.Text(), "abc\r\n");

    ed.SetReadOnly(false);
    Stroke(vkLeft, ssNone);
    Stroke(vkTab, ssNone, U'\t');
    EXPECT_EQ(ed.Text(), "    abc\r\n");
}

TEST_F(Keys, KeyDownHandlerMayChangeTheKey) {
    Load(ed, "abc");
    ed.OnKeyDown = [](CustomTextEditor&, std::uint16_t& key, ShiftState) {
        if (key == vkLeft) key = vkEnd;
    };
    Stroke(vkLeft, ssNone);
    EXPECT_EQ(ed.CaretX(), 3);
    ed.OnKeyPress = [](CustomTextEditor&, char32_t& ch) { ch = U'!'; };
    Stroke(LetterKey('Q'), ssNone, U'q');
    EXPECT_EQ(ed.Text(), "abc!\r\n");
}

TEST_F(Keys, UndoAndMacroKeysDriveTheModel) {
    Load(ed, "");
    Stroke(LetterKey('R'), ssCtrl | ssShift, U'\x12');
    Stroke(LetterKey('A'), ssNone, U'a');
    Stroke(LetterKey('R'), ssCtrl | ssShift, U'\x12');
    Stroke(LetterKey('P'), ssCtrl | ssShift, U'\x10');
    EXPECT_EQ(ed.Text(), "aa\r\n");
    Stroke(LetterKey('Z'), ssCtrl, U'\x1a');
    EXPECT_EQ(ed.Text(), "a\r\n");
}

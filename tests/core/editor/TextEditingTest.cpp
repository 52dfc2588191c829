// Text editing commands: typing, new line, Backspace, Delete, Tab, blocks, case and clipboard.
#include "EditorTestSupport.h"
#include "core/editor/EditorCommands.h"

#include <gtest/gtest.h>

using namespace velmora::editor;
using namespace velmora::editor::test;

namespace {

struct Editing : ::testing::Test {
    CustomTextEditor ed;
    MemoryClipboard clip;
    void SetUp() override {
        ed.SetWordWrap(false);
        ed.SetClipboard(&clip);
    }
    TextPos Caret() const { return {ed.CaretX(), ed.CaretY()}; }
    void Run(std::uint16_t code) { ed.ExecuteCommand(code); }
    void Select(int bx, int by, int ex, int ey) {
        ed.SetCaret(bx, by);
        ed.ExtendSelection(bx, by);
        ed.ExtendSelection(ex, ey);
        ed.MoveCaret(ex, ey);
    }
};

} // namespace

TEST_F(Editing, TypingInsertsOrOverwrites) {
    Load(ed, "ab");
    ed.SetCaret(1, 0);
    Run('x');
    EXPECT_EQ(ed.Text(), "axb\r\n");
    EXPECT_EQ(ed.CaretX(), 2);

    Load(ed, "ab");
    ed.SetInsertMode(false);
    ed.SetCaret(1, 0);
    Run('x');
    EXPECT_EQ(ed.Text(), "ax\r\n");
    Run('y');
    EXPECT_EQ(ed.Text(), "axy\r\n");
}

TEST_F(Editing, TypingPastTheEndPadsAndControlCharactersOnlyPad) {
    Load(ed, "ab");
    ed.SetCaret(5, 0);
    Run(9); // a control character: the padding stays, nothing else
    EXPECT_EQ(ed.Text(), "ab   \r\n");
    Load(ed, "ab");
    ed.SetCaret(5, 0);
    Run('x');
    EXPECT_EQ(ed.Text(), "ab   x\r\n");
    Run(cmdUndo);
    EXPECT_EQ(ed.Text(), "ab\r\n");
}

TEST_F(Editing, TypingReplacesTheSelectionAndReadOnlyTypesNothing) {
    Load(ed, "hello");
    Select(1, 0, 4, 0);
    Run('J');
    EXPECT_EQ(ed.Text(), "hJo\r\n");
    ed.SetReadOnly(true);
    Run('K');
    Run(cmdNewLine);
    Run(cmdBackspace);
    EXPECT_EQ(ed.Text(), "hJo\r\n");
}

TEST_F(Editing, WrappedTypingMovesTheCaretToTheNextRow) {
    ed.SetWordWrap(true);
    Load(ed, std::string(80, 'a'));
    ed.SetCaret(80, 0);
    Run('b');
    EXPECT_EQ(ed.Lines().RowCount(), 2);
    EXPECT_EQ(Caret(), (TextPos{1, 1}));
    Run(cmdBackspace);
    EXPECT_EQ(ed.Lines().Get(0), std::string(80, 'a'));
}

TEST_F(Editing, WrappedCaretStaysWithinTheWrapWidth) {
    // Padding a row past the wrap width would cut it again under the caret, and the typed
    // character and its undo would land in different places.
    ed.SetWordWrap(true);
    Load(ed, "ab");
    ed.SetCaret(100, 0);
    EXPECT_EQ(Caret(), (TextPos{80, 0}));
    Run('x');
    EXPECT_EQ(ed.Lines().Get(0), "ab" + std::string(78, ' ') + "x");
    Run(cmdUndo);
    EXPECT_EQ(ed.Text(), "ab\r\n");
}

TEST_F(Editing, NewLineKeepsTheIndent) {
    Load(ed, "    foo");
    ed.SetCaret(5, 0);
    Run(cmdNewLine);
    EXPECT_EQ(ed.Text(), "    f\r\n    oo\r\n");
    EXPECT_EQ(Caret(), (TextPos{4, 1}));

    Load(ed, "    foo");
    ed.SetCaret(7, 0);
    Run(cmdNewLine);
    EXPECT_EQ(ed.Text(), "    foo\r\n\r\n");
    EXPECT_EQ(Caret(), (TextPos{4, 1}));
    Run('x');
    EXPECT_EQ(ed.Text(), "    foo\r\n    x\r\n");

    ed.SmartAutoIndent = false;
    ed.AutoIndentSize = 2;
    Load(ed, "    foo");
    ed.SetCaret(5, 0);
    Run(cmdNewLine);
    EXPECT_EQ(ed.Text(), "    f\r\n  oo\r\n");
    ed.AutoIndent = false;
    Load(ed, "    foo");
    ed.SetCaret(5, 0);
    Run(cmdNewLine);
    EXPECT_EQ(ed.Text(), "    f\r\noo\r\n");
}

TEST_F(Editing, SmartIndentLooksAboveEmptyParagraphs) {
    Load(ed, "  a\r\n\r\n");
    ed.SetCaret(0, 1);
    Run(cmdNewLine);
    EXPECT_EQ(Caret(), (TextPos{2, 2}));
}

TEST_F(Editing, BreakLineHookReplacesTheRestWithoutIndent) {
    Load(ed, "    abc\r\nz");
    ed.OnBreakLine = [](CustomTextEditor&, const std::u32string& original, std::u32string& rest) {
        EXPECT_EQ(original, U"    abc");
        rest = U"[" + rest + U"]";
    };
    ed.SetCaret(5, 0);
    Run(cmdNewLine);
    EXPECT_EQ(ed.Text(), "    a\r\n[bc]\r\nz\r\n");
    EXPECT_EQ(Caret(), (TextPos{0, 1}));
    Run(cmdUndo);
    EXPECT_EQ(ed.Text(), "    abc\r\nz\r\n");
    EXPECT_EQ(Caret(), (TextPos{5, 0}));
}

TEST_F(Editing, BackspaceUnindentsToTheIndentAbove) {
    Load(ed, "    a\r\n        x");
    ed.SetCaret(8, 1);
    Run(cmdBackspace);
    EXPECT_EQ(ed.Lines().Get(1), "    x");
    EXPECT_EQ(Caret(), (TextPos{4, 1}));
    Run(cmdBackspace);
    EXPECT_EQ(ed.Lines().Get(1), "x");

    Load(ed, "a\r\n        x");
    ed.SetCaret(8, 1);
    Run(cmdBackspace);
    EXPECT_EQ(ed.Lines().Get(1), "x");

    // Inside text Backspace removes one character.
    Load(ed, "    ab");
    ed.SetCaret(6, 0);
    Run(cmdBackspace);
    EXPECT_EQ(ed.Lines().Get(0), "    a");
}

TEST_F(Editing, BackspaceAndDeleteJoinParagraphs) {
    Load(ed, "ab\r\ncd");
    ed.SetCaret(0, 1);
    Run(cmdBackspace);
    EXPECT_EQ(ed.Text(), "abcd\r\n");
    EXPECT_EQ(Caret(), (TextPos{2, 0}));
    Run(cmdUndo);
    EXPECT_EQ(ed.Text(), "ab\r\ncd\r\n");
    EXPECT_EQ(Caret(), (TextPos{0, 1}));
    ed.SetCaret(0, 0);
    Run(cmdBackspace);
    EXPECT_EQ(ed.Text(), "ab\r\ncd\r\n");

    std::u32string seen;
    ed.OnConcatLine = [&](CustomTextEditor&, const std::u32string& original, std::u32string& next) {
        seen = original;
        next = U"-" + next;
    };
    ed.SetCaret(2, 0);
    Run(cmdDeleteChar);
    EXPECT_EQ(ed.Text(), "ab-cd\r\n");
    EXPECT_EQ(seen, U"ab");
    EXPECT_EQ(Caret(), (TextPos{2, 0}));
    ed.SetCaret(5, 0);
    Run(cmdDeleteChar); // end of the last row
    EXPECT_EQ(ed.Text(), "ab-cd\r\n");
}

TEST_F(Editing, DeleteOnAnEmptyTextAddsAParagraph) {
    Run(cmdDeleteChar);
    EXPECT_EQ(ed.Lines().Count(), 1);
}

TEST_F(Editing, SmartTabFollowsTheWordsAbove) {
    Load(ed, "ab  cd\r\n\r\n");
    ed.SetCaret(0, 1);
    Run(cmdTab);
    EXPECT_EQ(ed.CaretX(), 4);
    Run(cmdTab);
    EXPECT_EQ(ed.CaretX(), 6);
    Run(cmdTab);
    EXPECT_EQ(ed.CaretX(), 8);
    EXPECT_EQ(ed.Lines().Get(1), "        ");
    Run(cmdUndo);
    EXPECT_EQ(ed.Lines().Get(1), "");

    ed.SmartTab = false;
    ed.SetCaret(5, 0);
    Run(cmdTab);
    EXPECT_EQ(ed.CaretX(), 8);
    EXPECT_EQ(ed.Lines().Get(0), "ab  c   d");
    ed.SetInsertMode(false);
    ed.SetCaret(0, 0);
    Run(cmdTab); // overwrite mode only moves
    EXPECT_EQ(ed.CaretX(), 4);
    Run(cmdBackTab);
    EXPECT_EQ(ed.CaretX(), 0);
    EXPECT_EQ(ed.Lines().Get(0), "ab  c   d");
}

TEST_F(Editing, TabWithASelectionIndentsThroughThePostedQueue) {
    Load(ed, "a\r\nb\r\nc\r\nd");
    int posted = 0;
    ed.OnCommandPosted = [&](CustomTextEditor&) { ++posted; };
    Select(0, 1, 0, 3);
    Run(cmdTab);
    EXPECT_EQ(posted, 1);
    EXPECT_EQ(ed.Text(), "a\r\nb\r\nc\r\nd\r\n"); // not yet: it runs after the current command
    ed.RunPostedCommands();
    EXPECT_FALSE(ed.HasPostedCommands());
    EXPECT_EQ(ed.Text(), "a\r\n    b\r\n    c\r\nd\r\n");
    EXPECT_TRUE(ed.Selected());
    Run(cmdBackTab);
    ed.RunPostedCommands();
    EXPECT_EQ(ed.Text(), "a\r\nb\r\nc\r\nd\r\n");
    Run(cmdUndo);
    EXPECT_EQ(ed.Text(), "a\r\n    b\r\n    c\r\nd\r\n");
    Run(cmdUndo);
    EXPECT_EQ(ed.Text(), "a\r\nb\r\nc\r\nd\r\n");
}

TEST_F(Editing, UnindentRemovesUpToTheIndentSizeAndNothingLeavesNoStep) {
    Load(ed, "  a\r\nb");
    Select(0, 0, 1, 0);
    Run(cmdUnindentBlock);
    EXPECT_EQ(ed.Lines().Get(0), "a");
    const int records = ed.UndoList().Count();
    Select(0, 1, 1, 1);
    const int afterSelect = ed.UndoList().Count();
    Run(cmdUnindentBlock); // nothing to remove
    EXPECT_EQ(ed.UndoList().Count(), afterSelect);
    EXPECT_EQ(ed.CompoundDepth(), 0);
    EXPECT_GE(afterSelect, records);
}

TEST_F(Editing, DeleteLineTakesTextAndBreakInOneStep) {
    Load(ed, "one\r\ntwo\r\nthree");
    ed.SetCaret(1, 1);
    Run(cmdDeleteLine);
    EXPECT_EQ(ed.Text(), "one\r\nthree\r\n");
    ed.SetCaret(2, 1);
    Run(cmdDeleteLine);
    EXPECT_EQ(ed.Text(), "one\r\n\r\n");
    Run(cmdUndo);
    EXPECT_EQ(ed.Text(), "one\r\nthree\r\n");
    Run(cmdUndo); // the caret move in between
    EXPECT_EQ(Caret(), (TextPos{0, 1}));
    Run(cmdUndo);
    EXPECT_EQ(ed.Text(), "one\r\ntwo\r\nthree\r\n");
}

TEST_F(Editing, DeleteWordRightAndLeft) {
    Load(ed, "foo bar.baz");
    ed.SetCaret(4, 0);
    Run(cmdDeleteWordRight); // up to the next word's start
    EXPECT_EQ(ed.Text(), "foo baz\r\n");
    ed.SetCaret(3, 0);
    Run(cmdDeleteWordLeft);
    EXPECT_EQ(ed.Text(), " baz\r\n");
    Run(cmdUndo);
    EXPECT_EQ(ed.Text(), "foo baz\r\n");

    Load(ed, "a\r\n\r\nb");
    ed.SetCaret(0, 1);
    Run(cmdDeleteWordRight); // an empty row: plain Delete joins
    EXPECT_EQ(ed.Text(), "a\r\nb\r\n");
}

TEST_F(Editing, CaseCommandsUseUnicodeMappingAndKeepTheSelection) {
    Load(ed, "aB1 \xc3\xa9\xc3\x89");
    Select(0, 0, 6, 0);
    Run(cmdToggleCase);
    EXPECT_EQ(ed.Text(), "Ab1 \xc3\x89\xc3\xa9\r\n");
    EXPECT_TRUE(ed.Selected());
    Run(cmdUpperCase);
    EXPECT_EQ(ed.Text(), "AB1 \xc3\x89\xc3\x89\r\n");
    Run(cmdLowerCase);
    EXPECT_EQ(ed.Text(), "ab1 \xc3\xa9\xc3\xa9\r\n");
    Run(cmdUndo);
    EXPECT_EQ(ed.Text(), "AB1 \xc3\x89\xc3\x89\r\n");

    ed.OnCaseConversion = [](CustomTextEditor&, std::uint8_t conversion, const std::u32string& t) {
        return std::u32string(1, char32_t(U'0' + conversion)) + t;
    };
    Select(0, 0, 2, 0);
    Run(cmdLowerCase);
    EXPECT_EQ(ed.Text(), "1AB1 \xc3\x89\xc3\x89\r\n");
}

TEST_F(Editing, ClipboardUsesLfOutsideAndCrLfInside) {
    Load(ed, "ab\r\ncd");
    Select(1, 0, 1, 1);
    Run(cmdCopy);
    EXPECT_EQ(clip.text, U"b\nc");
    Run(cmdCut);
    EXPECT_EQ(ed.Text(), "ad\r\n");
    clip.text = U"x\ny\r\nz";
    Run(cmdPaste);
    EXPECT_EQ(ed.Text(), "ax\r\ny\r\nzd\r\n");
    EXPECT_EQ(Caret(), (TextPos{1, 2}));

    ed.SetReadOnly(true);
    clip.text = U"q";
    Select(0, 0, 1, 0);
    Run(cmdCut);
    Run(cmdPaste);
    EXPECT_EQ(ed.Text(), "ax\r\ny\r\nzd\r\n");
    Run(cmdCopy);
    EXPECT_EQ(clip.text, U"a");

    // Copying without a selection leaves the clipboard alone.
    ed.SetReadOnly(false);
    Run(cmdLeft);
    const int writes = clip.writes;
    Run(cmdCopy);
    EXPECT_EQ(clip.writes, writes);
}

TEST_F(Editing, DeleteSelectionCommand) {
    Load(ed, "abc");
    Select(0, 0, 2, 0);
    Run(cmdDeleteSelection);
    EXPECT_EQ(ed.Text(), "c\r\n");
    EXPECT_EQ(Caret(), (TextPos{0, 0}));
}

TEST_F(Editing, BackspaceAndDeleteWorkAcrossAWrapCut) {
    ed.SetWordWrap(true);
    Load(ed, std::string(85, 'a') + "\r\nz");
    ASSERT_EQ(ed.Lines().RowCount(), 3);
    ed.SetCaret(0, 1);
    Run(cmdBackspace); // the paragraph goes on above: its character before the cut goes
    EXPECT_EQ(ed.Lines().Get(0), std::string(84, 'a'));
    EXPECT_EQ(ed.Lines().Count(), 2);
    Run(cmdUndo);
    EXPECT_EQ(ed.Lines().Get(0), std::string(85, 'a'));

    ed.SetCaret(80, 0);
    Run(cmdDeleteChar); // end of a row that is not the paragraph's last
    EXPECT_EQ(ed.Lines().Get(0), std::string(84, 'a'));
    ed.SetCaret(4, 1);
    Run(cmdDeleteChar); // end of the paragraph: the next one joins
    EXPECT_EQ(ed.Lines().Get(0), std::string(84, 'a') + "z");
    EXPECT_EQ(ed.Lines().Count(), 1);
}

TEST_F(Editing, BlockCommandsThatChangeNothingLeaveNoStepEvenAfterAnUndo) {
    Load(ed, "a\r\nb\r\nc");
    Select(0, 1, 1, 2);
    ed.SetCaret(0, 2);
    Run(cmdUndo); // an undone tail that the next record discards
    const int records = ed.UndoList().UndoPosition;
    Run(cmdUnindentBlock); // no leading blanks anywhere
    EXPECT_EQ(ed.UndoList().UndoPosition, records);
    EXPECT_EQ(ed.UndoList().Count(), records + 1);
    ed.IndentSize = 0;
    Run(cmdIndentBlock);
    EXPECT_EQ(ed.UndoList().UndoPosition, records);
    EXPECT_EQ(ed.CompoundDepth(), 0);
    EXPECT_TRUE(ed.Selected());
    EXPECT_EQ(ed.Text(), "a\r\nb\r\nc\r\n");
}

// Text editing commands: typing, new line, Backspace, Delete, Tab, blocks, case and clipboard.
#include "EditorTestSupport.h"

using namespace velmora::editor;
using namespace velmora::editor::test;

using Editing = EditorFixture<>;

TEST_F(Editing, TypingInsertsOverwritesPadsAndReplacesTheSelection) {
    LoadAt("ab", 1, 0);
    Edits({{'x', "axb\r\n"}});
    EXPECT_EQ(ed.CaretX(), 2);
    ed.SetInsertMode(false);
    LoadAt("ab", 1, 0);
    Edits({{'x', "ax\r\n"}, {'y', "axy\r\n"}});
    ed.SetInsertMode(true);

    // Past the end the row is padded; a control character only pads.
    LoadAt("ab", 5, 0);
    Edits({{9, "ab   \r\n"}});
    LoadAt("ab", 5, 0);
    Edits({{'x', "ab   x\r\n"}, {cmdUndo, "ab\r\n"}});

    Load(ed, "hello");
    Select(1, 0, 4, 0);
    Edits({{'J', "hJo\r\n"}});
    ed.SetReadOnly(true);
    Edits({{'K', "hJo\r\n"}, {cmdNewLine, "hJo\r\n"}, {cmdBackspace, "hJo\r\n"}});
}

TEST_F(Editing, WrappedTypingMovesTheCaretToTheNextRowAndStaysWithinTheWrapWidth) {
    ed.SetWordWrap(true);
    LoadAt(std::string(80, 'a'), 80, 0);
    Run('b');
    EXPECT_EQ(ed.Lines().RowCount(), 2);
    EXPECT_EQ(Caret(), (TextPos{1, 1}));
    Run(cmdBackspace);
    EXPECT_EQ(ed.Lines().Get(0), std::string(80, 'a'));

    // Padding a row past the wrap width would cut it again under the caret, and the typed
    // character and its undo would land in different places.
    LoadAt("ab", 100, 0);
    EXPECT_EQ(Caret(), (TextPos{80, 0}));
    Run('x');
    EXPECT_EQ(ed.Lines().Get(0), "ab" + std::string(78, ' ') + "x");
    Edits({{cmdUndo, "ab\r\n"}});
}

TEST_F(Editing, NewLineKeepsTheIndent) {
    struct Case {
        bool smart, autoIndent;
        int autoIndentSize;
        const char* text;
        TextPos caret;
    };
    const Case cases[] = {{true, true, 0, "    f\r\n    oo\r\n", {4, 1}},
                          {false, true, 2, "    f\r\n  oo\r\n", {2, 1}},
                          {false, false, 2, "    f\r\noo\r\n", {0, 1}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ed.SmartAutoIndent = c.smart;
        ed.AutoIndent = c.autoIndent;
        ed.AutoIndentSize = c.autoIndentSize;
        LoadAt("    foo", 5, 0);
        Edits({{cmdNewLine, c.text, c.caret}});
    }
    ed.SmartAutoIndent = ed.AutoIndent = true;
    ed.AutoIndentSize = 0;
    LoadAt("    foo", 7, 0);
    Edits({{cmdNewLine, "    foo\r\n\r\n", TextPos{4, 1}}, {'x', "    foo\r\n    x\r\n"}});

    // Smart indent looks above empty paragraphs.
    LoadAt("  a\r\n\r\n", 0, 1);
    Moves({{cmdNewLine, {2, 2}}});
}

TEST_F(Editing, BreakLineHookReplacesTheRestWithoutIndent) {
    Load(ed, "    abc\r\nz");
    ed.OnBreakLine = [](CustomTextEditor&, const std::u32string& original, std::u32string& rest) {
        EXPECT_EQ(original, U"    abc");
        rest = U"[" + rest + U"]";
    };
    ed.SetCaret(5, 0);
    Edits({{cmdNewLine, "    a\r\n[bc]\r\nz\r\n", TextPos{0, 1}},
           {cmdUndo, "    abc\r\nz\r\n", TextPos{5, 0}}});
}

TEST_F(Editing, BackspaceUnindentsToTheIndentAbove) {
    LoadAt("    a\r\n        x", 8, 1);
    Run(cmdBackspace);
    EXPECT_EQ(ed.Lines().Get(1), "    x");
    EXPECT_EQ(Caret(), (TextPos{4, 1}));
    Run(cmdBackspace);
    EXPECT_EQ(ed.Lines().Get(1), "x");

    LoadAt("a\r\n        x", 8, 1);
    Edits({{cmdBackspace, "a\r\nx\r\n"}});
    // Inside text Backspace removes one character.
    LoadAt("    ab", 6, 0);
    Edits({{cmdBackspace, "    a\r\n"}});
}

TEST_F(Editing, BackspaceAndDeleteJoinParagraphs) {
    LoadAt("ab\r\ncd", 0, 1);
    Edits({{cmdBackspace, "abcd\r\n", TextPos{2, 0}}, {cmdUndo, "ab\r\ncd\r\n", TextPos{0, 1}}});
    ed.SetCaret(0, 0);
    Edits({{cmdBackspace, "ab\r\ncd\r\n"}});

    std::u32string seen;
    ed.OnConcatLine = [&](CustomTextEditor&, const std::u32string& original, std::u32string& next) {
        seen = original;
        next = U"-" + next;
    };
    ed.SetCaret(2, 0);
    Edits({{cmdDeleteChar, "ab-cd\r\n", TextPos{2, 0}}});
    EXPECT_EQ(seen, U"ab");
    ed.SetCaret(5, 0);
    Edits({{cmdDeleteChar, "ab-cd\r\n"}}); // end of the last row

    Load(ed, "");
    ed.Lines().Clear();
    Run(cmdDeleteChar); // on an empty text it adds a paragraph
    EXPECT_EQ(ed.Lines().Count(), 1);
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

TEST_F(Editing, SmartTabFollowsTheWordsAbove) {
    LoadAt("ab  cd\r\n\r\n", 0, 1);
    Moves({{cmdTab, {4, 1}}, {cmdTab, {6, 1}}, {cmdTab, {8, 1}}});
    EXPECT_EQ(ed.Lines().Get(1), "        ");
    Run(cmdUndo);
    EXPECT_EQ(ed.Lines().Get(1), "");

    ed.SmartTab = false;
    ed.SetCaret(5, 0);
    Moves({{cmdTab, {8, 0}}});
    EXPECT_EQ(ed.Lines().Get(0), "ab  c   d");
    ed.SetInsertMode(false);
    ed.SetCaret(0, 0);
    Moves({{cmdTab, {4, 0}}, {cmdBackTab, {0, 0}}}); // overwrite mode only moves
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
    Edits({{cmdUndo, "a\r\n    b\r\n    c\r\nd\r\n"}, {cmdUndo, "a\r\nb\r\nc\r\nd\r\n"}});
}

TEST_F(Editing, BlockCommandsThatChangeNothingLeaveNoStepEvenAfterAnUndo) {
    Load(ed, "  a\r\nb");
    Select(0, 0, 1, 0);
    Run(cmdUnindentBlock); // removes up to the indent size
    EXPECT_EQ(ed.Lines().Get(0), "a");
    Select(0, 1, 1, 1);
    const int afterSelect = ed.UndoList().Count();
    Run(cmdUnindentBlock); // nothing to remove
    EXPECT_EQ(ed.UndoList().Count(), afterSelect);
    EXPECT_EQ(ed.CompoundDepth(), 0);

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

TEST_F(Editing, DeleteLineSelectionAndWordsInOneStepEach) {
    LoadAt("one\r\ntwo\r\nthree", 1, 1);
    Edits({{cmdDeleteLine, "one\r\nthree\r\n"}});
    ed.SetCaret(2, 1);
    Edits({{cmdDeleteLine, "one\r\n\r\n"}, {cmdUndo, "one\r\nthree\r\n"}});
    Moves({{cmdUndo, {0, 1}}}); // the caret move in between
    Edits({{cmdUndo, "one\r\ntwo\r\nthree\r\n"}});

    Load(ed, "abc");
    Select(0, 0, 2, 0);
    Edits({{cmdDeleteSelection, "c\r\n", TextPos{0, 0}}});

    LoadAt("foo bar.baz", 4, 0);
    Edits({{cmdDeleteWordRight, "foo baz\r\n"}}); // up to the next word's start
    ed.SetCaret(3, 0);
    Edits({{cmdDeleteWordLeft, " baz\r\n"}, {cmdUndo, "foo baz\r\n"}});
    LoadAt("a\r\n\r\nb", 0, 1);
    Edits({{cmdDeleteWordRight, "a\r\nb\r\n"}}); // an empty row: plain Delete joins
}

TEST_F(Editing, CaseCommandsUseUnicodeMappingAndKeepTheSelection) {
    Load(ed, "aB1 \xc3\xa9\xc3\x89");
    Select(0, 0, 6, 0);
    Edits({{cmdToggleCase, "Ab1 \xc3\x89\xc3\xa9\r\n"}});
    EXPECT_TRUE(ed.Selected());
    Edits({{cmdUpperCase, "AB1 \xc3\x89\xc3\x89\r\n"},
           {cmdLowerCase, "ab1 \xc3\xa9\xc3\xa9\r\n"},
           {cmdUndo, "AB1 \xc3\x89\xc3\x89\r\n"}});

    ed.OnCaseConversion = [](CustomTextEditor&, std::uint8_t conversion, const std::u32string& t) {
        return std::u32string(1, char32_t(U'0' + conversion)) + t;
    };
    Select(0, 0, 2, 0);
    Edits({{cmdLowerCase, "1AB1 \xc3\x89\xc3\x89\r\n"}});
}

TEST_F(Editing, ClipboardUsesLfOutsideAndCrLfInside) {
    Load(ed, "ab\r\ncd");
    Select(1, 0, 1, 1);
    Run(cmdCopy);
    EXPECT_EQ(clip.text, U"b\nc");
    Edits({{cmdCut, "ad\r\n"}});
    clip.text = U"x\ny\r\nz";
    Edits({{cmdPaste, "ax\r\ny\r\nzd\r\n", TextPos{1, 2}}});

    ed.SetReadOnly(true);
    clip.text = U"q";
    Select(0, 0, 1, 0);
    Edits({{cmdCut, "ax\r\ny\r\nzd\r\n"}, {cmdPaste, "ax\r\ny\r\nzd\r\n"}});
    Run(cmdCopy);
    EXPECT_EQ(clip.text, U"a");

    // Copying without a selection leaves the clipboard alone.
    ed.SetReadOnly(false);
    Run(cmdLeft);
    const int writes = clip.writes;
    Run(cmdCopy);
    EXPECT_EQ(clip.writes, writes);
}

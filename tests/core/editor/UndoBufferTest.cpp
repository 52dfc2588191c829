// The undo buffer: run merging, groups, padding taken back with its edit, redo refused.
#include "EditorTestSupport.h"
#include "core/editor/EditorErrors.h"

using namespace velmora::editor;
using namespace velmora::editor::test;

namespace {

struct Undoing : EditorFixture<> {
    void Undo() { Run(cmdUndo); }
    void UndoAll() {
        for (int n = ed.UndoList().Count(); n >= 0 && ed.UndoList().UndoPosition >= 0; --n)
            Undo();
        EXPECT_EQ(ed.UndoList().UndoPosition, -1);
    }
};

} // namespace

TEST_F(Undoing, TypingLeftTypingUndoesInThreeSteps) {
    Load(ed, "");
    Type(ed, U"abc");
    Run(cmdLeft);
    Type(ed, U"x");
    EXPECT_EQ(ed.Text(), "abxc\r\n");
    Moves({{cmdUndo, {2, 0}}, {cmdUndo, {3, 0}}});
    EXPECT_EQ(ed.Text(), "abc\r\n");
    Edits({{cmdUndo, "", TextPos{0, 0}}});
}

TEST_F(Undoing, RunsAndSingleEditsComeBackWholeInOneStep) {
    LoadAt("abcdef", 1, 0);
    Run({cmdDeleteChar, cmdDeleteChar, cmdDeleteChar});
    EXPECT_EQ(ed.Text(), "aef\r\n");
    Edits({{cmdUndo, "abcdef\r\n", TextPos{1, 0}}});

    Load(ed, "");
    Type(ed, U"abc");
    ed.BackspaceUnindents = false;
    Run({cmdBackspace, cmdBackspace, cmdBackspace});
    EXPECT_EQ(ed.Text(), "\r\n");
    Edits({{cmdUndo, "abc\r\n", TextPos{3, 0}}});

    // Overwriting restores the replaced and the appended characters.
    LoadAt("abc", 1, 0);
    ed.SetInsertMode(false);
    Type(ed, U"XYZW");
    EXPECT_EQ(ed.Text(), "aXYZW\r\n");
    Edits({{cmdUndo, "abc\r\n", TextPos{1, 0}}});

    ed.SetInsertMode(true);
    LoadAt("abcd", 2, 0);
    Edits({{cmdNewLine, "ab\r\ncd\r\n"}, {cmdUndo, "abcd\r\n", TextPos{2, 0}}});
}

TEST_F(Undoing, DeleteThatJoinsWrappedRowsComesBackWhereItWas) {
    // 81 characters wrap into two rows; deleting the one on the second row leaves one row, so
    // the deletion's row now belongs to the next paragraph.
    ed.SetWordWrap(true);
    LoadAt(std::string(80, 'a') + "b\r\nnext", 0, 1);
    ASSERT_EQ(ed.Lines().RowCount(), 3);
    Run(cmdDeleteChar);
    EXPECT_EQ(ed.Lines().RowCount(), 2);
    Edits({{cmdUndo, std::string(80, 'a') + "b\r\nnext\r\n"}});
}

TEST_F(Undoing, SelectAllThenTypeUndoesCharacterThenRestoresTextAndSelection) {
    Load(ed, "ab\r\nc");
    Run({cmdSelectAll, 'z'});
    EXPECT_EQ(ed.Text(), "z\r\n");
    Edits({{cmdUndo, "\r\n"}, {cmdUndo, "ab\r\nc\r\n"}});
    EXPECT_TRUE(ed.Selected());
    EXPECT_EQ(S(ed.SelText()), "ab\r\nc");
}

TEST_F(Undoing, ReplacingTheLinesForgetsTheHistory) {
    Load(ed, "ab");
    Type(ed, U"xy");
    Load(ed, "new");
    Edits({{cmdUndo, "new\r\n"}});
    Type(ed, U"q");
    velmora::platform::StringList other;
    other.Add("one");
    ed.SetLines(other);
    EXPECT_EQ(ed.UndoList().Count(), 0);
    Edits({{cmdUndo, "one\r\n"}});
}

TEST_F(Undoing, RedoIsRefusedAndLeavesTheBufferAlone) {
    Load(ed, "");
    Type(ed, U"ab");
    Run(cmdLeft);
    Type(ed, U"c");
    Undo();
    const int pos = ed.UndoList().UndoPosition;
    EXPECT_EQ(ThrownMessage<ETextEditorError>([&] { Run(cmdRedo); }), "Redo not yet implemented");
    EXPECT_EQ(ed.UndoList().UndoPosition, pos);
    EXPECT_EQ(ed.Text(), "ab\r\n");
    Run({cmdUndo, cmdUndo});
    EXPECT_EQ(ed.Text(), "");
}

TEST_F(Undoing, GroupsNestAndANewRecordDropsTheUndoneTail) {
    Load(ed, "abc");
    ed.BeginCompound();
    ed.SetCaret(1, 0);
    ed.BeginCompound();
    ed.TypeChar(U'x');
    ed.SetCaret(3, 0);
    ed.EndCompound();
    ed.TypeChar(U'y');
    ed.EndCompound();
    EXPECT_EQ(ed.CompoundDepth(), 0);
    EXPECT_EQ(ed.Text(), "axbyc\r\n");
    const int records = ed.UndoList().Count();
    Undo();
    EXPECT_EQ(ed.Text(), "abc\r\n");
    EXPECT_EQ(Caret(), (TextPos{0, 0}));
    EXPECT_EQ(ed.UndoList().UndoPosition, -1);
    EXPECT_EQ(ed.UndoList().Count(), records); // undone records stay until the next one
    ed.SetCaret(2, 0);
    EXPECT_EQ(ed.UndoList().Count(), 1);

    // Records made while undoing are dropped.
    LoadAt("abc", 2, 0);
    ed.UndoList().Undo();
    EXPECT_EQ(ed.UndoList().Count(), 1);
    EXPECT_EQ(ed.UndoList().UndoPosition, -1);
}

TEST_F(Undoing, ModifiedIsSetByUndoAndNeverCleared) {
    Load(ed, "a");
    ed.TypeChar(U'b');
    ed.SetModified(false);
    Undo();
    EXPECT_TRUE(ed.Modified());
}

TEST_F(Undoing, RecordClassesWithoutCommandsStillTakeTheirChangeBack) {
    Load(ed, "hello world");
    // A replacement of "world" by "there" at 1-based position 7.
    ed.Lines().ReplaceText(6, 5, U"there");
    ed.RecordUndo<ReplaceUndo>(0, 0, 7, U"world", U"there");
    Edits({{cmdUndo, "hello world\r\n"}});

    // Trailing-blank deletions are taken back together with the step before them.
    ed.SetCaret(5, 0);
    ed.Lines().ReplaceText(5, 6, U"");
    ed.RecordUndo<DeleteUndo>(5, 0, U" world", 5);
    ed.Lines().Put(0, U"hell");
    ed.RecordUndo<DeleteTrailUndo>(4, 0, U"o", 4);
    Edits({{cmdUndo, "hello world\r\n"}});
}

TEST_F(Undoing, StaleRecordsAfterOutsideEditsNeverCrash) {
    LoadAt("abc\r\ndef", 3, 1);
    Type(ed, U"xyz");
    ed.Lines().Clear(); // outside edits do not clear the history
    Run({cmdUndo, cmdUndo});
    EXPECT_EQ(ed.Lines().Count(), 0);

    // A deletion taken back into a text emptied meanwhile lands in it.
    LoadAt("abc", 1, 0);
    Run(cmdDeleteChar);
    ed.Lines().Clear();
    Edits({{cmdUndo, "b\r\n"}});
}

TEST_F(Undoing, WordMoveAcrossARowKeepsTheCaretForUndo) {
    // Ctrl+Right from a row's end skips the next row's leading blanks by running again.
    LoadAt("foo\r\n  bar", 3, 0);
    Type(ed, U"abc");
    Run(cmdWordRight);
    EXPECT_EQ(Caret(), (TextPos{2, 1}));
    Moves({{cmdUndo, {6, 0}}});
    Type(ed, U"X");
    Edits({{cmdUndo, "fooabc\r\n  bar\r\n", TextPos{6, 0}}, {cmdUndo, "foo\r\n  bar\r\n"}});

    // Ctrl+Left over blanks only continues at the end of the row above.
    LoadAt("foo\r\n  bar", 2, 1);
    Type(ed, U"  ");
    Run(cmdWordLeft);
    EXPECT_EQ(Caret(), (TextPos{3, 0}));
    Moves({{cmdUndo, {4, 1}}});
    Type(ed, U"X");
    Edits({{cmdUndo, "foo\r\n    bar\r\n", TextPos{4, 1}},
           {cmdUndo, "foo\r\n  bar\r\n", TextPos{2, 1}}});

    // The selecting form: undo drops the selection, then brings the caret back.
    LoadAt("foo\r\n  bar", 3, 0);
    Type(ed, U"abc");
    Run(cmdSelWordRight);
    EXPECT_TRUE(ed.Selected());
    Run({cmdUndo, cmdUndo});
    EXPECT_EQ(Caret(), (TextPos{6, 0}));
    EXPECT_FALSE(ed.Selected());
    Type(ed, U"X");
    Edits({{cmdUndo, "fooabc\r\n  bar\r\n"}, {cmdUndo, "foo\r\n  bar\r\n"}});

    // Ctrl+T at a row's end deletes the next row's blanks; undo puts the caret back too.
    LoadAt("foo\r\n  bar", 3, 0);
    Run(cmdDeleteWordRight);
    EXPECT_EQ(ed.Text(), "foo\r\nbar\r\n");
    Edits({{cmdUndo, "foo\r\n  bar\r\n", TextPos{3, 0}}});
}

TEST_F(Undoing, CutsAtSeparatePlacesAreSeparateSteps) {
    Load(ed, "a1 b a1 c");
    for (int pass = 0; pass < 2; ++pass) {
        // Find selects each "a1" by offsets, then Ctrl+X.
        ed.SetSelStart(pass == 0 ? 1 : 4);
        ed.SetSelLength(2);
        Run(cmdCut);
    }
    EXPECT_EQ(ed.Text(), " b  c\r\n");
    Edits({{cmdUndo, " b a1 c\r\n"}, {cmdUndo, "a1 b a1 c\r\n"}});

    // Deletions at one place still come back together.
    Load(ed, "abcdef");
    for (int pass = 0; pass < 2; ++pass) {
        ed.SetSelStart(2);
        ed.SetSelLength(2);
        Run(cmdDeleteSelection);
    }
    EXPECT_EQ(ed.Text(), "af\r\n");
    Edits({{cmdUndo, "abcdef\r\n"}});
}

TEST_F(Undoing, FirstLineOfAnEmptyTextIsTakenBackToNoLines) {
    // An empty text has no line at all; editing it adds one, and undo must remove it again.
    ed.CursorBeyondEOF = true;
    for (std::uint16_t code : {std::uint16_t('a'), std::uint16_t(cmdDeleteChar),
                               std::uint16_t(cmdNewLine), std::uint16_t(cmdTab)}) {
        SCOPED_TRACE(testing::Message() << "command " << code);
        for (int row : {0, 2}) {
            LoadAt("", 1, row);
            Run(code);
            EXPECT_GE(ed.Lines().Count(), 1);
            UndoAll();
            EXPECT_EQ(ed.Lines().Count(), 0);
            EXPECT_EQ(ed.Text(), "");
        }
    }
}

// The undo buffer: run merging, groups, padding taken back with its edit, redo refused.
#include "EditorTestSupport.h"
#include "core/editor/EditorCommands.h"
#include "core/editor/EditorErrors.h"

#include <gtest/gtest.h>

using namespace velmora::editor;
using namespace velmora::editor::test;

namespace {

struct Undoing : ::testing::Test {
    CustomTextEditor ed;
    void SetUp() override { ed.SetWordWrap(false); }
    TextPos Caret() const { return {ed.CaretX(), ed.CaretY()}; }
    void Undo() { ed.ExecuteCommand(cmdUndo); }
};

} // namespace

TEST_F(Undoing, TypingLeftTypingUndoesInThreeSteps) {
    Load(ed, "");
    Type(ed, U"abc");
    ed.ExecuteCommand(cmdLeft);
    Type(ed, U"x");
    EXPECT_EQ(ed.Text(), "abxc\r\n");
    Undo();
    EXPECT_EQ(ed.Text(), "abc\r\n");
    EXPECT_EQ(Caret(), (TextPos{2, 0}));
    Undo();
    EXPECT_EQ(Caret(), (TextPos{3, 0}));
    EXPECT_EQ(ed.Text(), "abc\r\n");
    Undo();
    EXPECT_EQ(ed.Text(), "\r\n");
    EXPECT_EQ(Caret(), (TextPos{0, 0}));
}

TEST_F(Undoing, RunsOfDeletesAndBackspacesComeBackWhole) {
    Load(ed, "abcdef");
    ed.SetCaret(1, 0);
    for (int i = 0; i < 3; ++i)
        ed.ExecuteCommand(cmdDeleteChar);
    EXPECT_EQ(ed.Text(), "aef\r\n");
    Undo();
    EXPECT_EQ(ed.Text(), "abcdef\r\n");
    EXPECT_EQ(Caret(), (TextPos{1, 0}));

    Load(ed, "");
    Type(ed, U"abc");
    ed.BackspaceUnindents = false;
    for (int i = 0; i < 3; ++i)
        ed.ExecuteCommand(cmdBackspace);
    EXPECT_EQ(ed.Text(), "\r\n");
    Undo();
    EXPECT_EQ(ed.Text(), "abc\r\n");
    EXPECT_EQ(Caret(), (TextPos{3, 0}));
}

TEST_F(Undoing, DeleteThatJoinsWrappedRowsComesBackWhereItWas) {
    // 81 characters wrap into two rows; deleting the one on the second row leaves one row, so
    // the deletion's row now belongs to the next paragraph.
    ed.SetWordWrap(true);
    Load(ed, std::string(80, 'a') + "b\r\nnext");
    ASSERT_EQ(ed.Lines().RowCount(), 3);
    ed.SetCaret(0, 1);
    ed.ExecuteCommand(cmdDeleteChar);
    EXPECT_EQ(ed.Lines().RowCount(), 2);
    Undo();
    EXPECT_EQ(ed.Text(), std::string(80, 'a') + "b\r\nnext\r\n");
}

TEST_F(Undoing, OverwriteRunRestoresReplacedAndAppendedCharacters) {
    Load(ed, "abc");
    ed.SetInsertMode(false);
    ed.SetCaret(1, 0);
    Type(ed, U"XYZW");
    EXPECT_EQ(ed.Text(), "aXYZW\r\n");
    Undo();
    EXPECT_EQ(ed.Text(), "abc\r\n");
    EXPECT_EQ(Caret(), (TextPos{1, 0}));
}

TEST_F(Undoing, NewLineInTheMiddleUndoesInOneStep) {
    Load(ed, "abcd");
    ed.SetCaret(2, 0);
    ed.ExecuteCommand(cmdNewLine);
    EXPECT_EQ(ed.Text(), "ab\r\ncd\r\n");
    Undo();
    EXPECT_EQ(ed.Text(), "abcd\r\n");
    EXPECT_EQ(Caret(), (TextPos{2, 0}));
}

TEST_F(Undoing, SelectAllThenTypeUndoesCharacterThenRestoresTextAndSelection) {
    Load(ed, "ab\r\nc");
    ed.ExecuteCommand(cmdSelectAll);
    ed.TypeChar(U'z');
    EXPECT_EQ(ed.Text(), "z\r\n");
    Undo();
    EXPECT_EQ(ed.Text(), "\r\n");
    Undo();
    EXPECT_EQ(ed.Text(), "ab\r\nc\r\n");
    EXPECT_TRUE(ed.Selected());
    EXPECT_EQ(S(ed.SelText()), "ab\r\nc");
}

TEST_F(Undoing, PaddingGoesWithTheEditItBelongsTo) {
    Load(ed, "ab");
    ed.SetCaret(5, 0);
    ed.TypeChar(U'x');
    EXPECT_EQ(ed.Text(), "ab   x\r\n");
    Undo();
    EXPECT_EQ(ed.Text(), "ab\r\n");
}

TEST_F(Undoing, ReplacingTheLinesForgetsTheHistory) {
    Load(ed, "ab");
    Type(ed, U"xy");
    Load(ed, "new");
    Undo();
    EXPECT_EQ(ed.Text(), "new\r\n");
    Type(ed, U"q");
    velmora::platform::StringList other;
    other.Add("one");
    ed.SetLines(other);
    EXPECT_EQ(ed.UndoList().Count(), 0);
    Undo();
    EXPECT_EQ(ed.Text(), "one\r\n");
}

TEST_F(Undoing, RedoIsRefusedAndLeavesTheBufferAlone) {
    Load(ed, "");
    Type(ed, U"ab");
    ed.ExecuteCommand(cmdLeft);
    Type(ed, U"c");
    Undo();
    const int pos = ed.UndoList().UndoPosition;
    try {
        ed.ExecuteCommand(cmdRedo);
        FAIL();
    } catch (const ETextEditorError& e) {
        EXPECT_EQ(e.Message(), "Redo not yet implemented");
    }
    EXPECT_EQ(ed.UndoList().UndoPosition, pos);
    EXPECT_EQ(ed.Text(), "ab\r\n");
    Undo();
    Undo();
    EXPECT_EQ(ed.Text(), "\r\n");
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
    Undo();
    EXPECT_EQ(ed.Text(), "hello world\r\n");

    // Trailing-blank deletions are taken back together with the step before them.
    ed.SetCaret(5, 0);
    ed.Lines().ReplaceText(5, 6, U"");
    ed.RecordUndo<DeleteUndo>(5, 0, U" world", 5);
    ed.Lines().Put(0, U"hell");
    ed.RecordUndo<DeleteTrailUndo>(4, 0, U"o", 4);
    Undo();
    EXPECT_EQ(ed.Text(), "hello world\r\n");
}

TEST_F(Undoing, RecordsMadeWhileUndoingAreDropped) {
    Load(ed, "abc");
    ed.SetCaret(2, 0);
    ed.UndoList().Undo();
    EXPECT_EQ(ed.UndoList().Count(), 1);
    EXPECT_EQ(ed.UndoList().UndoPosition, -1);
}

TEST_F(Undoing, StaleRecordsAfterOutsideEditsNeverCrash) {
    Load(ed, "abc\r\ndef");
    ed.SetCaret(3, 1);
    Type(ed, U"xyz");
    ed.Lines().Clear(); // outside edits do not clear the history
    Undo();
    Undo();
    EXPECT_EQ(ed.Lines().Count(), 0);

    // A deletion taken back into a text emptied meanwhile lands in it.
    Load(ed, "abc");
    ed.SetCaret(1, 0);
    ed.ExecuteCommand(cmdDeleteChar);
    ed.Lines().Clear();
    Undo();
    EXPECT_EQ(ed.Text(), "b\r\n");
}

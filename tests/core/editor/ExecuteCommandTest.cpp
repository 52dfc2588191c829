// The command executor: movement and its selecting twins, words, pages, bookmarks, macros, hooks.
#include "EditorTestSupport.h"
#include "core/editor/EditorCommands.h"

#include <gtest/gtest.h>

using namespace velmora::editor;
using namespace velmora::editor::test;

namespace {

struct Commands : ::testing::Test {
    CustomTextEditor ed;
    void SetUp() override { ed.SetWordWrap(false); }
    TextPos Caret() const { return {ed.CaretX(), ed.CaretY()}; }
    void Run(std::uint16_t code) { ed.ExecuteCommand(code); }
    void Run(std::initializer_list<std::uint16_t> codes) {
        for (auto c : codes)
            ed.ExecuteCommand(c);
    }
};

} // namespace

TEST_F(Commands, LeftAtTheStartDoesNothingAndRecordsNothing) {
    Load(ed, "abc");
    Run(cmdLeft);
    EXPECT_EQ(Caret(), (TextPos{0, 0}));
    EXPECT_EQ(ed.UndoList().Count(), 0);
}

TEST_F(Commands, RightWrapsToTheNextRowOnlyWhenTheCaretMayNotPassTheEnd) {
    Load(ed, "abc\r\nde");
    ed.CursorBeyondEOL = false;
    ed.SetCaret(3, 0);
    Run(cmdRight);
    EXPECT_EQ(Caret(), (TextPos{0, 1}));
    Run(cmdLeft);
    EXPECT_EQ(Caret(), (TextPos{3, 0}));
    ed.SetCaret(2, 1);
    Run(cmdRight);
    EXPECT_EQ(Caret(), (TextPos{2, 1}));

    ed.CursorBeyondEOL = true;
    ed.SetCaret(3, 0);
    Run(cmdRight);
    EXPECT_EQ(Caret(), (TextPos{4, 0}));
}

TEST_F(Commands, DownBelowTheTextOnlyForThePlainCommandBeyondEof) {
    Load(ed, "a\r\nbcd");
    ed.SetCaret(3, 1);
    Run(cmdDown);
    EXPECT_EQ(Caret(), (TextPos{3, 1}));
    ed.CursorBeyondEOF = true;
    Run(cmdSelDown);
    EXPECT_EQ(Caret(), (TextPos{3, 1}));
    EXPECT_FALSE(ed.Selected());
    Run(cmdDown);
    EXPECT_EQ(Caret(), (TextPos{3, 2}));

    ed.CursorBeyondEOL = false;
    ed.SetCaret(3, 1);
    Run(cmdUp);
    EXPECT_EQ(Caret(), (TextPos{1, 0}));
    Run(cmdUp);
    EXPECT_EQ(Caret(), (TextPos{1, 0}));
}

TEST_F(Commands, SelectingTwinsAnchorAtTheOldCaretAndPlainMovesDeselect) {
    Load(ed, "abcdef\r\nghi");
    ed.SetCaret(2, 0);
    Run({cmdSelRight, cmdSelRight, cmdSelDown});
    EXPECT_EQ(ed.SelBeg(), (TextPos{2, 0}));
    EXPECT_EQ(ed.SelEnd(), (TextPos{4, 1}));
    EXPECT_EQ(S(ed.SelText()), "cdef\r\nghi");
    Run(cmdSelLineStart);
    EXPECT_EQ(ed.SelBeg(), (TextPos{2, 0}));
    EXPECT_EQ(ed.SelEnd(), (TextPos{0, 1}));
    EXPECT_EQ(S(ed.SelText()), "cdef\r\n");
    Run(cmdLeft);
    EXPECT_FALSE(ed.Selected());
}

TEST_F(Commands, WordMovementStopsAtWordStarts) {
    Load(ed, "foo.bar baz");
    ed.SetCaret(11, 0);
    Run(cmdWordLeft);
    EXPECT_EQ(ed.CaretX(), 8);
    Run(cmdWordLeft);
    EXPECT_EQ(ed.CaretX(), 4);
    Run(cmdWordLeft);
    EXPECT_EQ(ed.CaretX(), 0);
    Run(cmdWordRight);
    EXPECT_EQ(ed.CaretX(), 4);
    Run(cmdWordRight);
    EXPECT_EQ(ed.CaretX(), 8);
    Run(cmdWordRight);
    EXPECT_EQ(ed.CaretX(), 11);
}

TEST_F(Commands, WordMovementCrossesRows) {
    Load(ed, "ab cd\r\n  ef\r\n..gh");
    ed.SetCaret(5, 0);
    Run(cmdWordRight); // to the next row, past its leading blanks
    EXPECT_EQ(Caret(), (TextPos{2, 1}));
    ed.SetCaret(2, 2);
    Run(cmdWordLeft); // only separators before the caret: on to the previous row's end
    EXPECT_EQ(Caret(), (TextPos{4, 1}));
    ed.SetCaret(0, 1);
    Run(cmdWordLeft);
    EXPECT_EQ(Caret(), (TextPos{5, 0}));
    Run(cmdSelWordLeft);
    EXPECT_EQ(S(ed.SelText()), "cd");
}

TEST_F(Commands, SelectWordTakesTheWordAroundTheCaret) {
    Load(ed, "one two.three");
    ed.SetCaret(5, 0);
    Run(cmdSelectWord);
    EXPECT_EQ(S(ed.SelText()), "two");
    EXPECT_EQ(ed.CaretX(), 7);
    Run(cmdSelectWord); // only without a selection
    EXPECT_EQ(S(ed.SelText()), "two");
    Run(cmdLeft);
    ed.SetCaret(3, 0); // the blank right after "one" selects "one"
    Run(cmdSelectWord);
    EXPECT_EQ(S(ed.SelText()), "one");
}

TEST_F(Commands, LineStartTogglesBetweenIndentAndColumnZero) {
    Load(ed, "   abc");
    ed.SetCaret(5, 0);
    ed.SimpleBeginLine = false;
    Run(cmdLineStart);
    EXPECT_EQ(ed.CaretX(), 3);
    Run(cmdLineStart);
    EXPECT_EQ(ed.CaretX(), 0);
    ed.SimpleBeginLine = true;
    ed.SetCaret(5, 0);
    Run(cmdLineStart);
    EXPECT_EQ(ed.CaretX(), 0);
    Run(cmdLineEnd);
    EXPECT_EQ(ed.CaretX(), 6);
}

TEST_F(Commands, SelectAllSelectsTheWholeTextAndEndsAtItsEnd) {
    Load(ed, "ab\r\nc");
    Run(cmdSelectAll);
    EXPECT_EQ(ed.SelBeg(), (TextPos{0, 0}));
    EXPECT_EQ(ed.SelEnd(), (TextPos{1, 1}));
    EXPECT_EQ(Caret(), (TextPos{1, 1}));
    EXPECT_EQ(S(ed.SelText()), "ab\r\nc");
    EXPECT_EQ(ed.CompoundDepth(), 0);
    EXPECT_EQ(ed.UpdateLock(), 0);
}

TEST_F(Commands, DocEndAndStartMoveTheView) {
    ed.SetClientSize(642, 160);
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "line\r\n";
    Load(ed, text);
    Run(cmdDocEnd);
    EXPECT_EQ(Caret(), (TextPos{4, 39}));
    EXPECT_EQ(ed.TopRow(), 30);
    Run(cmdDocStart);
    EXPECT_EQ(Caret(), (TextPos{0, 0}));
    EXPECT_EQ(ed.TopRow(), 0);
}

TEST_F(Commands, PagesMoveByAWindowAndKeepTheCaretVisible) {
    ed.SetClientSize(642, 160); // 10 rows
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "line\r\n";
    Load(ed, text);
    Run(cmdPageDown);
    EXPECT_EQ(ed.CaretY(), 10);
    EXPECT_GE(ed.CaretY(), ed.TopRow());
    EXPECT_LE(ed.CaretY(), ed.LastVisibleRow());
    Run({cmdPageDown, cmdPageDown, cmdPageDown, cmdPageDown});
    EXPECT_EQ(ed.CaretY(), 39);
    Run(cmdSelPageUp);
    EXPECT_EQ(ed.CaretY(), 29);
    EXPECT_EQ(ed.SelBeg(), (TextPos{0, 29}));
    EXPECT_EQ(ed.SelEnd(), (TextPos{0, 39}));
    EXPECT_EQ(ed.UpdateLock(), 0);
    Run(cmdPageUp);
    EXPECT_FALSE(ed.Selected());
    EXPECT_LE(ed.TopRow(), ed.CaretY());
}

TEST_F(Commands, ScrollCommandsMoveTheViewAndKeepTheCaretInside) {
    ed.SetClientSize(642, 160);
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "line\r\n";
    Load(ed, text);
    Run(cmdScrollLineDown);
    EXPECT_EQ(ed.TopRow(), 1);
    EXPECT_EQ(ed.CaretY(), 1);
    Run(cmdScrollPageDown);
    EXPECT_EQ(ed.TopRow(), 10);
    Run(cmdScrollLineUp);
    EXPECT_EQ(ed.TopRow(), 9);
    EXPECT_EQ(ed.CaretY(), 10);
    Run(cmdScrollPageUp);
    EXPECT_EQ(ed.TopRow(), 0);
    EXPECT_EQ(ed.CaretY(), 9);
}

TEST_F(Commands, WindowTopAndBottom) {
    ed.SetClientSize(642, 160);
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "line\r\n";
    Load(ed, text);
    ed.SetCaret(2, 5);
    Run(cmdWindowBottom);
    EXPECT_EQ(ed.CaretY(), 9);
    Run(cmdWindowTop);
    EXPECT_EQ(ed.CaretY(), 0);
}

TEST_F(Commands, BookmarksToggleOnTheirRowAndJumpWithUndo) {
    Load(ed, "a\r\nbb\r\nccc");
    ed.SetCaret(1, 1);
    Run(cmdSetBookmark3);
    EXPECT_TRUE(ed.GetBookmark(3).Valid);
    Run(cmdSetBookmark3);
    EXPECT_FALSE(ed.GetBookmark(3).Valid);
    Run(cmdSetBookmark3);
    ed.SetCaret(2, 2);
    Run(cmdSetBookmark3); // another row moves it
    EXPECT_TRUE(ed.GetBookmark(3).Valid);
    EXPECT_EQ(ed.GetBookmark(3).Y, 2);
    ed.SetCaret(0, 0);
    Run(cmdGotoBookmark3);
    EXPECT_EQ(Caret(), (TextPos{2, 2}));
    Run(cmdUndo);
    EXPECT_EQ(Caret(), (TextPos{0, 0}));
    Run(cmdGotoBookmark5); // invalid: nothing
    EXPECT_EQ(Caret(), (TextPos{0, 0}));
}

TEST_F(Commands, MacroRecordsTwoBytesPerCommandAndReplaysAsOneUndoStep) {
    Load(ed, "abcd");
    Run(cmdRecordMacro);
    EXPECT_TRUE(ed.Recording());
    Run({cmdRight, cmdRight, 'x'});
    Run(cmdRecordMacro);
    EXPECT_FALSE(ed.Recording());
    EXPECT_EQ(ed.Macro(), std::string("\x03\x01\x03\x01x\x00", 6));
    EXPECT_EQ(ed.Text(), "abxcd\r\n");

    ed.SetCaret(0, 0);
    Run(cmdPlayMacro);
    EXPECT_EQ(ed.Text(), "abxxcd\r\n");
    EXPECT_EQ(ed.UpdateLock(), 0);
    Run(cmdUndo);
    EXPECT_EQ(ed.Text(), "abxcd\r\n");
    EXPECT_EQ(Caret(), (TextPos{0, 0}));
}

TEST_F(Commands, PlayingWhileRecordingRecordsOnlyThePlayCommand) {
    Load(ed, "abc");
    Run({cmdRecordMacro, cmdRight, cmdRecordMacro});
    Run(cmdRecordMacro);
    Run(cmdPlayMacro);
    EXPECT_EQ(ed.RecordBuffer(), std::string("\x95\x01", 2));
    Run(cmdRecordMacro);
    // The macro now plays itself; the nested playback is ignored instead of recursing.
    ed.SetCaret(0, 0);
    Run(cmdPlayMacro);
    EXPECT_EQ(Caret(), (TextPos{0, 0}));
}

TEST_F(Commands, MacroHoldsOnlyTheCommandsGivenNotTheOnesTheyRunOrPost) {
    // Word left over a row of blanks runs itself again to reach the row above.
    Load(ed, "one two\r\n  three");
    ed.SetCaret(2, 1);
    Run({cmdRecordMacro, cmdWordLeft, cmdRecordMacro});
    EXPECT_EQ(Caret(), (TextPos{7, 0}));
    EXPECT_EQ(ed.Macro(), std::string("\x0d\x01", 2));
    ed.SetCaret(2, 1);
    Run(cmdPlayMacro);
    EXPECT_EQ(Caret(), (TextPos{7, 0}));

    // Tab with a selection posts the block indent; playing it back indents once.
    Load(ed, "a\r\nb");
    Run({cmdRecordMacro, cmdSelRight, cmdTab});
    ed.RunPostedCommands();
    Run(cmdRecordMacro);
    EXPECT_EQ(ed.Text(), "    a\r\nb\r\n");
    EXPECT_EQ(ed.Macro(), std::string("\x0b\x01\x69\x01", 4));
    Load(ed, "a\r\nb");
    Run(cmdPlayMacro);
    ed.RunPostedCommands();
    EXPECT_EQ(ed.Text(), "    a\r\nb\r\n");

    // A command posted from outside (the platform's cut, copy and paste) is the user's own.
    Run(cmdRecordMacro);
    ed.PostCommand(cmdDocEnd);
    ed.RunPostedCommands();
    Run(cmdRecordMacro);
    EXPECT_EQ(ed.Macro(), std::string("\x1b\x01", 2));
}

TEST_F(Commands, PlaybackDoesWhatTheRecordingDid) {
    // The block indent that Tab posts runs before the next command, as it did when recorded.
    Load(ed, "a\r\nb");
    Run({cmdRecordMacro, cmdSelDown, cmdTab});
    ed.RunPostedCommands();
    Run({cmdDocEnd, 'z', cmdRecordMacro});
    EXPECT_EQ(ed.Text(), "    a\r\nbz\r\n");
    Load(ed, "a\r\nb");
    Run(cmdPlayMacro);
    EXPECT_EQ(ed.Text(), "    a\r\nbz\r\n");
    EXPECT_FALSE(ed.HasPostedCommands());

    // Rows added by a paste are there for the next command although the view is not updated
    // until the playback ends.
    MemoryClipboard clipboard;
    clipboard.text = U"1\n2";
    ed.SetClipboard(&clipboard);
    Load(ed, "ab");
    Run({cmdRecordMacro, cmdPaste, cmdUp, cmdDown, 'z', cmdRecordMacro});
    EXPECT_EQ(ed.Text(), "1\r\n2zab\r\n");
    Load(ed, "ab");
    Run(cmdPlayMacro);
    EXPECT_EQ(ed.Text(), "1\r\n2zab\r\n");

    // The same for the scroll range that a paste below the text extends.
    ed.CursorBeyondEOF = true;
    Load(ed, "ab");
    Run({cmdRecordMacro, cmdPageDown, cmdPaste, cmdScrollLineDown, cmdRecordMacro});
    const TextPos recorded = Caret();
    const int recordedTop = ed.TopRow();
    Load(ed, "ab");
    Run(cmdPlayMacro);
    EXPECT_EQ(Caret(), recorded);
    EXPECT_EQ(ed.TopRow(), recordedTop);

    // A block indent that makes a wrapped paragraph take one more row extends the range too.
    ed.SetWordWrap(true);
    const std::string text = [] {
        std::string t;
        for (int i = 0; i < 24; ++i)
            t += "line\r\n";
        return t + std::string(40, 'a') + " " + std::string(37, 'b');
    }();
    Load(ed, text);
    Run({cmdRecordMacro, cmdSelectAll, cmdTab});
    ed.RunPostedCommands();
    Run({cmdScrollLineDown, cmdRecordMacro});
    ASSERT_EQ(ed.Lines().RowCount(), 26);
    EXPECT_EQ(ed.TopRow(), 1);
    Load(ed, text);
    Run(cmdPlayMacro);
    EXPECT_EQ(ed.TopRow(), 1);
}

TEST_F(Commands, WideCharactersAreRecordedWithTheEscapeCode) {
    Load(ed, "");
    Run(cmdRecordMacro);
    ed.TypeChar(U'\u00e9');
    ed.TypeChar(U'\U0001F3B5');
    Run(cmdRecordMacro);
    EXPECT_EQ(ed.Macro(), std::string("\xe9\x00\x00\x01\xb5\xf3\x01\x00", 8));
    Run(cmdPlayMacro);
    EXPECT_EQ(ed.Text(), "\xc3\xa9\xf0\x9f\x8e\xb5\xc3\xa9\xf0\x9f\x8e\xb5\r\n");
    Run(cmdWideCharEscape); // a bare escape is no command
    EXPECT_EQ(ed.Text(), "\xc3\xa9\xf0\x9f\x8e\xb5\xc3\xa9\xf0\x9f\x8e\xb5\r\n");
}

TEST_F(Commands, HostHooksReceiveAndInsertText) {
    Load(ed, "hello world");
    std::u32string saved;
    ed.OnSaveBlock = [&](CustomTextEditor&, const std::u32string& t) { saved = t; };
    Run(cmdSaveBlock);
    EXPECT_EQ(saved, U""); // nothing selected
    ed.SetCaret(6, 0);
    Run(cmdSelectWord);
    Run(cmdSaveBlock);
    EXPECT_EQ(saved, U"world");

    ed.OnBlockOperation = [](CustomTextEditor&, int id, const std::u32string& t) {
        return t + U"#" + std::u32string(1, char32_t(U'0' + id));
    };
    Run(BlockOperationCommand(2));
    EXPECT_EQ(ed.Text(), "hello world#2\r\n");

    ed.OnInsertMacro = [](CustomTextEditor&, int id) {
        return id == 35 ? std::u32string(U"<z>") : std::u32string();
    };
    Run(cmdLineStart);
    Run(InsertMacroCommand(1));
    EXPECT_EQ(ed.Text(), "hello world#2\r\n");
    Run(InsertMacroCommand(35));
    EXPECT_EQ(ed.Text(), "<z>hello world#2\r\n");

    ed.OnInsertBlock = [](CustomTextEditor&, std::u32string& t) {
        t = U"B";
        return true;
    };
    Run(cmdInsertBlock);
    EXPECT_EQ(ed.Text(), "<z>Bhello world#2\r\n");
    ed.SetReadOnly(true);
    Run(cmdInsertBlock);
    EXPECT_EQ(ed.Text(), "<z>Bhello world#2\r\n");
}

TEST_F(Commands, UnusedCodesAndCompletionDoNothing) {
    Load(ed, "abc");
    for (std::uint16_t code : {256, 261, 300, 365, 406, 475, 0xFFFF, 402, 403})
        Run(code);
    EXPECT_EQ(ed.Text(), "abc\r\n");
    EXPECT_EQ(Caret(), (TextPos{0, 0}));
}

TEST_F(Commands, ToggleInsertModeAnnouncesTheStatus) {
    int status = 0;
    ed.OnChangeStatus = [&](CustomTextEditor&) { ++status; };
    Run(cmdToggleInsertMode);
    EXPECT_FALSE(ed.InsertMode());
    EXPECT_GT(status, 0);
}

TEST_F(Commands, AHostExceptionEndsTheCommandAndPassesOn) {
    Load(ed, "abc");
    ed.SetCaret(1, 0);
    Run(cmdSelectWord);
    ed.OnBlockOperation = [](CustomTextEditor&, int, const std::u32string&) -> std::u32string {
        throw std::runtime_error("host failed");
    };
    EXPECT_THROW(Run(BlockOperationCommand(0)), std::runtime_error);
    EXPECT_EQ(ed.Text(), "abc\r\n");
}

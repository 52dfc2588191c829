// The command executor: movement and its selecting twins, words, pages, bookmarks, macros, hooks.
#include "EditorTestSupport.h"

using namespace velmora::editor;
using namespace velmora::editor::test;

using Commands = EditorFixture<>;

TEST_F(Commands, LeftAndRightStopOrWrapAtTheRowEnds) {
    Load(ed, "abc\r\nde");
    Run(cmdLeft); // at the start: nothing, not even a record
    EXPECT_EQ(Caret(), (TextPos{0, 0}));
    EXPECT_EQ(ed.UndoList().Count(), 0);

    // Right wraps to the next row only when the caret may not pass the end.
    ed.CursorBeyondEOL = false;
    ed.SetCaret(3, 0);
    Moves({{cmdRight, {0, 1}}, {cmdLeft, {3, 0}}});
    ed.SetCaret(2, 1);
    Moves({{cmdRight, {2, 1}}});
    ed.CursorBeyondEOL = true;
    ed.SetCaret(3, 0);
    Moves({{cmdRight, {4, 0}}});
}

TEST_F(Commands, DownBelowTheTextOnlyForThePlainCommandBeyondEof) {
    LoadAt("a\r\nbcd", 3, 1);
    Moves({{cmdDown, {3, 1}}});
    ed.CursorBeyondEOF = true;
    Moves({{cmdSelDown, {3, 1}}});
    EXPECT_FALSE(ed.Selected());
    Moves({{cmdDown, {3, 2}}});
    ed.CursorBeyondEOL = false;
    ed.SetCaret(3, 1);
    Moves({{cmdUp, {1, 0}}, {cmdUp, {1, 0}}});
}

TEST_F(Commands, SelectingTwinsAnchorAtTheOldCaretAndPlainMovesDeselect) {
    LoadAt("abcdef\r\nghi", 2, 0);
    Run({cmdSelRight, cmdSelRight, cmdSelDown});
    EXPECT_EQ(Sel(), (Span{{2, 0}, {4, 1}}));
    EXPECT_EQ(S(ed.SelText()), "cdef\r\nghi");
    Run(cmdSelLineStart);
    EXPECT_EQ(Sel(), (Span{{2, 0}, {0, 1}}));
    EXPECT_EQ(S(ed.SelText()), "cdef\r\n");
    Run(cmdLeft);
    EXPECT_FALSE(ed.Selected());
}

TEST_F(Commands, WordMovementStopsAtWordStartsAndCrossesRows) {
    LoadAt("foo.bar baz", 11, 0);
    Moves({{cmdWordLeft, {8, 0}},
           {cmdWordLeft, {4, 0}},
           {cmdWordLeft, {0, 0}},
           {cmdWordRight, {4, 0}},
           {cmdWordRight, {8, 0}},
           {cmdWordRight, {11, 0}}});

    LoadAt("ab cd\r\n  ef\r\n..gh", 5, 0);
    Moves({{cmdWordRight, {2, 1}}}); // to the next row, past its leading blanks
    ed.SetCaret(2, 2);
    Moves({{cmdWordLeft, {4, 1}}}); // only separators before the caret: the previous row's end
    ed.SetCaret(0, 1);
    Moves({{cmdWordLeft, {5, 0}}});
    Run(cmdSelWordLeft);
    EXPECT_EQ(S(ed.SelText()), "cd");
}

TEST_F(Commands, SelectWordTakesTheWordAroundTheCaret) {
    LoadAt("one two.three", 5, 0);
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
    LoadAt("   abc", 5, 0);
    ed.SimpleBeginLine = false;
    Moves({{cmdLineStart, {3, 0}}, {cmdLineStart, {0, 0}}});
    ed.SimpleBeginLine = true;
    ed.SetCaret(5, 0);
    Moves({{cmdLineStart, {0, 0}}, {cmdLineEnd, {6, 0}}});
}

TEST_F(Commands, SelectAllSelectsTheWholeTextAndEndsAtItsEnd) {
    Load(ed, "ab\r\nc");
    Run(cmdSelectAll);
    EXPECT_EQ(Sel(), (Span{{0, 0}, {1, 1}}));
    EXPECT_EQ(Caret(), (TextPos{1, 1}));
    EXPECT_EQ(S(ed.SelText()), "ab\r\nc");
    EXPECT_EQ(ed.CompoundDepth(), 0);
    EXPECT_EQ(ed.UpdateLock(), 0);
}

TEST_F(Commands, DocumentWindowScrollAndPageCommandsMoveTheViewAndKeepTheCaretInside) {
    ed.SetClientSize(642, 160); // 10 rows
    Load(ed, Rows(40));
    Moves({{cmdDocEnd, {4, 39}}});
    EXPECT_EQ(ed.TopRow(), 30);
    Moves({{cmdDocStart, {0, 0}}});
    EXPECT_EQ(ed.TopRow(), 0);

    struct Step {
        std::uint16_t code;
        int top, caretY;
    };
    const Step steps[] = {{cmdScrollLineDown, 1, 1},
                          {cmdScrollPageDown, 10, 10},
                          {cmdScrollLineUp, 9, 10},
                          {cmdScrollPageUp, 0, 9}};
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << "command " << s.code);
        Run(s.code);
        EXPECT_EQ(ed.TopRow(), s.top);
        EXPECT_EQ(ed.CaretY(), s.caretY);
    }
    ed.SetCaret(2, 5);
    Run(cmdWindowBottom);
    EXPECT_EQ(ed.CaretY(), 9);
    Run(cmdWindowTop);
    EXPECT_EQ(ed.CaretY(), 0);

    // Pages move by a window and keep the caret visible.
    ed.SetCaret(0, 0);
    Run(cmdPageDown);
    EXPECT_EQ(ed.CaretY(), 10);
    EXPECT_GE(ed.CaretY(), ed.TopRow());
    EXPECT_LE(ed.CaretY(), ed.LastVisibleRow());
    Run({cmdPageDown, cmdPageDown, cmdPageDown, cmdPageDown});
    EXPECT_EQ(ed.CaretY(), 39);
    Run(cmdSelPageUp);
    EXPECT_EQ(ed.CaretY(), 29);
    EXPECT_EQ(Sel(), (Span{{0, 29}, {0, 39}}));
    EXPECT_EQ(ed.UpdateLock(), 0);
    Run(cmdPageUp);
    EXPECT_FALSE(ed.Selected());
    EXPECT_LE(ed.TopRow(), ed.CaretY());
}

TEST_F(Commands, BookmarksToggleOnTheirRowAndJumpWithUndo) {
    LoadAt("a\r\nbb\r\nccc", 1, 1);
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
    Moves({{cmdGotoBookmark3, {2, 2}}, {cmdUndo, {0, 0}}, {cmdGotoBookmark5, {0, 0}}});
}

TEST_F(Commands, MacroRecordsTwoBytesPerCommandAndReplaysAsOneUndoStep) {
    Load(ed, "abcd");
    Run(cmdRecordMacro);
    EXPECT_TRUE(ed.Recording());
    Run({cmdRight, cmdRight, 'x', cmdRecordMacro});
    EXPECT_FALSE(ed.Recording());
    EXPECT_EQ(ed.Macro(), std::string("\x03\x01\x03\x01x\x00", 6));
    EXPECT_EQ(ed.Text(), "abxcd\r\n");

    ed.SetCaret(0, 0);
    Edits({{cmdPlayMacro, "abxxcd\r\n"}});
    EXPECT_EQ(ed.UpdateLock(), 0);
    Edits({{cmdUndo, "abxcd\r\n", TextPos{0, 0}}});

    // Wide characters are recorded behind the escape code; a bare escape is no command.
    Load(ed, "");
    Run(cmdRecordMacro);
    Type(ed, U"\u00e9\U0001F3B5");
    Run(cmdRecordMacro);
    EXPECT_EQ(ed.Macro(), std::string("\xe9\x00\x00\x01\xb5\xf3\x01\x00", 8));
    Edits({{cmdPlayMacro, "\xc3\xa9\xf0\x9f\x8e\xb5\xc3\xa9\xf0\x9f\x8e\xb5\r\n"},
           {cmdWideCharEscape, "\xc3\xa9\xf0\x9f\x8e\xb5\xc3\xa9\xf0\x9f\x8e\xb5\r\n"}});
}

TEST_F(Commands, PlayingWhileRecordingRecordsOnlyThePlayCommand) {
    Load(ed, "abc");
    Run({cmdRecordMacro, cmdRight, cmdRecordMacro, cmdRecordMacro, cmdPlayMacro});
    EXPECT_EQ(ed.RecordBuffer(), std::string("\x95\x01", 2));
    Run(cmdRecordMacro);
    // The macro now plays itself; the nested playback is ignored instead of recursing.
    ed.SetCaret(0, 0);
    Moves({{cmdPlayMacro, {0, 0}}});
}

TEST_F(Commands, MacroHoldsOnlyTheCommandsGivenNotTheOnesTheyRunOrPost) {
    // Word left over a row of blanks runs itself again to reach the row above.
    LoadAt("one two\r\n  three", 2, 1);
    Run({cmdRecordMacro, cmdWordLeft, cmdRecordMacro});
    EXPECT_EQ(Caret(), (TextPos{7, 0}));
    EXPECT_EQ(ed.Macro(), std::string("\x0d\x01", 2));
    ed.SetCaret(2, 1);
    Moves({{cmdPlayMacro, {7, 0}}});

    // Tab with a selection posts the block indent; playing it back indents once.
    Load(ed, "a\r\nb");
    Run({cmdRecordMacro, cmdSelRight, cmdTab});
    ed.RunPostedCommands();
    Edits({{cmdRecordMacro, "    a\r\nb\r\n"}});
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
    // Records on `text`, plays back on a fresh copy and compares text, caret and view.
    auto recordAndReplay = [&](const std::string& text, std::initializer_list<std::uint16_t> cmds,
                               bool runPostedAfterTab = false) {
        Load(ed, text);
        Run(cmdRecordMacro);
        for (auto c : cmds) {
            Run(c);
            if (runPostedAfterTab && c == cmdTab) ed.RunPostedCommands();
        }
        Run(cmdRecordMacro);
        const std::string recText = ed.Text();
        const TextPos recCaret = Caret();
        const int recTop = ed.TopRow();
        Load(ed, text);
        Run(cmdPlayMacro);
        EXPECT_EQ(ed.Text(), recText);
        EXPECT_EQ(Caret(), recCaret);
        EXPECT_EQ(ed.TopRow(), recTop);
        EXPECT_FALSE(ed.HasPostedCommands());
        return recText;
    };
    // The block indent that Tab posts runs before the next command, as it did when recorded.
    EXPECT_EQ(recordAndReplay("a\r\nb", {cmdSelDown, cmdTab, cmdDocEnd, 'z'}, true),
              "    a\r\nbz\r\n");
    // Rows added by a paste are there for the next command although the view is not updated
    // until the playback ends.
    clip.text = U"1\n2";
    EXPECT_EQ(recordAndReplay("ab", {cmdPaste, cmdUp, cmdDown, 'z'}), "1\r\n2zab\r\n");
    // The same for the scroll range that a paste below the text extends.
    ed.CursorBeyondEOF = true;
    recordAndReplay("ab", {cmdPageDown, cmdPaste, cmdScrollLineDown});

    // A block indent that makes a wrapped paragraph take one more row extends the range too.
    ed.SetWordWrap(true);
    const std::string text = Rows(24) + std::string(40, 'a') + " " + std::string(37, 'b');
    recordAndReplay(text, {cmdSelectAll, cmdTab, cmdScrollLineDown}, true);
    EXPECT_EQ(ed.Lines().RowCount(), 26);
    EXPECT_EQ(ed.TopRow(), 1);
}

TEST_F(Commands, HostHooksReceiveAndInsertText) {
    Load(ed, "hello world");
    std::u32string saved;
    ed.OnSaveBlock = [&](CustomTextEditor&, const std::u32string& t) { saved = t; };
    Run(cmdSaveBlock);
    EXPECT_EQ(saved, U""); // nothing selected
    ed.SetCaret(6, 0);
    Run({cmdSelectWord, cmdSaveBlock});
    EXPECT_EQ(saved, U"world");

    ed.OnBlockOperation = [](CustomTextEditor&, int id, const std::u32string& t) {
        return t + U"#" + std::u32string(1, char32_t(U'0' + id));
    };
    ed.OnInsertMacro = [](CustomTextEditor&, int id) {
        return id == 35 ? std::u32string(U"<z>") : std::u32string();
    };
    ed.OnInsertBlock = [](CustomTextEditor&, std::u32string& t) {
        t = U"B";
        return true;
    };
    Edits({{BlockOperationCommand(2), "hello world#2\r\n"},
           {cmdLineStart, "hello world#2\r\n"},
           {InsertMacroCommand(1), "hello world#2\r\n"},
           {InsertMacroCommand(35), "<z>hello world#2\r\n"},
           {cmdInsertBlock, "<z>Bhello world#2\r\n"}});
    ed.SetReadOnly(true);
    Edits({{cmdInsertBlock, "<z>Bhello world#2\r\n"}});
}

TEST_F(Commands, UnusedCodesAndCompletionDoNothing) {
    Load(ed, "abc");
    for (std::uint16_t code : {256, 261, 300, 365, 406, 475, 0xFFFF, 402, 403})
        Edits({{code, "abc\r\n", TextPos{0, 0}}});
}

TEST_F(Commands, ToggleInsertModeAnnouncesTheStatus) {
    int status = 0;
    ed.OnChangeStatus = [&](CustomTextEditor&) { ++status; };
    Run(cmdToggleInsertMode);
    EXPECT_FALSE(ed.InsertMode());
    EXPECT_GT(status, 0);
}

TEST_F(Commands, AHostExceptionEndsTheCommandAndPassesOn) {
    LoadAt("abc", 1, 0);
    Run(cmdSelectWord);
    ed.OnBlockOperation = [](CustomTextEditor&, int, const std::u32string&) -> std::u32string {
        throw std::runtime_error("host failed");
    };
    EXPECT_THROW(Run(BlockOperationCommand(0)), std::runtime_error);
    EXPECT_EQ(ed.Text(), "abc\r\n");
}

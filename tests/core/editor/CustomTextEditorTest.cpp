// Editor state: caret rules, selection, offsets, text operations, events and view numbers.
#include "EditorTestSupport.h"
#include "core/editor/EditorErrors.h"

using namespace velmora::editor;
using namespace velmora::editor::test;

namespace {

// Counts what the widget would be asked to do.
class ProbeEditor : public CustomTextEditor {
public:
    mutable int beeps = 0;

protected:
    CellSize MeasureCell() override { return {10, 20}; }
    void Beep() const override { ++beeps; }
};

} // namespace

using Editor = EditorFixture<>;

TEST_F(Editor, MoveCaretClampsRowsAndColumnsAndScrollsTheView) {
    Load(ed, "a\r\nb\r\nc");
    ed.MoveCaret(0, 1000);
    EXPECT_EQ(ed.CaretY(), 2);
    ed.MoveCaret(-5, -5);
    EXPECT_EQ(Caret(), (TextPos{0, 0}));
    ed.MoveCaret(10000, 0);
    EXPECT_EQ(ed.CaretX(), 512);
    EXPECT_EQ(ed.LeftCol(), 512 - ed.VisibleColCount());

    ed.CursorBeyondEOF = true;
    int scrolls = 0;
    ed.OnScroll = [&](CustomTextEditor&) { ++scrolls; };
    ed.MoveCaret(0, 1000);
    EXPECT_EQ(ed.CaretY(), 1000);
    EXPECT_EQ(ed.LastVisibleRow(), 1000);
    EXPECT_EQ(ed.TopRow(), 1000 - ed.VisibleRowCount() + 1);
    EXPECT_EQ(ed.LeftCol(), 0);
    EXPECT_EQ(scrolls, 2);
}

TEST_F(Editor, SetCaretRecordsAMoveOnlyWhenTheCaretMoves) {
    Load(ed, "abc");
    int status = 0;
    ed.OnChangeStatus = [&](CustomTextEditor&) { ++status; };
    ed.SetCaret(0, 0);
    EXPECT_EQ(ed.UndoList().Count(), 0);
    EXPECT_EQ(status, 0);
    ed.SetCaret(2, 0);
    ASSERT_EQ(ed.UndoList().Count(), 1);
    EXPECT_EQ(ed.UndoList().Item(0)->Kind(), UndoKind::Caret);
    EXPECT_GT(status, 0);
}

TEST_F(Editor, SelectionPivotsAroundTheAnchorAndReadsWithTwoCharacterBreaks) {
    Load(ed, "abcdef\r\nghijkl");
    Extend(3, 0, 1, 0);
    EXPECT_EQ(Sel(), (Span{{1, 0}, {3, 0}}));
    ed.ExtendSelection(5, 1);
    EXPECT_EQ(Sel(), (Span{{3, 0}, {5, 1}}));
    EXPECT_EQ(ed.RepaintFirstRow(), 0);
    EXPECT_EQ(ed.RepaintLastRow(), 1);

    Load(ed, "ab\r\ncd");
    Extend(1, 0, 1, 1);
    EXPECT_EQ(S(ed.SelText()), "b\r\nc");
    EXPECT_EQ(ed.SelStart(), 2);
    EXPECT_EQ(ed.SelLength(), 4);
    ed.SetSelStart(1);
    ed.SetSelLength(0);
    EXPECT_FALSE(ed.Selected());
    EXPECT_EQ(Caret(), (TextPos{0, 0}));
    ed.SetSelStart(2);
    ed.SetSelLength(4);
    EXPECT_TRUE(ed.Selected());
    EXPECT_EQ(S(ed.SelText()), "b\r\nc");
    EXPECT_EQ(Caret(), (TextPos{1, 1}));
}

TEST(EditorProbe, SelectionOverVanishedRowsBeepsAndTheCellSetsTheViewNumbers) {
    ProbeEditor ed;
    ed.CursorBeyondEOF = true;
    Load(ed, "ab");
    ed.ExtendSelection(0, 0);
    ed.ExtendSelection(1, 5);
    EXPECT_EQ(ed.SelText(), U"");
    EXPECT_EQ(ed.beeps, 1);
    // The widget's cell takes effect once it has been set up.
    ed.Loaded();
    EXPECT_EQ(ed.CellWidth(), 10);
    EXPECT_EQ(ed.LineHeight(), 20);
    EXPECT_EQ(ed.VisibleColCount(), (642 - 2) / 10);
    ed.SetGutterWidth(20);
    EXPECT_EQ(ed.CellRect(2, 3), (Rect{20 + 2 + 2 * 10 + 1, 60, 10, 20}));
    EXPECT_EQ(ed.TextAreaRect(), (Rect{22, 0, 620, 400}));
    ed.SetGutterWidth(0);
    ed.SetClientSize(202, 100);
    EXPECT_EQ(ed.VisibleColCount(), 20);
    EXPECT_EQ(ed.VisibleRowCount(), 5);
    EXPECT_EQ(ed.LastVisibleRow(), 4);
}

TEST_F(Editor, OffsetsCountTwoPerBreakAndRowsClampColumns) {
    Load(ed, "ab\r\ncd");
    const std::pair<TextPos, int> toOffset[] = {
        {{1, 1}, 5}, {{9, 0}, 2}, {{0, 7}, 8}, {{0, -1}, -1}};
    for (const auto& [pos, offset] : toOffset)
        EXPECT_EQ(ed.PosToOffset(pos.X, pos.Y), offset) << pos.X << "," << pos.Y;
    // Offset 3 lies inside a break.
    const std::pair<int, TextPos> toPos[] = {{5, {1, 1}}, {4, {0, 1}}, {3, {0, 1}}, {100, {2, 1}}};
    for (const auto& [offset, pos] : toPos)
        EXPECT_EQ(ed.OffsetToPos(offset), pos) << offset;
    CustomTextEditor empty;
    EXPECT_EQ(empty.OffsetToPos(0), (TextPos{-1, -1}));

    Load(ed, "abc\r\n");
    EXPECT_EQ(ed.ClampToRow(9, 0), 3);
    EXPECT_EQ(ed.ClampToRow(9, 4), 9);
    EXPECT_FALSE(ed.IsRowValid(1));
    Load(ed, "\r\nx");
    EXPECT_EQ(ed.ClampToRow(5, 0), 0);
}

TEST_F(Editor, ReplaceSelectionLeavesTheNewTextSelectedAndUndoesInOneStep) {
    Load(ed, "one two three");
    Extend(4, 0, 7, 0);
    ed.ReplaceSelection(U"xyz!");
    EXPECT_EQ(ed.Text(), "one xyz! three\r\n");
    EXPECT_TRUE(ed.Selected());
    EXPECT_EQ(ed.SelText(), U"xyz!");
    Edits({{cmdUndo, "one two three\r\n"}});
    EXPECT_TRUE(ed.Selected());
    EXPECT_EQ(ed.SelText(), U"two");

    // Without a selection the inserted text is what ends up selected.
    LoadAt("ab", 1, 0);
    ed.ReplaceSelection(U"Q");
    EXPECT_EQ(ed.Text(), "aQb\r\n");
    EXPECT_EQ(ed.SelText(), U"Q");
}

TEST_F(Editor, TextWithBareBreaksInsertsSelectsAndUndoesWhole) {
    // A host's block operation may hand back LF or CR alone; the text stores CR LF.
    Load(ed, "abcd");
    Extend(1, 0, 3, 0);
    ed.ReplaceSelection(U"x\ny");
    EXPECT_EQ(ed.Text(), "ax\r\nyd\r\n");
    EXPECT_EQ(ed.SelText(), U"x\r\ny");
    Edits({{cmdUndo, "abcd\r\n"}});

    ed.SetCaret(2, 0);
    ed.InsertAtCaret(U"x\ry");
    EXPECT_EQ(ed.Text(), "abx\r\nycd\r\n");
    EXPECT_EQ(Caret(), (TextPos{1, 1}));
    Edits({{cmdUndo, "abcd\r\n"}});
}

TEST_F(Editor, InsertTextNormalisesBreaksExpandsTabsAndLetsTheHostChangeIt) {
    LoadAt("ab", 1, 0);
    ed.OnTextInsert = [](CustomTextEditor&, std::u32string& t) { t += U"!"; };
    ed.InsertText(U"x\ny\rz\t");
    EXPECT_EQ(ed.Text(), "ax\r\ny\r\nz    !b\r\n");
    EXPECT_EQ(Caret(), (TextPos{6, 2}));
    EXPECT_TRUE(ed.Modified());
    Edits({{cmdUndo, "ab\r\n"}});

    // Beyond the text the row is padded, and undo takes the padding too.
    ed.OnTextInsert = nullptr;
    ed.CursorBeyondEOF = true;
    LoadAt("ab", 4, 1);
    ed.InsertAtCaret(U"\tz");
    EXPECT_EQ(ed.Text(), "ab\r\n        z\r\n");
    Edits({{cmdUndo, "ab\r\n"}});
}

TEST_F(Editor, DeleteSelectedRemovesTheRangeButNotInReadOnly) {
    Load(ed, "abc\r\ndef");
    Extend(1, 0, 1, 1);
    ed.SetReadOnly(true);
    ed.DeleteSelected();
    EXPECT_EQ(ed.Text(), "abc\r\ndef\r\n");
    ed.SetReadOnly(false);
    ed.DeleteSelected();
    EXPECT_EQ(ed.Text(), "aef\r\n");
    EXPECT_EQ(Caret(), (TextPos{1, 0}));
    EXPECT_FALSE(ed.Selected());
}

TEST_F(Editor, EventsFireOnlyWhenSetAndCarryTheSender) {
    Load(ed, "ab");
    ed.ExtendSelection(0, 0);
    ed.DeleteSelected(); // nothing selected in effect: no event needed, no crash
    CustomTextEditor* sender = nullptr;
    int changes = 0, selections = 0;
    ed.OnChange = [&](CustomTextEditor& s) {
        sender = &s;
        ++changes;
    };
    ed.OnSelectionChange = [&](CustomTextEditor&) { ++selections; };
    ed.TypeChar(U'x');
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(sender, &ed);
    Run(cmdSelectAll);
    EXPECT_GT(selections, 0);
}

TEST_F(Editor, RightMarginBelowEightIsRefused) {
    EXPECT_EQ(ThrownMessage<EInvalidRightMarginValue>([&] { ed.SetRightMargin(7); }),
              "Invalid right margin value");
    EXPECT_EQ(ed.RightMargin(), 80);
    ed.SetRightMargin(8);
    EXPECT_EQ(ed.RightMargin(), 8);
}

TEST_F(Editor, LoadedClearsModifiedAndUpdateBracketsNest) {
    ed.TypeChar(U'a');
    EXPECT_TRUE(ed.Modified());
    ed.Loaded();
    EXPECT_FALSE(ed.Modified());
    int status = 0;
    ed.OnChangeStatus = [&](CustomTextEditor&) { ++status; };
    ed.BeginUpdate();
    ed.BeginUpdate();
    ed.EndUpdate();
    EXPECT_EQ(status, 0);
    ed.EndUpdate();
    EXPECT_EQ(status, 1);
    ed.EndUpdate(); // unbalanced: ignored
    EXPECT_EQ(ed.UpdateLock(), 0);
}

TEST_F(Editor, ScrollBarsFollowTheTextAndTheViewScrolls) {
    ed.SetClientSize(642, 160); // 10 rows
    Load(ed, Rows(25, "row"));
    EXPECT_EQ(ed.VertBar().Max(), 24);
    EXPECT_EQ(ed.VertBar().Page(), 10);
    EXPECT_EQ(ed.VertBar().LargeChange(), 9);
    ed.VertBar().SetPosition(20);
    EXPECT_EQ(ed.VertBar().Position(), 15);
    Load(ed, "a\r\nb\r\nc\r\nd\r\ne");
    EXPECT_EQ(ed.VertBar().Max(), 0);

    int scrolls = 0;
    ed.OnScroll = [&](CustomTextEditor&) { ++scrolls; };
    ed.SetLeftTop(-3, 2);
    EXPECT_EQ(ed.TopRow(), 2);
    EXPECT_EQ(ed.LeftCol(), 0);
    EXPECT_EQ(scrolls, 1);
    ed.BeginUpdate();
    ed.Scroll(true, 4);
    EXPECT_EQ(scrolls, 2); // also while locked
    EXPECT_EQ(ed.LastVisibleRow(), 13);
    ed.EndUpdate();

    // A row outside the window is centred.
    Load(ed, Rows(100, "row"));
    ed.ScrollToCaretCentered(1, 50);
    EXPECT_EQ(ed.TopRow(), 45);
    EXPECT_EQ(Caret(), (TextPos{1, 50}));
}

TEST_F(Editor, UnicodeCharactersAreSingleColumnsAndFileNamesRoundTrip) {
    Load(ed, "Bj\xc3\xb6rk \xe2\x80\x93 J\xc3\xb3ga\r\n\xff bad.mp3");
    EXPECT_EQ(ed.Lines().GetRow(0).size(), 12u);
    ed.SetCaret(2, 0);
    Type(ed, U"\u00e9\u4e2d\U0001F3B5");
    EXPECT_EQ(ed.CaretX(), 5);
    EXPECT_EQ(ed.Lines().Get(0),
              "Bj\xc3\xa9\xe4\xb8\xad\xf0\x9f\x8e\xb5\xc3\xb6rk \xe2\x80\x93 J\xc3\xb3ga");
    EXPECT_EQ(ed.Lines().Get(1), "\xff bad.mp3");
}

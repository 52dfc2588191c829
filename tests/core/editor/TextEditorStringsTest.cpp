// The line store: paragraphs, rows, word wrap, index errors, tabs and whole-text edits.
#include "EditorTestSupport.h"
#include "core/platform/Error.h"
#include "support/TempDir.h"

using namespace velmora::editor;
using namespace velmora::editor::test;
using velmora::platform::EStringListError;

struct Store : EditorFixture<> {
    TextEditorStrings& lines = ed.Lines();
};

TEST_F(Store, AddSplitsAtBreakRunsButWholeTextKeepsEmptyLines) {
    EXPECT_EQ(lines.Add("a\r\n\r\nb"), 0);
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines.Get(1), "b");
    EXPECT_EQ(lines.Add("\r\nx"), 2);
    EXPECT_EQ(lines.Get(2), "");
    EXPECT_EQ(lines.Get(3), "x");
    lines.Add("");
    EXPECT_EQ(lines.Count(), 5);

    lines.SetTextStr("a\r\n\r\nb");
    ASSERT_EQ(lines.Count(), 3);
    EXPECT_EQ(lines.Get(1), "");
    EXPECT_EQ(ed.Text(), "a\r\n\r\nb\r\n");
}

TEST_F(Store, IndexErrorsRaiseAndLeaveTheStoreUnchanged) {
    Load(ed, "a\r\nb");
    EXPECT_EQ(lines.Get(-1), "");
    EXPECT_EQ(lines.Get(2), "");
    EXPECT_EQ(lines.GetRow(7), U"");
    EXPECT_THROW(lines.Put(2, "x"), EStringListError);
    EXPECT_THROW(lines.Delete(2), EStringListError);
    EXPECT_THROW(lines.Insert(3, "x"), EStringListError);
    EXPECT_THROW(lines.GetParagraph(-1), EStringListError);
    EXPECT_EQ(ThrownMessage<EStringListError>([&] { lines.Delete(-4); }),
              "List index out of bounds (-4)");
    lines.Insert(2, "c"); // the end is allowed
    EXPECT_EQ(ed.Text(), "a\r\nb\r\nc\r\n");
}

TEST_F(Store, CapacityAndLengthGrowAndTabsExpandOnInsertOnly) {
    // Capacity: +4 up to 8 slots, +16 up to 64, then a quarter.
    std::vector<int> seen;
    for (int i = 0; i < 100; ++i) {
        lines.Add("a");
        if (seen.empty() || seen.back() != lines.Capacity()) seen.push_back(lines.Capacity());
    }
    EXPECT_EQ(seen, (std::vector<int>{4, 8, 12, 28, 44, 60, 76, 95, 118}));
    lines.Clear();
    EXPECT_EQ(lines.Capacity(), 0);
    EXPECT_EQ(lines.RowCount(), 0);

    lines.Add("a\t\tb"); // to the first stop
    EXPECT_EQ(lines.Get(0), "a        b");
    ed.TabSize = 0;
    lines.Add("a\tb");
    EXPECT_EQ(lines.Get(1), "ab");
    lines.Put(1, "x\ty");
    EXPECT_EQ(lines.Get(1), "x\ty");

    // The longest line only ever grows the maximum.
    EXPECT_EQ(ed.MaxLineLength(), 512);
    lines.Add(std::string(600, 'x'));
    EXPECT_EQ(ed.MaxLineLength(), 601);
    lines.Delete(2);
    EXPECT_EQ(ed.MaxLineLength(), 601);
}

TEST_F(Store, WordWrapCutsAfterTheLastBlankAndMapsRowsBothWays) {
    ed.SetWordWrap(true);
    lines.Add(std::string(200, 'a'));
    lines.Add(std::string(79, 'b') + " " + std::string(30, 'c'));
    lines.Add("short");
    Paragraph p0 = lines.GetParagraph(0);
    ASSERT_EQ(p0.PieceCount, 3);
    EXPECT_EQ(p0.Pieces[0].size(), 80u);
    EXPECT_EQ(p0.Pieces[2].size(), 40u);
    Paragraph p1 = lines.GetParagraph(1);
    ASSERT_EQ(p1.PieceCount, 2);
    EXPECT_EQ(p1.Pieces[0].back(), U' ');
    EXPECT_EQ(p1.Pieces[1], std::u32string(30, U'c'));
    EXPECT_EQ(p1.FirstRow, 3);
    EXPECT_EQ(lines.GetParagraph(2).FirstRow, 5);
    EXPECT_EQ(lines.RowCount(), 6);

    RowMapping m = lines.MapRow(4);
    EXPECT_EQ(m.Paragraph, 1);
    EXPECT_EQ(m.Piece, 1);
    EXPECT_EQ(lines.MapRow(6).Paragraph, -1);
    ParagraphPos pp = lines.RowToParagraph(5, 2);
    EXPECT_EQ(pp.Paragraph, 0);
    EXPECT_EQ(pp.Offset, 165);
    TextPos back = lines.ParagraphToRow(0, 165);
    EXPECT_EQ(back, (TextPos{5, 2}));
    EXPECT_THROW(lines.RowToParagraph(0, 6), EStringListError);
    EXPECT_EQ(lines.GetRow(4), std::u32string(30, U'c'));
    RowText rt = lines.RowWithOffset(4);
    EXPECT_EQ(rt.Paragraph, 1);
    EXPECT_EQ(rt.Offset, 80);

    // Shrinking the first paragraph renumbers the following ones.
    lines.Put(0, "x");
    EXPECT_EQ(lines.GetParagraph(1).FirstRow, 1);
    EXPECT_EQ(lines.RowCount(), 4);
    // A row can be replaced on its own; the paragraph is re-cut.
    lines.PutRow(2, U"zz");
    EXPECT_EQ(lines.Get(1), std::string(79, 'b') + " zz");
    EXPECT_THROW(lines.PutRow(9, U"q"), EStringListError);

    ed.SetWordWrap(false);
    EXPECT_EQ(lines.RowCount(), 3);
    EXPECT_EQ(lines.GetParagraph(2).FirstRow, 2);
}

TEST_F(Store, ChangesOnlyNotifyAsTextAllChangedAndLeaveModifiedAlone) {
    int changes = 0;
    ed.OnChange = [&](CustomTextEditor&) { ++changes; };
    Load(ed, "a\r\nb");
    Extend(0, 0, 1, 0);
    const int records = ed.UndoList().Count();
    ASSERT_TRUE(ed.Selected());
    lines.Put(0, "z");
    EXPECT_FALSE(ed.Selected()); // TextAllChanged dropped the selection
    lines.Delete(1);
    lines.Add("q");
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(ed.Modified());
    EXPECT_EQ(ed.UndoList().Count(), records);
}

TEST_F(Store, SetTextClearsUndoAndHomesTheCaretButLoadKeepsBoth) {
    LoadAt("abc", 2, 0);
    ASSERT_EQ(ed.UndoList().Count(), 1);
    int status = 0;
    ed.OnChangeStatus = [&](CustomTextEditor&) { ++status; };
    lines.SetTextStr("xyz\r\nw");
    EXPECT_EQ(ed.UndoList().Count(), 0);
    EXPECT_EQ(ed.CaretX(), 0);
    EXPECT_GT(status, 0);

    ed.SetCaret(1, 1);
    velmora::test::TempDir dir;
    dir.Write("names.txt", "one\ntwo\r\n\xff\xfe raw\r\n");
    int loaded = 0, saving = 0;
    lines.OnAfterLoad = [&](CustomTextEditor& sender) {
        EXPECT_EQ(&sender, &ed);
        ++loaded;
    };
    lines.OnBeforeSave = [&](CustomTextEditor&) { ++saving; };
    lines.LoadFromFile(dir / "names.txt");
    EXPECT_EQ(loaded, 1);
    ASSERT_EQ(lines.Count(), 3);
    EXPECT_EQ(lines.Get(2), "\xff\xfe raw"); // invalid UTF-8 round-trips byte for byte
    EXPECT_EQ(ed.UndoList().Count(), 1);
    EXPECT_EQ(ed.CaretY(), 1);
    EXPECT_EQ(ed.UpdateLock(), 0);

    lines.SaveToFile(dir / "copy.txt");
    EXPECT_EQ(saving, 1);
    EXPECT_EQ(dir.Read("copy.txt"), "one\r\ntwo\r\n\xff\xfe raw\r\n");

    EXPECT_THROW(lines.LoadFromFile(dir / "missing.txt"), velmora::platform::Exception);
    EXPECT_EQ(ed.UpdateLock(), 0);
    EXPECT_EQ(loaded, 1);
}

TEST_F(Store, ReplaceTextMatchesEditingTheWholeTextAndSplittingIt) {
    // Every edit of every range of a small text against the reference: edit the whole text
    // as one string and split it again.
    const std::u32string base = U"ab\r\n\r\ncde\r\nf\r\n";
    const std::u32string inserts[] = {U"", U"X", U"\r\n", U"Y\r\nZ", U"\r"};
    for (int off = 0; off <= static_cast<int>(base.size()); ++off) {
        for (int n = 0; off + n <= static_cast<int>(base.size()); ++n) {
            for (const auto& ins : inserts) {
                lines.SetText32(base);
                lines.ReplaceText(off, n, ins);
                std::u32string expect = base;
                expect.replace(static_cast<std::size_t>(off), static_cast<std::size_t>(n), ins);
                CustomTextEditor ref;
                ref.Lines().SetText32(expect);
                ASSERT_EQ(ed.Text(), ref.Text()) << off << "," << n << "," << S(ins);
                ASSERT_EQ(lines.TextLength(), static_cast<int>(ed.Text32().size()));
                ASSERT_EQ(lines.TextRange(0, 1000), ed.Text32());
            }
        }
    }
}

TEST_F(Store, FillToCaretPadsRowsAndBlanksWithUndoRecords) {
    ed.CursorBeyondEOF = true;
    Load(ed, "ab");
    ed.MoveCaret(3, 2);
    lines.FillToCaret();
    EXPECT_EQ(ed.Text(), "ab\r\n\r\n   \r\n");
    ASSERT_EQ(ed.UndoList().Count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ed.UndoList().Item(i)->Kind(), UndoKind::ReLine);
    Edits({{cmdUndo, "ab\r\n"}});
}

TEST(TextEditorStringsEdits, SpanCoversEveryParagraphTouchedSinceTheLastLook) {
    CustomTextEditor ed;
    auto& lines = ed.Lines();
    lines.SetTextStr("a\r\nb\r\nc\r\nd\r\ne\r\n");
    lines.TakeEdits();
    EXPECT_FALSE(lines.TakeEdits().Changed);

    lines.Put(2, "C");
    auto span = lines.TakeEdits();
    EXPECT_TRUE(span.Changed);
    EXPECT_EQ(span.First, 2);
    EXPECT_EQ(span.Tail, 2);
    EXPECT_EQ(span.OldCount, 5);

    // Two edits apart, one of them adding a line: one span from the first to the last.
    lines.Put(1, "B");
    lines.Insert(3, "x");
    span = lines.TakeEdits();
    EXPECT_EQ(span.First, 1);
    EXPECT_EQ(span.Tail, 2); // d and e
    EXPECT_EQ(span.OldCount, 5);
    EXPECT_EQ(lines.Count(), 6);

    // A line break typed into a line splits it: the rest moves down.
    lines.ReplaceText(lines.ParagraphStart(4) + 1, 0, U"\r\n");
    span = lines.TakeEdits();
    EXPECT_EQ(span.First, 4);
    EXPECT_EQ(span.Tail, 1);
    EXPECT_EQ(span.OldCount, 6);

    lines.Delete(0);
    lines.Clear();
    span = lines.TakeEdits();
    EXPECT_EQ(span.First, 0);
    EXPECT_EQ(span.Tail, 0);
    EXPECT_EQ(span.OldCount, 7);
}

// The names editor under the mouse: caret placement, drag selection, double-click, wheel.
#include "TextEditorTestSupport.h"

using namespace velmora;
using editor::TextPos;
using test::EditorFixture;

namespace {

struct MouseTest : EditorFixture {
    MouseTest() { Load("abcde\nsecond row\nlast"); }
};

} // namespace

TEST_F(MouseTest, ClicksPutTheCaretAtTheNearerCellEdge) {
    struct Case {
        const char* what;
        QPoint at;
        TextPos caret;
    };
    const int belowText = 8 * ed.LineHeight();
    const Case cases[] = {
        {"left half of c", Cell(2, 0), {2, 0}},
        {"right half of c", Cell(2, 0, true), {3, 0}},
        {"left half of the first cell", Cell(0, 1), {0, 1}},
        {"far right of a 5-character row", Cell(30, 0), {5, 0}},
        {"below the last row", QPoint(Cell(2, 0).x(), belowText), {2, 2}},
        {"left of the text area", QPoint(0, Cell(0, 1).y()), {0, 1}},
    };
    for (const Case& c : cases) {
        Click(c.at);
        EXPECT_EQ(Caret(), c.caret) << c.what;
        EXPECT_FALSE(ed.Selected()) << c.what;
    }
}

TEST_F(MouseTest, ShiftClickExtendsAndRightClickKeepsTheSelection) {
    Click(Cell(1, 0));
    Click(Cell(3, 1), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(SelText(), "bcde\r\nsec");
    // A right click moves the caret but keeps the selection (for the context menu).
    Click(Cell(2, 1), Qt::RightButton);
    EXPECT_EQ(Caret(), (TextPos{2, 1}));
    EXPECT_EQ(SelText(), "bcde\r\nsec");
    // A plain left click drops it.
    Click(Cell(2, 1));
    EXPECT_FALSE(ed.Selected());
    EXPECT_TRUE(ed.hasFocus());
}

TEST_F(MouseTest, DragSelectsFromWhereTheButtonWentDown) {
    Press(Cell(1, 0));
    // The first move lands far from the press: the selection still starts at the press.
    DragTo(Cell(4, 1));
    EXPECT_EQ(SelText(), "bcde\r\nseco");
    DragTo(Cell(0, 0));
    EXPECT_EQ(SelText(), "a"); // back over the anchor
    EXPECT_EQ(Caret(), (TextPos{0, 0}));
    // Past a row's end the caret stops at the end (the caret may not pass it here).
    DragTo(Cell(30, 2));
    EXPECT_EQ(SelText(), "bcde\r\nsecond row\r\nlast");
    Release(Cell(30, 2));
    EXPECT_FALSE(ed.Mouse().Dragging());
    EXPECT_FALSE(ed.ScrollTimerRunning());
}

TEST_F(MouseTest, DoubleClickSelectsTheWholeLine) {
    // A middle row: the row and its line break; the last row: up to its end.
    DoubleClick(Cell(3, 1));
    EXPECT_EQ(SelText(), "second row\r\n");
    EXPECT_EQ(Caret(), (TextPos{0, 2}));
    DoubleClick(Cell(1, 2));
    EXPECT_EQ(SelText(), "last");
    EXPECT_EQ(Caret(), (TextPos{4, 2}));
    // The double-click swallowed only its own second press: the next click places the caret.
    Click(Cell(2, 0));
    EXPECT_EQ(Caret(), (TextPos{2, 0}));
    EXPECT_FALSE(ed.Selected());
}

TEST_F(MouseTest, DoubleClickSelectsAWordWhenLineSelectionIsOff) {
    ed.DoubleClickLine = false;
    Load("alpha.beta gamma");
    DoubleClick(Cell(7, 0));
    EXPECT_EQ(SelText(), "beta");
    DoubleClick(Cell(1, 0));
    EXPECT_EQ(SelText(), "alpha");
    // On the blank right after a word: that word.
    DoubleClick(Cell(10, 0));
    EXPECT_EQ(SelText(), "beta");
}

TEST_F(MouseTest, DragOutsideScrollsEvery100MsByTheZone) {
    Load(test::NumberedLines(100));
    ed.SetLeftTop(0, 50);
    Press(Cell(2, 55));
    DragTo(Cell(2, 57));
    EXPECT_FALSE(ed.ScrollTimerRunning()); // a pointer inside never starts the timer

    // 10 pixels above the window: a row a tick.
    DragTo(QPoint(Cell(2, 55).x(), -10));
    ASSERT_TRUE(ed.ScrollTimerRunning());
    ed.Mouse().ScrollTimerTick();
    EXPECT_EQ(std::make_pair(ed.CaretY(), ed.TopRow()), std::make_pair(49, 49));
    // 30 pixels above: a window of rows a tick.
    DragTo(QPoint(Cell(2, 55).x(), -30));
    ed.Mouse().ScrollTimerTick();
    EXPECT_EQ(std::make_pair(ed.CaretY(), ed.TopRow()), std::make_pair(39, 39));
    EXPECT_EQ(SelText().substr(0, 6), "ne 39\r");

    // The real timer keeps scrolling while the pointer stays out.
    const int top = ed.TopRow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ed.TopRow() < top - 10; }, 3000));

    // Held far below the text, the selection ends at the text's last row, not beyond it.
    DragTo(QPoint(10, ed.viewport()->height() + 40));
    for (int i = 0; i < 30; ++i)
        ed.Mouse().ScrollTimerTick();
    EXPECT_EQ(ed.CaretY(), 99);
    EXPECT_EQ(ed.SelEnd().Y, 99);
    EXPECT_FALSE(SelText().empty()); // a selection inside the text can be copied
    Release(QPoint(10, ed.viewport()->height() + 40));
    EXPECT_FALSE(ed.ScrollTimerRunning());
}

TEST_F(MouseTest, WheelScrollsByTheWheelLinesAndReportsOnce) {
    Load(test::NumberedLines(100));
    int scrolls = 0;
    ed.OnScroll = [&](editor::CustomTextEditor&) { ++scrolls; };
    const auto scrolled = [&] { return std::make_pair(ed.TopRow(), scrolls); };
    const int lines = QApplication::wheelScrollLines();
    Wheel(-120);
    EXPECT_EQ(scrolled(), std::make_pair(lines, 1));
    EXPECT_EQ(ed.verticalScrollBar()->value(), lines);
    EXPECT_EQ(Caret(), (TextPos{0, 0})); // the caret stays
    Wheel(120);
    EXPECT_EQ(scrolled(), std::make_pair(0, 2));
    // Small touchpad steps add up to one notch.
    Wheel(-40);
    Wheel(-40);
    EXPECT_EQ(scrolled(), std::make_pair(0, 2));
    Wheel(-40);
    EXPECT_EQ(scrolled(), std::make_pair(lines, 3));
}

// What the names editor shows: scroll bars, the character grid, the caret, scrolling by pixels,
// the clipboard and the accessible text.
#include "TextEditorTestSupport.h"

#include <QAccessible>
#include <QClipboard>
#include <QImage>
#include <QPaintEvent>

using namespace velmora;
using editor::TextPos;
using test::EditorFixture;

namespace {

struct ViewTest : EditorFixture {
    QScrollBar* Bar() { return ed.verticalScrollBar(); }
    int scrolls = 0;
    ViewTest() {
        ed.OnScroll = [this](editor::CustomTextEditor&) { ++scrolls; };
    }
};

// Records the regions the viewport is asked to paint.
struct PaintSpy : QObject {
    QRegion painted;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(e)->region();
        return false;
    }
};

QImage CellImage(const QImage& view, const editor::Rect& r) {
    return view.copy(r.Left, r.Top, r.Width, r.Height);
}

} // namespace

TEST_F(ViewTest, RowBarRangesFollowTheTextAndTheWindow) {
    Load(test::NumberedLines(25));
    EXPECT_EQ(ed.VertBar().Max(), 24);
    EXPECT_EQ(ed.VertBar().Page(), 10);
    EXPECT_EQ(ed.VertBar().LargeChange(), 9);
    // On screen: the thumb is a page of 10 out of 25 rows and stops at row 15.
    EXPECT_EQ(Bar()->maximum(), 15);
    EXPECT_EQ(Bar()->pageStep(), 10);
    EXPECT_TRUE(Bar()->isEnabled());
    ed.VertBar().SetPosition(20);
    EXPECT_EQ(ed.VertBar().Position(), 15);
    EXPECT_EQ(Bar()->value(), 15);
    // Fewer rows than the window: no range, the bar stays on screen disabled.
    Load(test::NumberedLines(5));
    EXPECT_EQ(Bar()->maximum(), 0);
    EXPECT_FALSE(Bar()->isEnabled());
    EXPECT_TRUE(Bar()->isVisible());
    EXPECT_FALSE(ed.horizontalScrollBar()->isVisible());
}

TEST_F(ViewTest, BarActionsMoveTheViewAndReportOnce) {
    Load(test::NumberedLines(25));
    Bar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(ed.TopRow(), 1);
    EXPECT_EQ(scrolls, 1);
    Bar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(ed.TopRow(), 10);
    EXPECT_EQ(scrolls, 2);
    // Dragging the thumb moves the view while dragging; the release does not move it again.
    Bar()->setSliderDown(true);
    Bar()->setSliderPosition(7);
    EXPECT_EQ(ed.TopRow(), 7);
    EXPECT_EQ(scrolls, 3);
    Bar()->setSliderDown(false);
    EXPECT_EQ(ed.TopRow(), 7);
    EXPECT_EQ(scrolls, 3);
    // The ends move the view with the thumb, so that both always agree.
    Bar()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(ed.TopRow(), 15);
    EXPECT_EQ(Bar()->value(), 15);
    Bar()->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(ed.TopRow(), 0);
    EXPECT_EQ(scrolls, 5);
    // Keyboard scrolling moves the bar without reporting an action to anyone listening.
    int actions = 0;
    QObject::connect(Bar(), &QScrollBar::actionTriggered, [&] { ++actions; });
    Key(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(Bar()->value(), ed.TopRow());
    EXPECT_GT(ed.TopRow(), 0);
    EXPECT_EQ(actions, 0);
}

TEST_F(ViewTest, ShortScrollsMovePixelsAndRepaintOnlyTheUncoveredStrip) {
    Load(test::NumberedLines(100));
    ed.clearFocus(); // no caret to repaint
    QApplication::processEvents();
    const QImage before = ed.viewport()->grab().toImage();
    PaintSpy spy;
    ed.viewport()->installEventFilter(&spy);
    Bar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QApplication::processEvents();
    const int lh = ed.LineHeight();
    EXPECT_LE(spy.painted.boundingRect().height(), 2 * lh) << "a one-row scroll repainted more";
    // The rows that stay on screen moved up by one row.
    const QImage after = ed.viewport()->grab().toImage();
    EXPECT_EQ(after.copy(0, 0, after.width(), 5 * lh), before.copy(0, lh, before.width(), 5 * lh));
    // A scroll longer than the window repaints it all.
    spy.painted = QRegion();
    Bar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    Bar()->triggerAction(QAbstractSlider::SliderToMaximum);
    QApplication::processEvents();
    EXPECT_GE(spy.painted.boundingRect().height(), ed.VisibleRowCount() * lh);
    ed.viewport()->removeEventFilter(&spy);
}

TEST_F(ViewTest, EveryCharacterTakesOneCellWhateverItsGlyph) {
    // A wide, an accented and a plain first character: the "a" after each stands in cell 1.
    Load("漢a\néa\nxa\n\U0001D11Ea");
    ed.clearFocus();
    const QImage view = ed.viewport()->grab().toImage();
    const QImage plain = CellImage(view, ed.CellRect(1, 2));
    EXPECT_EQ(CellImage(view, ed.CellRect(1, 0)), plain);
    EXPECT_EQ(CellImage(view, ed.CellRect(1, 1)), plain);
    EXPECT_EQ(CellImage(view, ed.CellRect(1, 3)), plain);
    // The wide character is drawn (squeezed into its cell), not left out.
    const QImage wide = CellImage(view, ed.CellRect(0, 0));
    const QImage empty = CellImage(view, ed.CellRect(5, 0));
    EXPECT_NE(wide, empty);
}

TEST_F(ViewTest, SelectionIsDrawnInTheSelectionColours) {
    Load("abcdef");
    ed.clearFocus();
    ed.ExtendSelection(1, 0);
    ed.ExtendSelection(3, 0);
    const QImage view = ed.viewport()->grab().toImage();
    const auto corner = [&](int col) {
        const editor::Rect r = ed.CellRect(col, 0);
        return view.pixelColor(r.Left, r.Top);
    };
    EXPECT_EQ(corner(0), ed.Color);
    EXPECT_EQ(corner(1), ed.SelBackColor);
    EXPECT_EQ(corner(2), ed.SelBackColor);
    EXPECT_EQ(corner(3), ed.Color);
}

TEST_F(ViewTest, CaretShowsOnlyWithTheFocus) {
    Load("abc");
    Key(Qt::Key_End);
    const QRect caret = ed.CaretRect();
    EXPECT_EQ(caret.width(), 2);
    EXPECT_EQ(caret.height(), ed.LineHeight() - 2);
    EXPECT_EQ(caret.left(), ed.CellRect(3, 0).Left - 1);
    EXPECT_TRUE(ed.CaretShown());
    ed.clearFocus();
    EXPECT_FALSE(ed.CaretShown());
}

TEST_F(ViewTest, ClipboardCopyCutAndPaste) {
    QClipboard* cb = QGuiApplication::clipboard();
    Load("abc\ndef");
    cb->setText(QStringLiteral("keep"));
    Key(Qt::Key_C, Qt::ControlModifier); // nothing selected
    EXPECT_EQ(cb->text(), "keep");
    Key(Qt::Key_Right);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(cb->text(), "bc\nd"); // line feeds for other programs
    // A multi-line paste from another program, whatever its line breaks.
    Key(Qt::Key_End);
    cb->setText(QStringLiteral("1\r\n2\n3"));
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Text(), "abc\r\ndef1\r\n2\r\n3\r\n");
    EXPECT_EQ(Caret(), (TextPos{1, 3}));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Text(), "abc\r\ndef\r\n");
}

TEST_F(ViewTest, ClipboardRequestsRunAfterwardsAndNotWhenReadOnly) {
    QClipboard* cb = QGuiApplication::clipboard();
    int canPaste = -1;
    ed.OnChangeClipboardState = [&](editor::CustomTextEditor&, bool can) { canPaste = can; };
    cb->setText(QStringLiteral("xy"));
    QApplication::processEvents();
    EXPECT_EQ(canPaste, 1);
    Load("abc");
    ed.paste();
    EXPECT_EQ(Text(), "abc\r\n"); // posted: not yet
    QApplication::processEvents();
    EXPECT_EQ(Text(), "xyabc\r\n");
    ed.SetReadOnly(true);
    ed.SelectAll();
    ed.cut();
    ed.paste();
    ed.copy();
    QApplication::processEvents();
    EXPECT_EQ(Text(), "xyabc\r\n");
    EXPECT_EQ(cb->text(), "xyabc");
}

TEST_F(ViewTest, AccessibleTextFollowsTheModel) {
    Load("alpha\nbeta");
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&ed);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::EditableText);
    QAccessibleTextInterface* text = iface->textInterface();
    ASSERT_NE(text, nullptr);
    const auto all = [&] { return text->text(0, text->characterCount()).toStdString(); };
    EXPECT_EQ(all(), "alpha\nbeta");
    Key(Qt::Key_Down);
    Key(Qt::Key_End);
    Key(Qt::Key_Return);
    Type("gamma");
    Key(Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(all(), "alpha\nbeta\ngamma");
    EXPECT_EQ(text->cursorPosition(), 11);
    int start = 0;
    int end = 0;
    text->selection(0, &start, &end);
    EXPECT_EQ(start, 11);
    EXPECT_EQ(end, 16);
    // Assistive technology may move the caret and select.
    text->setSelection(0, 6, 10);
    EXPECT_EQ(SelText(), "beta");
    text->setCursorPosition(2);
    EXPECT_EQ(Caret(), (TextPos{2, 0}));
    EXPECT_TRUE(iface->state().multiLine);
    EXPECT_TRUE(iface->state().editable);
}

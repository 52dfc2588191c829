// What the names editor shows: scroll bars, the character grid, the caret, scrolling by pixels,
// the clipboard and the accessible text.
#include "TextEditorTestSupport.h"
#include "ui/editor/TextEditorAccessible.h"

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
    // The top row and how many scrolls were reported so far.
    std::pair<int, int> Scrolled() const { return {ed.TopRow(), scrolls}; }
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

std::pair<int, int> Selection(QAccessibleTextInterface* text) {
    int start = -1;
    int end = -1;
    text->selection(0, &start, &end);
    return {start, end};
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
    EXPECT_EQ(Scrolled(), std::make_pair(1, 1));
    Bar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(Scrolled(), std::make_pair(10, 2));
    // Dragging the thumb moves the view while dragging; the release does not move it again.
    Bar()->setSliderDown(true);
    Bar()->setSliderPosition(7);
    EXPECT_EQ(Scrolled(), std::make_pair(7, 3));
    Bar()->setSliderDown(false);
    EXPECT_EQ(Scrolled(), std::make_pair(7, 3));
    // The ends move the view with the thumb, so that both always agree.
    Bar()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(ed.TopRow(), 15);
    EXPECT_EQ(Bar()->value(), 15);
    Bar()->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(Scrolled(), std::make_pair(0, 5));
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
    for (int row : {0, 1, 3})
        EXPECT_EQ(CellImage(view, ed.CellRect(1, row)), plain) << row;
    // The wide character is drawn (squeezed into its cell), not left out.
    EXPECT_NE(CellImage(view, ed.CellRect(0, 0)), CellImage(view, ed.CellRect(5, 0)));
}

TEST_F(ViewTest, SelectionIsDrawnInTheSelectionColours) {
    Load("abcdef");
    ed.clearFocus();
    ed.ExtendSelection(1, 0);
    ed.ExtendSelection(3, 0);
    const QImage view = ed.viewport()->grab().toImage();
    for (int col = 0; col < 4; ++col) {
        const editor::Rect r = ed.CellRect(col, 0);
        EXPECT_EQ(view.pixelColor(r.Left, r.Top), col == 1 || col == 2 ? ed.SelBackColor : ed.Color)
            << col;
    }
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

// Another program's text with a NUL in it: what is pasted is what is shown, what the assistive
// technology reads and what a name would become, the text before the NUL.
TEST_F(ViewTest, ClipboardTextEndsAtANul) {
    QClipboard* cb = QGuiApplication::clipboard();
    Load("song.mp3");
    cb->setText(QString::fromUtf8("ab\0cd.mp3", 9));
    ASSERT_EQ(cb->text().size(), 9);
    ed.SelectAll();
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Text(), "ab\r\n");
    EXPECT_EQ(ed.Lines().Get(0), "ab");
    QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(&ed)->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->characterCount(), 2);
    EXPECT_EQ(text->text(0, text->characterCount()).toStdString(), "ab");
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
    EXPECT_EQ(Selection(text), std::make_pair(11, 16));
    // Assistive technology may move the caret and select.
    text->setSelection(0, 6, 10);
    EXPECT_EQ(SelText(), "beta");
    text->setCursorPosition(2);
    EXPECT_EQ(Caret(), (TextPos{2, 0}));
    EXPECT_TRUE(iface->state().multiLine);
    EXPECT_TRUE(iface->state().editable);
}

// Assistive technology counts a character beyond U+FFFF as one: every offset after one, the text
// between offsets, the count and the boundary searches must agree with the caret and selection.
TEST_F(ViewTest, AccessibleOffsetsCountCodePoints) {
    Load("a\xF0\x9D\x84\x9E"
         "b c\n\xF0\x9F\x8E\xB5x y\n\xE9z"); // U+1D11E, U+1F3B5, a lone byte
    QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(&ed)->textInterface();
    ASSERT_NE(text, nullptr);
    const auto str = [](const QString& s) { return s.toStdString(); };
    EXPECT_EQ(text->characterCount(), 13);
    EXPECT_EQ(str(text->text(2, 3)), "b");
    EXPECT_EQ(str(text->text(1, 2)), "\xF0\x9D\x84\x9E");
    EXPECT_EQ(str(text->text(11, 13)), "\xEF\xBF\xBDz"); // the lone byte reads as U+FFFD
    ed.SetCaret(3, 0);
    EXPECT_EQ(text->cursorPosition(), 3);
    EXPECT_EQ(str(text->text(text->cursorPosition(), text->cursorPosition() + 1)), " ");
    ed.SetCaret(2, 1);
    EXPECT_EQ(text->cursorPosition(), 8);
    text->setCursorPosition(4);
    EXPECT_EQ(Caret(), (TextPos{4, 0}));
    text->setSelection(0, 2, 4);
    EXPECT_EQ(SelText(), "b ");
    EXPECT_EQ(Selection(text), std::make_pair(2, 4));

    struct Case {
        QAccessible::TextBoundaryType type;
        int offset;
        const char* at;
        int start;
        int end;
    };
    for (const Case& c : {Case{QAccessible::CharBoundary, 1, "\xF0\x9D\x84\x9E", 1, 2},
                          Case{QAccessible::CharBoundary, 2, "b", 2, 3},
                          Case{QAccessible::WordBoundary, 4, "c", 4, 5},
                          Case{QAccessible::WordBoundary, 9, "y", 9, 10},
                          Case{QAccessible::LineBoundary, 7, "\xF0\x9F\x8E\xB5x y\n", 6, 11}}) {
        int s = -1;
        int e = -1;
        EXPECT_EQ(str(text->textAtOffset(c.offset, c.type, &s, &e)), c.at) << c.offset;
        EXPECT_EQ(std::make_pair(s, e), std::make_pair(c.start, c.end)) << c.offset;
    }
    int s = -1;
    int e = -1;
    EXPECT_EQ(str(text->textAfterOffset(0, QAccessible::CharBoundary, &s, &e)), "\xF0\x9D\x84\x9E");
    EXPECT_EQ(str(text->textBeforeOffset(3, QAccessible::CharBoundary, &s, &e)), "b");
    EXPECT_EQ(s, 2);
}

// A reader hears what changed: one typed character, one replaced selection, one joined line, at
// code point positions; never the whole text deleted and inserted again.
TEST(AccessibleTextDiff, ReportsOnlyTheChangedPart) {
    struct Case {
        const char* before;
        const char* after;
        int position;
        const char* removed;
        const char* inserted;
    };
    const char* clef = "\xF0\x9D\x84\x9E"; // U+1D11E, two UTF-16 units
    const std::string clefB = std::string("a") + clef + "b";
    const std::string clefXB = std::string("a") + clef + "Xb";
    const std::string clefClef = std::string(clef) + clef;
    const std::string pair = "\xF0\x9D\x84\x9F"; // U+1D11F shares its high surrogate
    const std::string clefPair = std::string(clef) + pair;
    for (const Case& c :
         {Case{"", "ab\ncd", 0, "", "ab\ncd"}, Case{clefB.c_str(), clefXB.c_str(), 2, "", "X"},
          Case{clefB.c_str(), "aZb", 1, clef, "Z"}, Case{"ab\ncd", "abcd", 2, "\n", ""},
          Case{"aaa", "aa", 2, "a", ""},
          Case{clefClef.c_str(), clefPair.c_str(), 1, clef, pair.c_str()},
          Case{"same", "same", 4, "", ""}}) {
        SCOPED_TRACE(std::string(c.before) + " -> " + c.after);
        const ui::AccessibleTextChange got =
            ui::DiffAccessibleText(QString::fromUtf8(c.before), QString::fromUtf8(c.after));
        EXPECT_EQ(got.Position, c.position);
        EXPECT_EQ(got.Removed.toStdString(), c.removed);
        EXPECT_EQ(got.Inserted.toStdString(), c.inserted);
    }
}

// A names editor on screen (offscreen platform) and real input events for it.
#pragma once

#include "core/editor/EditorCommands.h"
#include "core/platform/Utf8.h"
#include "ui/editor/TextEditor.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <string>

namespace velmora::test {

// An editor showing rows whole rows of text, active and focused, set up like the names pane.
struct EditorFixture : ::testing::Test {
    ui::TextEditor ed;

    explicit EditorFixture(int rows = 10) {
        QFont fixed(QStringLiteral("DejaVu Sans Mono"));
        fixed.setPixelSize(13);
        ed.setFont(fixed);
        ed.SetScrollBars(ui::TextEditor::ScrollStyle::ssVertical);
        ed.SetWordWrap(false);
        ed.DoubleClickLine = true;
        ed.CursorBeyondEOF = true;
        ed.CursorBeyondEOL = false;
        ed.show();
        ShowRows(rows);
        QApplication::setActiveWindow(&ed);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&ed));
        ed.setFocus();
    }

    // Sizes the window so that exactly rows whole rows fit, with a few pixels to spare.
    void ShowRows(int rows) {
        const QSize frame = ed.size() - ed.viewport()->size();
        ed.resize(320 + frame.width(), rows * ed.LineHeight() + 5 + frame.height());
        QApplication::processEvents();
        ASSERT_EQ(ed.VisibleRowCount(), rows);
    }

    void Load(const std::string& text) {
        ed.Lines().SetTextStr(text);
        ed.SetModified(false);
    }
    std::string Text() const { return ed.Text(); }

    // The pixel at the middle of a cell's left or right half (view coordinates).
    QPoint Cell(int col, int row, bool rightHalf = false) const {
        const editor::Rect r = ed.CellRect(col - ed.LeftCol(), row - ed.TopRow());
        const int x = r.Left + (rightHalf ? r.Width * 3 / 4 : r.Width / 4);
        return {x, r.Top + r.Height / 2};
    }

    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QMouseEvent e(type, at, ed.viewport()->mapToGlobal(at), button, buttons, mods);
        QApplication::sendEvent(ed.viewport(), &e);
    }
    void Press(QPoint at, Qt::MouseButton b = Qt::LeftButton,
               Qt::KeyboardModifiers mods = Qt::NoModifier) {
        Mouse(QEvent::MouseButtonPress, at, b, b, mods);
    }
    void Release(QPoint at, Qt::MouseButton b = Qt::LeftButton) {
        Mouse(QEvent::MouseButtonRelease, at, b, Qt::NoButton);
    }
    void Click(QPoint at, Qt::MouseButton b = Qt::LeftButton,
               Qt::KeyboardModifiers mods = Qt::NoModifier) {
        Press(at, b, mods);
        Release(at, b);
    }
    void DragTo(QPoint at) { Mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton); }
    // What the platform delivers for a double-click: press, release, double-click, release.
    void DoubleClick(QPoint at) {
        Click(at);
        Mouse(QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
        Release(at);
    }
    void Wheel(int delta) {
        const QPoint at(10, 10);
        QWheelEvent e(at, ed.viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(ed.viewport(), &e);
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(&ed, key, mods);
    }
    void Type(const QString& text) { QTest::keyClicks(&ed, text); }

    editor::TextPos Caret() const { return {ed.CaretX(), ed.CaretY()}; }
    std::string SelText() const { return platform::EncodeUtf8(ed.SelText()); }
};

// Lines "line 0" .. "line n-1".
inline std::string NumberedLines(int n) {
    std::string s;
    for (int i = 0; i < n; ++i)
        s += "line " + std::to_string(i) + "\n";
    return s;
}

} // namespace velmora::test

namespace velmora::editor {
inline void PrintTo(const TextPos& p, std::ostream* os) {
    *os << "{" << p.X << ", " << p.Y << "}";
}
} // namespace velmora::editor

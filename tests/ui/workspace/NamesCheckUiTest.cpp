// The names check in the main window: the summary and the marks follow typing, F8 steps through
// the problem lines, and Check Names turns it all off for good.
#include "support/TempDir.h"
#include "ui/editor/TextEditor.h"
#include "ui/platform/QtText.h"
#include "ui/support/ModalAnswerer.h"
#include "ui/workspace/FixedRowHeightDelegate.h"
#include "ui/workspace/MainWindow.h"
#include "ui/workspace/NamesCheckView.h"

#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmora;
using test::TempDir;

namespace {

// Puts text on one line of the names pane as a user does: select the line and type.
void TypeLine(ui::MainWindow& w, int line, const QString& text) {
    w.MemoNew->setFocus();
    w.MemoNew->MoveCaret(0, line);
    QTest::keyClick(w.MemoNew, Qt::Key_Home); // no selection left from before
    QTest::keyClick(w.MemoNew, Qt::Key_End, Qt::ShiftModifier);
    QTest::keyClicks(w.MemoNew, text);
}

QColor PaneMark(ui::MainWindow& w, int line) {
    const QImage shot = w.MemoNew->viewport()->grab().toImage();
    const int y =
        (line - w.MemoNew->TopRow()) * w.MemoNew->LineHeight() + w.MemoNew->LineHeight() / 2;
    return shot.pixelColor(1, y);
}

QColor ListMark(ui::MainWindow& w, int row) {
    const QImage shot = w.ListBoxOrg->viewport()->grab().toImage();
    const QRect r = w.ListBoxOrg->visualRect(w.ListBoxOrg->model()->index(row, 0));
    return shot.pixelColor(r.left() + 1, r.center().y());
}

QString ListTip(ui::MainWindow& w, int row) {
    return w.ListBoxOrg->model()->index(row, 0).data(Qt::ToolTipRole).toString();
}

bool SettingOn() {
    QSettings s(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                    "/velmora/velmora.conf",
                QSettings::IniFormat);
    return s.value("NamesCheck/Enabled", true).toBool();
}

struct NamesCheckUiTest : ::testing::Test {
    TempDir dir;
    test::ModalAnswerer answers;
    NamesCheckUiTest() {
        // The program's own renames are reported like any other change; decline the reload.
        answers.Always("The contents of the directory has changed.", QMessageBox::No);
        for (const char* f : {"a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3"})
            dir.Write(f);
        dir.Write("cover.jpg");
    }
};

} // namespace

TEST_F(NamesCheckUiTest, SummaryAndMarksFollowTheTyping) {
    ui::MainWindow w({dir.Path() + "/*.mp3", "-x"});
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ui::NamesCheckView& view = *w.NamesCheck1;
    EXPECT_EQ(view.Summary->text(), "No changes");
    EXPECT_EQ(view.Summary->accessibleName(), "Names check");
    EXPECT_TRUE(view.Summary->isVisible());
    const QColor background = PaneMark(w, 0);

    // A line lost: the counts instead, and the line where the lists part.
    w.MemoNew->setFocus();
    w.MemoNew->MoveCaret(0, 2);
    QTest::keyClick(w.MemoNew, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(w.MemoNew, Qt::Key_Delete);
    EXPECT_EQ(view.Summary->text(), "Lines: 4 of 5");
    EXPECT_EQ(view.LineToolTip(2), "The lines stop matching the files here: 1 line too few");
    EXPECT_EQ(PaneMark(w, 2), view.MarkColour(2));
    QTest::keyClick(w.MemoNew, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(view.Summary->text(), "No changes");

    TypeLine(w, 0, "A1");   // renamed
    TypeLine(w, 1, "same"); // two lines of one name
    TypeLine(w, 2, "same");
    TypeLine(w, 3, "e"); // e.mp3 stays on line 5
    EXPECT_EQ(view.Summary->text(), "1 to rename, 2 duplicates, 1 taken");
    EXPECT_EQ(view.Summary->accessibleDescription(), view.Summary->text());

    EXPECT_EQ(view.LineToolTip(0), "Renames \"a.mp3\" to \"A1.mp3\"");
    EXPECT_EQ(view.LineToolTip(1), "Also the new name of line 3");
    EXPECT_EQ(view.LineToolTip(3), "A file named \"e.mp3\" already exists");
    EXPECT_EQ(view.LineToolTip(4), "");
    // The same reason on the file's row on the left.
    EXPECT_EQ(ListTip(w, 1), "Also the new name of line 3");
    EXPECT_EQ(ListTip(w, 4), "");

    // Each kind of line in its own colour, the same on both sides; unmarked lines stay plain.
    for (int line = 0; line < 4; ++line) {
        EXPECT_EQ(PaneMark(w, line), view.MarkColour(line)) << line;
        EXPECT_EQ(ListMark(w, line), view.MarkColour(line)) << line;
    }
    EXPECT_NE(view.MarkColour(0), view.MarkColour(1));
    EXPECT_NE(view.MarkColour(1), view.MarkColour(3));
    EXPECT_EQ(PaneMark(w, 4), background);
    // A repaint of the gutter and of one row, as typing asks for, keeps every mark.
    const int lh = w.MemoNew->LineHeight();
    QImage partial(w.MemoNew->viewport()->size(), QImage::Format_RGB32);
    QRegion region(0, 0, w.MemoNew->TextAreaLeft(), w.MemoNew->viewport()->height());
    region += QRect(w.MemoNew->TextAreaLeft(), 2 * lh, 200, lh);
    w.MemoNew->viewport()->render(&partial, QPoint(), region);
    EXPECT_EQ(partial.pixelColor(1, lh / 2), view.MarkColour(0));

    // Taking the duplicate back clears both of its lines at once.
    TypeLine(w, 2, "c");
    EXPECT_EQ(view.Summary->text(), "2 to rename, 1 taken");
    EXPECT_EQ(view.LineToolTip(1), "Renames \"b.mp3\" to \"same.mp3\"");

    // After Apply the new names are the files' names.
    TypeLine(w, 3, "d");
    w.ButtonApply->click();
    EXPECT_EQ(view.Summary->text(), "No changes");
    EXPECT_TRUE(dir.Exists("A1.mp3"));
}

TEST_F(NamesCheckUiTest, CommandsThatRewriteLinesAreCheckedWhenTheyEnd) {
    ui::MainWindow w({dir.Path() + "/*.mp3", "-x"});
    w.MemoNew->SelectAll();
    w.UPPERCASE1Click();
    QTest::qWait(0);
    EXPECT_EQ(w.NamesCheck1->Summary->text(), "5 to rename");
    EXPECT_EQ(w.NamesCheck1->LineToolTip(4), "Renames \"e.mp3\" to \"E.mp3\"");
}

TEST_F(NamesCheckUiTest, F8StepsThroughTheProblemLines) {
    ui::MainWindow w({dir.Path() + "/*.mp3"});
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    TypeLine(w, 1, "e.mp3");     // taken
    TypeLine(w, 2, "x.mp3");     // renamed: no problem
    TypeLine(w, 3, "sub/d.mp3"); // invalid
    w.MemoNew->MoveCaret(0, 0);
    QTest::keyClick(w.MemoNew, Qt::Key_F8);
    EXPECT_EQ(w.MemoNew->CaretY(), 1);
    QTest::keyClick(w.MemoNew, Qt::Key_F8);
    EXPECT_EQ(w.MemoNew->CaretY(), 3);
    QTest::keyClick(w.MemoNew, Qt::Key_F8);
    EXPECT_EQ(w.MemoNew->CaretY(), 1);
    QTest::keyClick(w.MemoNew, Qt::Key_F8, Qt::ShiftModifier);
    EXPECT_EQ(w.MemoNew->CaretY(), 3);
    // From the file list too, into the names pane.
    w.ListBoxOrg->setFocus();
    QTest::keyClick(w.ListBoxOrg, Qt::Key_F8);
    EXPECT_EQ(w.MemoNew->CaretY(), 1);
    EXPECT_TRUE(w.MemoNew->hasFocus());
    EXPECT_EQ(w.NamesCheck1->LineToolTip(3), "A \"/\" would move the file into another folder");
}

TEST_F(NamesCheckUiTest, CheckNamesOffLeavesThePlainViewAndIsKept) {
    const int plainGutter = [] {
        ui::TextEditor e;
        return e.TextAreaLeft();
    }();
    {
        ui::MainWindow w({dir.Path() + "/*.mp3"});
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        ASSERT_TRUE(w.NamesCheck1->CheckNames1->isChecked());
        TypeLine(w, 0, "b.mp3");
        const QColor taken = PaneMark(w, 0);
        w.NamesCheck1->CheckNames1->trigger();
        EXPECT_FALSE(w.NamesCheck1->Summary->isVisible());
        EXPECT_EQ(w.MemoNew->TextAreaLeft(), plainGutter);
        EXPECT_NE(PaneMark(w, 0), taken);
        EXPECT_FALSE(w.ListBoxOrg->model()
                         ->index(0, 0)
                         .data(ui::FixedRowHeightDelegate::MarkRole)
                         .isValid());
        EXPECT_TRUE(ListTip(w, 0).isEmpty());
        EXPECT_FALSE(SettingOn());
    }
    {
        // The next start remembers; turning it on checks the lines shown at once.
        ui::MainWindow w({dir.Path() + "/*.mp3"});
        EXPECT_FALSE(w.NamesCheck1->CheckNames1->isChecked());
        EXPECT_FALSE(w.NamesCheck1->Enabled());
        TypeLine(w, 0, "b.mp3");
        w.NamesCheck1->CheckNames1->trigger();
        EXPECT_TRUE(SettingOn());
        EXPECT_EQ(w.NamesCheck1->Summary->text(), "1 taken");
    }
}

// The left list and the names pane stand row for row: after loads, resizes, with long names, and
// down to the pixel row their text is drawn on.
#include "support/TempDir.h"
#include "ui/editor/TextEditor.h"
#include "ui/support/ModalAnswerer.h"
#include "ui/workspace/MainWindow.h"

#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <string>

using namespace velmora;
using test::ModalAnswerer;
using test::TempDir;

namespace {

struct PaneRowsLevelTest : ::testing::Test {
    TempDir dir;
    ModalAnswerer answers;
    PaneRowsLevelTest() {
        answers.Always("The contents of the directory has changed.", QMessageBox::No);
    }
    void Files(int n) {
        for (int i = 1; i <= n; ++i) {
            std::string num = std::to_string(i);
            dir.Write("track " + std::string(4 - num.size(), '0') + num + ".mp3");
        }
    }
    static void Show(ui::MainWindow& w) {
        w.move(0, 0);
        w.show();
        QApplication::setActiveWindow(&w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
    static QScrollBar* List(ui::MainWindow& w) { return w.ListBoxOrg->verticalScrollBar(); }
    // Drags the names pane's thumb, which the list follows.
    static void DragEditorThumb(ui::MainWindow& w, int row) {
        QScrollBar* bar = w.MemoNew->verticalScrollBar();
        bar->setSliderDown(true);
        bar->setSliderPosition(row);
        bar->setSliderDown(false);
    }
    static void Settle() { QTest::qWait(20); }
};

// The first pixel row with ink in the band [top, top + height) of img, or -1.
int FirstInkRow(const QImage& img, int top, int height, int width) {
    for (int y = top; y < top + height && y < img.height(); ++y)
        for (int x = 0; x < width && x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 100) return y - top;
    return -1;
}

} // namespace

TEST_F(PaneRowsLevelTest, EveryLoadPutsBothPanesAtTheTop) {
    Files(1000);
    ui::MainWindow w({dir.Path() + "/*.mp3"});
    Show(w);
    const std::function<void()> loads[] = {
        [&] { w.ButtonRefresh->click(); },
        [&] {
            w.ListBoxOrg->setFocus();
            QTest::keyClick(w.ListBoxOrg, Qt::Key_X, Qt::AltModifier); // Exclude Extensions
        },
        [&] {
            w.MemoNew->setFocus();
            QTest::keyClick(w.MemoNew, Qt::Key_S, Qt::ControlModifier); // Apply and reload
        },
    };
    int n = 0;
    for (const auto& load : loads) {
        DragEditorThumb(w, 486);
        ASSERT_EQ(List(w)->value(), 486);
        load();
        // A mnemonic clicks its button a moment later.
        for (int i = 0; i < 100 && w.MemoNew->TopRow() != 0; ++i)
            Settle();
        EXPECT_EQ(w.MemoNew->TopRow(), 0) << "load " << n;
        EXPECT_EQ(List(w)->value(), 0) << "load " << n;
        ++n;
    }
}

TEST_F(PaneRowsLevelTest, ResizesAtTheEndKeepBothLevel) {
    Files(1000);
    ui::MainWindow w({dir.Path() + "/*.mp3"});
    w.resize(712, 500);
    Show(w);
    w.MemoNew->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    Settle();
    ASSERT_GT(w.MemoNew->TopRow(), 900);
    ASSERT_EQ(List(w)->value(), w.MemoNew->TopRow());
    // Taller: the list pulls back to show a full page, and the names pane with it.
    w.resize(712, 700);
    Settle();
    EXPECT_EQ(List(w)->value(), w.MemoNew->TopRow());
    EXPECT_EQ(w.MemoNew->TopRow() + w.MemoNew->VisibleRowCount(), 1000);
    // Hiding the information pane makes both taller again.
    w.FileInfo1->trigger();
    Settle();
    w.MemoNew->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    Settle();
    w.FileInfo1->trigger();
    Settle();
    EXPECT_EQ(List(w)->value(), w.MemoNew->TopRow());
}

TEST_F(PaneRowsLevelTest, ALongNameLeavesTheLastRowInView) {
    Files(60);
    dir.Write("zz" + std::string(200, 'L') + ".mp3");
    ui::MainWindow w({dir.Path() + "/*.mp3"});
    Show(w);
    Settle();
    EXPECT_FALSE(w.ListBoxOrg->horizontalScrollBar()->isVisible());
    EXPECT_EQ(w.ListBoxOrg->viewport()->height(), w.MemoNew->viewport()->height());
    w.MemoNew->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    Settle();
    const QRect last = w.ListBoxOrg->visualRect(w.ListBoxOrg->model()->index(60, 0));
    EXPECT_TRUE(w.ListBoxOrg->viewport()->rect().contains(last));
    EXPECT_EQ(List(w)->value(), w.MemoNew->TopRow());
}

TEST_F(PaneRowsLevelTest, TextStandsOnTheSamePixelRowInBothPanes) {
    Files(5);
    ui::MainWindow w({dir.Path() + "/*.mp3"});
    Show(w);
    Settle();
    const QImage left = w.ListBoxOrg->viewport()->grab().toImage();
    const QImage right = w.MemoNew->viewport()->grab().toImage();
    const int lh = w.MemoNew->LineHeight();
    for (int row = 0; row < 5; ++row) {
        const int leftTop = w.ListBoxOrg->visualRect(w.ListBoxOrg->model()->index(row, 0)).top();
        const int rightTop = w.MemoNew->CellRect(0, row).Top;
        const int l = FirstInkRow(left, leftTop, lh, 120);
        const int r = FirstInkRow(right, rightTop, lh, 120);
        ASSERT_GE(l, 0);
        EXPECT_EQ(l, r) << "row " << row;
    }
}

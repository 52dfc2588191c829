// Keys of the main window's pattern box and left list, as a user types them.
#include "support/TempDir.h"
#include "ui/support/ModalAnswerer.h"
#include "ui/workspace/MainWindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

struct MainWindowKeys : ::testing::Test {
    test::TempDir dir;
    test::ModalAnswerer answers;
    std::unique_ptr<ui::MainWindow> w;
    MainWindowKeys() {
        answers.Always("The contents of the directory has changed.", QMessageBox::No);
        for (auto n : {"a.mp3", "b.txt"})
            dir.Write(n);
        w = std::make_unique<ui::MainWindow>(std::vector<std::string>{dir.Path() + "/*.*"});
        w->move(0, 0);
        w->show();
        QApplication::setActiveWindow(w.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }
};

} // namespace

TEST_F(MainWindowKeys, ThePatternBoxKeepsWhatIsTypedAndStillOffersItsList) {
    QComboBox* box = w->ComboBoxPattern;
    box->setFocus();
    box->lineEdit()->selectAll();
    QTest::keyClicks(box, "*");
    EXPECT_EQ(box->currentText(), "*");
    EXPECT_FALSE(box->lineEdit()->hasSelectedText());
    w->ButtonRefresh->click();
    EXPECT_EQ(w->Work().Left().Count(), 2);
    EXPECT_EQ(box->count(), 4);
}

TEST_F(MainWindowKeys, ShiftF10OpensTheLeftListsMenuAtTheCurrentItem) {
    w->ListBoxOrg->setFocus();
    w->ListBoxOrg->setCurrentIndex(w->ListBoxOrg->model()->index(1, 0));
    QTest::keyClick(w->ListBoxOrg, Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_TRUE(w->PopupMenuOrg->isVisible());
    const QRect item = w->ListBoxOrg->visualRect(w->ListBoxOrg->currentIndex());
    EXPECT_EQ(w->PopupMenuOrg->pos(), w->ListBoxOrg->viewport()->mapToGlobal(item.bottomLeft()));
    w->PopupMenuOrg->hide();
}

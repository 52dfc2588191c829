// The chooser as the main window's directory box: keyboard only, and the folder-up button.
#include "DirChooserTestSupport.h"
#include "ui/support/ModalAnswerer.h"
#include "ui/workspace/MainWindow.h"

#include <QLabel>

using namespace velmora;
namespace fsys = std::filesystem;

namespace {

std::vector<std::string> Left(ui::MainWindow& w) {
    std::vector<std::string> v;
    v.reserve(static_cast<std::size_t>(w.Work().Left().Count()));
    for (int i = 0; i < w.Work().Left().Count(); ++i)
        v.push_back(w.Work().Left().Get(i));
    return v;
}

void Key(QWidget* fallback, Qt::Key key, Qt::KeyboardModifiers mods = {}) {
    QWidget* popup = QApplication::activePopupWidget();
    QTest::keyClick(popup ? popup : fallback, key, mods);
}

} // namespace

TEST(ChooserInMainWindow, KeyboardOnlyPicksAFolderAndTheListsFollow) {
    test::TempDir dir;
    test::ModalAnswerer answers;
    fsys::create_directories(dir / "Music/Rock");
    fsys::create_directories(dir / "Music/Jazz");
    dir.Write("Music/Rock/a.mp3");
    dir.Write("Music/Jazz/b.mp3");
    ui::MainWindow w({dir / "Music/Rock/*.mp3"});
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(w.EditDirectory->text(), "Rock");
    EXPECT_EQ(Left(w), std::vector<std::string>{"a.mp3"});

    QTest::keyClick(&w, Qt::Key_D, Qt::AltModifier);
    ASSERT_EQ(QApplication::focusWidget(), w.EditDirectory);
    Key(w.EditDirectory, Qt::Key_F4);
    ASSERT_TRUE(w.EditDirectory->Dropped());
    Key(w.EditDirectory, Qt::Key_Up); // Jazz
    Key(w.EditDirectory, Qt::Key_Return);
    EXPECT_FALSE(w.EditDirectory->Dropped());
    EXPECT_EQ(w.EditDirectory->text(), "Jazz");
    EXPECT_EQ(Left(w), std::vector<std::string>{"b.mp3"});

    // Escape on the closed chooser still belongs to the window (Apply); nothing is edited.
    Key(w.EditDirectory, Qt::Key_Escape);
    EXPECT_TRUE(answers.texts.empty());

    // Up one level goes through the chooser, which shows and reports the parent.
    w.ButtonCDUp->click();
    EXPECT_EQ(w.EditDirectory->GetSelectedPath(), dir / "Music/");
    EXPECT_EQ(w.EditDirectory->text(), "Music");
    EXPECT_TRUE(Left(w).empty());
    EXPECT_TRUE(answers.texts.empty());
}

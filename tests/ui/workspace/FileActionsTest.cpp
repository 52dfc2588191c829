// The left list's file actions, drops and shell registration in the running main window.
#include "core/shell/ShellRegistration.h"
#include "support/TempDir.h"
#include "ui/dirchooser/DirTreeCombo.h"
#include "ui/editor/TextEditor.h"
#include "ui/shell/FilePropertiesDialog.h"
#include "ui/shell/ObjectPropertiesDialog.h"
#include "ui/support/LeftList.h"
#include "ui/support/ModalAnswerer.h"
#include "ui/support/UrlRecorder.h"
#include "ui/workspace/InfoPages.h"
#include "ui/workspace/MainWindow.h"

#include <QDeadlineTimer>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

using namespace velmora;
using test::ModalAnswerer;
using test::TempDir;

namespace {

// The left list's names, sorted: the listing order is not what these tests are about.
std::vector<std::string> Left(ui::MainWindow& w) {
    std::vector<std::string> v = test::LeftNames(w);
    std::sort(v.begin(), v.end());
    return v;
}

void Select(ui::MainWindow& w, const std::string& name) {
    w.ListBoxOrg->setCurrentIndex(test::LeftItem(w, name));
}

QAction* Item(QMenu* menu, const char* name) {
    for (QAction* a : menu->actions())
        if (a->objectName() == QLatin1String(name)) return a;
    return nullptr;
}

struct FileActionsTest : ::testing::Test {
    TempDir dir;
    ModalAnswerer answers;
    FileActionsTest() {
        answers.Always("The contents of the directory has changed.", QMessageBox::No);
    }
};

} // namespace

TEST_F(FileActionsTest, MenuItemsWithCaptionsKeysAndIcons) {
    ui::MainWindow w;
    ASSERT_NE(w.PopupMenuOrg, nullptr);
    const struct {
        const char* name;
        const char* caption;
        QKeySequence key;
    } items[] = {
        {"Open1", "&Open", QKeySequence(Qt::CTRL | Qt::Key_Return)},
        {"OpenWith1", "Open With...", QKeySequence()},
        {"Properties1", "&Properties", QKeySequence(Qt::ALT | Qt::Key_Return)},
        {"Delete1", "&Delete", QKeySequence()},
        {"Destroy1", "Des&troy", QKeySequence()},
    };
    for (const auto& i : items) {
        QAction* a = Item(w.PopupMenuOrg, i.name);
        ASSERT_NE(a, nullptr) << i.name;
        EXPECT_EQ(a->text(), QString::fromLatin1(i.caption));
        EXPECT_EQ(a->shortcut(), i.key) << i.name;
        EXPECT_FALSE(a->icon().isNull()) << i.name;
    }
    EXPECT_EQ(Item(w.PopupMenuEtc, "RegisterForDirecotries1")->text(), "Shell Register");
    EXPECT_EQ(Item(w.PopupMenuEtc, "UnregisterShell1")->text(), "Shell Unregister");
    for (QAction* a : w.PopupMenuEtc->actions())
        EXPECT_TRUE(a->isSeparator() || !a->icon().isNull()) << a->text().toStdString();
    EXPECT_FALSE(w.windowIcon().isNull());
    // Nothing selected: every action does nothing.
    for (const auto& i : items)
        Item(w.PopupMenuOrg, i.name)->trigger();
    EXPECT_TRUE(answers.texts.empty());
}

TEST_F(FileActionsTest, OpenByMenuKeyAndDoubleClick) {
    dir.Write("a b.mp3");
    dir.Write("c.mp3");
    ui::MainWindow w({dir.Path() + "/*.mp3"});
    test::UrlRecorder files(QStringLiteral("file"));
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    Select(w, "a b.mp3");
    Item(w.PopupMenuOrg, "Open1")->trigger();
    w.ListBoxOrg->setFocus();
    Select(w, "c.mp3");
    QTest::keyClick(w.ListBoxOrg, Qt::Key_Return, Qt::ControlModifier);
    const QRect r = w.ListBoxOrg->visualRect(test::LeftItem(w, "a b.mp3"));
    QTest::mouseClick(w.ListBoxOrg->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(files.urls.size(), 2u); // a single click opens nothing
    QTest::mouseDClick(w.ListBoxOrg->viewport(), Qt::LeftButton, {}, r.center());
    const auto url = [&](const char* name) {
        return QUrl::fromLocalFile(QString::fromStdString(dir / name));
    };
    EXPECT_EQ(files.urls, (std::vector<QUrl>{url("a b.mp3"), url("c.mp3"), url("a b.mp3")}));

    // Alt+Enter: our own properties window, there being no file manager on the bus.
    Select(w, "c.mp3");
    QTest::keyClick(w.ListBoxOrg, Qt::Key_Return, Qt::AltModifier);
    ui::FilePropertiesDialog* props = w.ObjectPropertiesDialog1->OwnDialog();
    ASSERT_NE(props, nullptr);
    EXPECT_EQ(props->Field(QStringLiteral("Name")), QStringLiteral("c.mp3"));
    props->close();
}

// A Latin-1 name in a Latin-1 folder, beside its look-alike: opened and deleted itself.
TEST_F(FileActionsTest, ANameThatIsNotUtf8IsOpenedAndDeletedItself) {
    const std::string latin1 = "caf\xe9.mp3", lookAlike = "caf\xef\xbf\xbd.mp3";
    std::filesystem::create_directory(dir / "M\xfcsik");
    dir.Write("M\xfcsik/" + latin1, "latin1");
    dir.Write("M\xfcsik/" + lookAlike, "look-alike");
    ui::MainWindow w({dir / "M\xfcsik/*.mp3"});
    test::UrlRecorder files(QStringLiteral("file"));
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.ListBoxOrg->setFocus();
    Select(w, latin1);
    QTest::keyClick(w.ListBoxOrg, Qt::Key_Return, Qt::ControlModifier);
    const QRect r = w.ListBoxOrg->visualRect(test::LeftItem(w, latin1));
    QTest::mouseClick(w.ListBoxOrg->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(w.ListBoxOrg->viewport(), Qt::LeftButton, {}, r.center());
    ASSERT_EQ(files.urls.size(), 2u);
    const QByteArray uri =
        QByteArray::fromStdString("file://" + dir.Path() + "/M%FCsik/caf%E9.mp3");
    for (const QUrl& url : files.urls)
        EXPECT_EQ(url.toEncoded(), uri);

    Select(w, latin1);
    answers.Then(QMessageBox::Yes);
    Item(w.PopupMenuOrg, "Delete1")->trigger();
    EXPECT_EQ(Left(w), std::vector<std::string>{lookAlike});
    EXPECT_EQ(dir.Read("M\xfcsik/" + lookAlike), "look-alike");
    const std::string trash = std::string(getenv("XDG_DATA_HOME")) + "/Trash/files/" + latin1;
    EXPECT_TRUE(std::filesystem::exists(trash));
    std::filesystem::remove(trash);
}

TEST_F(FileActionsTest, ARightPressChoosesTheFileThatFileInfoShows) {
    dir.Write("a.mp3", "aaaa");
    dir.Write("b.mp3", "bbbbbbbb");
    ui::MainWindow w({dir.Path() + "/*.mp3"});
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QPoint b = w.ListBoxOrg->visualRect(test::LeftItem(w, "b.mp3")).center();
    // The press selects the file under the pointer before the menu opens; File Info shows it.
    QTest::mousePress(w.ListBoxOrg->viewport(), Qt::RightButton, {}, b);
    QTest::mouseRelease(w.ListBoxOrg->viewport(), Qt::RightButton, {}, b);
    EXPECT_EQ(w.SelectedFilePath(), dir / "b.mp3");
    QSignalSpy shown(w.PageControlInfo, &ui::InfoPages::DetailsShown);
    w.FileInfo1->trigger();
    ASSERT_TRUE(shown.wait(5000));
    EXPECT_EQ(w.PageControlInfo->InfoLines().value(4), QStringLiteral("Size: 8"));
}

TEST_F(FileActionsTest, DeleteAndDestroyReloadOnlyWhenDone) {
    for (const char* f : {"a.mp3", "b.mp3", "c.mp3", "d.mp3"})
        dir.Write(f);
    ui::MainWindow w({dir.Path() + "/*.mp3"});
    const struct {
        const char* item;
        const char* file;
        QMessageBox::StandardButton answer;
        std::vector<std::string> left;
    } steps[] = {
        {"Delete1", "a.mp3", QMessageBox::No, {"a.mp3", "b.mp3", "c.mp3", "d.mp3"}},
        {"Delete1", "a.mp3", QMessageBox::Yes, {"b.mp3", "c.mp3", "d.mp3"}},
        {"Destroy1", "b.mp3", QMessageBox::No, {"b.mp3", "c.mp3", "d.mp3"}},
        {"Destroy1", "b.mp3", QMessageBox::Yes, {"c.mp3", "d.mp3"}},
    };
    for (const auto& s : steps) {
        Select(w, s.file);
        answers.Then(s.answer);
        Item(w.PopupMenuOrg, s.item)->trigger();
        EXPECT_EQ(Left(w), s.left) << s.item;
    }
    EXPECT_TRUE(
        std::filesystem::exists(std::string(getenv("XDG_DATA_HOME")) + "/Trash/files/a.mp3"));
    EXPECT_FALSE(dir.Exists("b.mp3"));

    // A failed delete is reported and the list stays as it was: c.mp3 became a folder.
    std::filesystem::remove(dir / "c.mp3");
    std::filesystem::create_directory(dir / "c.mp3");
    Select(w, "c.mp3");
    answers.texts.clear();
    answers.Then(QMessageBox::Yes);
    Item(w.PopupMenuOrg, "Destroy1")->trigger();
    ASSERT_EQ(answers.texts.size(), 2u);
    EXPECT_EQ(answers.texts[1], "Could not delete \"" + (dir / "c.mp3") + "\": it is a folder.");
    EXPECT_EQ(Left(w), (std::vector<std::string>{"c.mp3", "d.mp3"}));
}

// A change made while the delete confirmation is open is offered only after the action.
TEST_F(FileActionsTest, NoReloadUnderTheDeleteConfirmation) {
    dir.Write("a.mp3");
    ui::MainWindow w({dir.Path() + "/*.mp3"});
    Select(w, "a.mp3");
    answers.Then(
        QMessageBox::No, [&] { dir.Write("new.mp3"); }, 300);
    Item(w.PopupMenuOrg, "Destroy1")->trigger();
    ASSERT_EQ(answers.texts.size(), 1u);
    EXPECT_TRUE(answers.ruled.empty());
    const QDeadlineTimer deadline(5000);
    while (answers.ruled.empty() && !deadline.hasExpired())
        QTest::qWait(10);
    EXPECT_EQ(answers.ruled.size(), 1u);
}

TEST_F(FileActionsTest, DropsChooseFolderAndPattern) {
    std::filesystem::create_directories(dir / "My.Music");
    for (const char* f : {"a.mp3", "b.mp3", "c.wma", "My.Music/x.ogg", "My.Music/y.ogg"})
        dir.Write(f);
    ui::MainWindow w;
    auto drop = [&](const std::vector<std::string>& paths) {
        QByteArray list;
        for (const std::string& p : paths)
            list += QUrl::fromLocalFile(QString::fromStdString(p)).toEncoded() + "\r\n";
        QMimeData mime;
        mime.setData(QStringLiteral("text/uri-list"), list);
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(w.ListBoxOrg->viewport(), &enter);
        QDropEvent event(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.ListBoxOrg->viewport(), &event);
    };
    drop({dir / "a.mp3", dir / "b.mp3"});
    EXPECT_EQ(w.EditDirectory->GetSelectedPath(), dir.Path());
    EXPECT_EQ(w.ComboBoxPattern->currentText(), "*.mp3");
    EXPECT_EQ(Left(w), (std::vector<std::string>{"a.mp3", "b.mp3"}));

    drop({dir / "My.Music"});
    EXPECT_EQ(w.EditDirectory->GetSelectedPath(), dir / "My.Music");
    EXPECT_EQ(w.ComboBoxPattern->currentText(), "*.*");
    EXPECT_EQ(Left(w), (std::vector<std::string>{"x.ogg", "y.ogg"}));

    // Pending edits are resolved first; then two directories are refused.
    w.MemoNew->Lines().SetTextStr("edited");
    w.MemoNew->SetModified(true);
    answers.Then(QMessageBox::No);
    drop({dir / "a.mp3", dir / "My.Music/x.ogg"});
    ASSERT_EQ(answers.texts.size(), 2u);
    EXPECT_EQ(answers.texts[0], "Would you like to apply the changes?");
    EXPECT_EQ(answers.texts[1], "You can only drop files from one directory.");
    EXPECT_EQ(w.EditDirectory->GetSelectedPath(), dir / "My.Music");
}

TEST_F(FileActionsTest, ShellRegisterAndUnregisterFromTheEtcMenu) {
    ui::MainWindow w;
    const std::string data = getenv("XDG_DATA_HOME");
    Item(w.PopupMenuEtc, "RegisterForDirecotries1")->trigger();
    const std::string program = QCoreApplication::applicationFilePath().toStdString();
    auto files = shell::ShellRegistration::ForEnvironment(program).Files();
    for (const auto& f : files)
        EXPECT_TRUE(std::filesystem::exists(f.path)) << f.path;
    EXPECT_TRUE(answers.texts.empty());
    Item(w.PopupMenuEtc, "UnregisterShell1")->trigger();
    for (const auto& f : files)
        EXPECT_FALSE(std::filesystem::exists(f.path)) << f.path;
    EXPECT_TRUE(std::filesystem::exists(data + "/applications"));
}

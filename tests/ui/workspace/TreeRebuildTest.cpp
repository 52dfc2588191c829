// The folder tree rebuilding (folders or volumes came or went) while an action asks a question
// or shows a dialog: its path report waits until the action has ended.
#include "core/dirtree/FolderTree.h"
#include "support/TempDir.h"
#include "ui/dirchooser/DirTreeCombo.h"
#include "ui/dirchooser/DirTreeView.h"
#include "ui/editor/TextEditor.h"
#include "ui/support/LeftList.h"
#include "ui/support/ModalAnswerer.h"
#include "ui/workspace/LineNumbersDlg.h"
#include "ui/workspace/MainWindow.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iostream>
#include <sched.h>
#include <sys/mount.h>

using namespace velmora;
using test::ModalAnswerer;
using test::TempDir;
namespace fsys = std::filesystem;

namespace {

const char* const kReloadQuestion = "The contents of the directory has changed.";
const char* const kPendingQuestion = "Would you like to apply the changes?";

template <typename Pred> bool WaitFor(Pred pred) {
    QElapsedTimer t;
    t.start();
    while (!pred() && t.elapsed() < 3000)
        QTest::qWait(5);
    return pred();
}

void TypeNames(ui::MainWindow& w, const QString& text) {
    w.MemoNew->setFocus();
    w.MemoNew->SelectAll();
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i) QTest::keyClick(w.MemoNew, Qt::Key_Return);
        QTest::keyClicks(w.MemoNew, lines[i]);
    }
}

std::vector<std::string> Files(const std::string& folder) {
    std::vector<std::string> v;
    for (const auto& e : fsys::directory_iterator(folder))
        if (e.is_regular_file()) v.push_back(e.path().filename().string());
    std::sort(v.begin(), v.end());
    return v;
}

// Whether the chooser's tree shows a node captioned `caption` below the folder `path` ("Drives"
// for the computer): it does once a rebuild has run.
bool TreeShows(ui::MainWindow& w, const std::string& path, const std::string& caption) {
    const dirtree::FolderTree& tree = w.EditDirectory->Tree()->Model()->Tree();
    dirtree::FolderNode* node = tree.Root();
    if (path != "Drives") tree.WalkPath(path + "/", [&](dirtree::FolderNode& n) { node = &n; });
    for (int i = 0; node && i < node->ChildCount(); ++i)
        if (node->Child(i)->Caption().find(caption) != std::string::npos) return true;
    return false;
}

// For dialogs other than message boxes: runs whileOpen once the dialog is the active modal
// widget, then rejects it keepOpenMs later.
void WhileDialogOpen(QObject* owner, std::function<void()> whileOpen, int keepOpenMs) {
    auto* timer = new QTimer(owner);
    auto* since = new QElapsedTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [=]() mutable {
        auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dlg || !dlg->isVisible()) return;
        if (whileOpen) {
            std::exchange(whileOpen, nullptr)();
            since->start();
            return;
        }
        if (since->elapsed() < keepOpenMs) return;
        timer->stop();
        timer->deleteLater();
        delete since;
        dlg->reject();
    });
    timer->start();
}

struct TreeRebuildTest : ::testing::Test {
    TempDir dir;
    ModalAnswerer answers;
    // The program's own renames are reported like any other change; these tests decline.
    TreeRebuildTest() { answers.Always(kReloadQuestion, QMessageBox::No); }
};

} // namespace

// Another program creates a folder beside the listed one and removes a listed file while the
// Apply asks about a conflict: the run goes on with the lists it started with, no question
// opens on top of its own, and the tree's report follows once the run is over.
TEST_F(TreeRebuildTest, AnApplyFinishesWithItsOwnListsWhileTheTreeRebuilds) {
    fsys::create_directories(dir / "music");
    fsys::create_directories(dir / "sibling");
    for (const char* n : {"a.mp3", "b.mp3", "c.mp3", "d.mp3", "x.mp3"})
        dir.Write(std::string("music/") + n, n);
    ui::MainWindow w({dir / "music/*.mp3"});
    ASSERT_EQ(test::LeftNames(w),
              (std::vector<std::string>{"a.mp3", "b.mp3", "c.mp3", "d.mp3", "x.mp3"}));
    TypeNames(w, "a1.mp3\nx.mp3\nc1.mp3\nd1.mp3\nx.mp3");
    answers.Then(
        QMessageBox::Yes,
        [&] {
            fsys::create_directory(dir / "beside");
            fsys::remove(dir / "music/d.mp3");
        },
        400);
    answers.Then(QMessageBox::Yes); // d.mp3 went away: its failure is ignored
    w.ButtonApply->click();
    ASSERT_EQ(answers.texts.size(), 2u);
    EXPECT_EQ(answers.texts[0],
              "A file named \"" + dir / "music/x.mp3" + "\" already exists.\nSkip this file?");
    EXPECT_EQ(answers.texts[1], "Failed to rename \"" + dir / "music/d.mp3" + "\" to \"" +
                                    dir / "music/d1.mp3" + "\".\nIgnore this error?");
    EXPECT_EQ(Files(dir / "music"),
              (std::vector<std::string>{"a1.mp3", "b.mp3", "c1.mp3", "x.mp3"}));
    EXPECT_EQ(dir.Read("music/c1.mp3"), "c.mp3");
    EXPECT_EQ(test::LeftNames(w), (std::vector<std::string>{"a1.mp3", "b.mp3", "c1.mp3", "x.mp3"}));
    // Delivered after the run: the tree shows the new folder, and nothing more was asked.
    EXPECT_TRUE(WaitFor([&] { return TreeShows(w, dir.Path(), "beside"); }));
    QTest::qWait(100);
    EXPECT_EQ(answers.texts.size(), 2u);
}

// Each question and dialog of a user action, open while the tree rebuilds after a folder was
// created beside the listed one (and, where the machine lets this test mount, after a volume
// was mounted): no reload and no second question happens under it.
TEST_F(TreeRebuildTest, NoReloadUnderAnyQuestionOrDialogWhileTheTreeRebuilds) {
    // Mounts stay inside this process when it may have a mount namespace of its own.
    const bool canMount = ::unshare(CLONE_NEWNS) == 0 &&
                          ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    if (!canMount) std::cout << "[ note ] volume cases skipped: no right to mount here\n";
    enum class Change { Folder, Volume };
    struct Case {
        const char* name;
        Change change;
        bool edited;      // names edited first, so that a reload under the dialog would ask
        const char* asks; // the start of the action's own message box; null for a dialog
        QMessageBox::StandardButton answer;
        std::function<void(ui::MainWindow&)> act;
    };
    const auto action = [](ui::MainWindow& w, const char* name) {
        w.findChild<QAction*>(QLatin1String(name))->trigger();
    };
    const auto apply = [](ui::MainWindow& w) { w.ButtonApply->click(); };
    const auto refresh = [](ui::MainWindow& w) { w.ButtonRefresh->click(); };
    const Case cases[] = {
        {"conflict question", Change::Folder, true, "A file named", QMessageBox::Cancel, apply},
        {"conflict question, volume", Change::Volume, true, "A file named", QMessageBox::Cancel,
         apply},
        {"failure question", Change::Folder, true, "Failed to rename", QMessageBox::Cancel,
         [](ui::MainWindow& w) {
             TypeNames(w, "nowhere/a.mp3\nb.mp3");
             w.ButtonApply->click();
         }},
        {"pending edits question", Change::Folder, true, kPendingQuestion, QMessageBox::Cancel,
         refresh},
        {"pending edits question, volume", Change::Volume, true, kPendingQuestion,
         QMessageBox::Cancel, refresh},
        {"delete confirmation", Change::Folder, false, "Are you sure", QMessageBox::No,
         [&](ui::MainWindow& w) {
             w.ListBoxOrg->setCurrentIndex(test::LeftItem(w, "a.mp3"));
             action(w, "Destroy1");
         }},
        {"number lines", Change::Folder, true, nullptr, QMessageBox::Cancel,
         [&](ui::MainWindow& w) { action(w, "NumberLines1"); }},
        {"about box", Change::Folder, true, "Velmora", QMessageBox::Ok,
         [&](ui::MainWindow& w) { action(w, "About1"); }},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.change == Change::Volume && !canMount) continue;
        const std::string caseDir = dir / std::to_string(++n);
        const std::string listed = caseDir + "/music";
        fsys::create_directories(listed);
        for (const char* f : {"a.mp3", "b.mp3"})
            std::ofstream(listed + "/" + f) << f;
        // Volumes are the user's below the home folder.
        const std::string stick = std::string(::getenv("HOME")) + "/Stick" + std::to_string(n);
        fsys::create_directories(stick);

        ui::MainWindow w({listed});
        if (c.edited) TypeNames(w, "b.mp3\nb.mp3"); // a.mp3 -> b.mp3 conflicts
        std::vector<std::string> leftUnderDialog;
        const std::size_t asked = answers.texts.size();
        auto change = [&] {
            if (c.change == Change::Folder)
                fsys::create_directory(caseDir + "/beside");
            else
                EXPECT_EQ(::mount(caseDir.c_str(), stick.c_str(), nullptr, MS_BIND, nullptr), 0);
            std::ofstream(listed + "/new.mp3") << "n";
            // The list as it stands just before the dialog closes.
            QTimer::singleShot(350, [&] { leftUnderDialog = test::LeftNames(w); });
        };
        if (c.asks)
            answers.Then(c.answer, change, 400);
        else
            WhileDialogOpen(&w, change, 400);
        c.act(w);
        EXPECT_EQ(leftUnderDialog, (std::vector<std::string>{"a.mp3", "b.mp3"}));
        // Only the action's own box was shown (none for a dialog).
        const std::size_t own = c.asks ? 1 : 0;
        for (std::size_t i = asked + own; i < answers.texts.size(); ++i)
            ADD_FAILURE() << "asked under the action: " << answers.texts[i];
        if (c.asks && answers.texts.size() > asked) {
            EXPECT_TRUE(answers.texts[asked].starts_with(c.asks)) << answers.texts[asked];
        }
        // The rebuild's report is delivered once the action has ended.
        EXPECT_TRUE(WaitFor([&] {
            return c.change == Change::Folder ? TreeShows(w, caseDir, "beside")
                                              : TreeShows(w, "Drives", "Stick" + std::to_string(n));
        }));
        if (c.change == Change::Volume) ::umount(stick.c_str());
        QTest::qWait(100);
    }
}

// Undo Last Apply through the main window, and the offer to undo a run cut off, on real files.
#include "core/journal/JournalStore.h"
#include "support/TempDir.h"
#include "ui/editor/TextEditor.h"
#include "ui/platform/QtText.h"
#include "ui/support/LeftList.h"
#include "ui/workspace/MainWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace velmora;
using test::TempDir;

namespace {

// Answers each message box as it opens with the button captioned as given, after noting the
// box's text, its default button and its details. The reload offer is always declined.
class Boxes : public QObject {
public:
    struct Seen {
        std::string text, defaultButton, details;
    };
    std::vector<Seen> seen;

    Boxes() {
        timer_.setInterval(5);
        connect(&timer_, &QTimer::timeout, this, &Boxes::Poll);
        timer_.start();
    }
    void Then(const QString& caption) { answers_.push_back(caption); }

private:
    void Poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        // Long names get invisible break points in message boxes.
        const QString text = box->text().remove(QChar(0x200B));
        QString caption = QStringLiteral("&No");
        if (!text.startsWith(QStringLiteral("The contents of the directory has changed"))) {
            caption = answers_.empty() ? QStringLiteral("OK") : answers_.front();
            if (!answers_.empty()) answers_.pop_front();
            seen.push_back({ui::FromQString(text),
                            box->defaultButton() ? box->defaultButton()->text().toStdString() : "",
                            ui::FromQString(box->detailedText())});
        }
        for (QAbstractButton* b : box->buttons())
            if (b->text() == caption) {
                b->click();
                return;
            }
        box->buttons().value(0)->click();
    }
    QTimer timer_;
    std::deque<QString> answers_;
};

void TypeNames(ui::MainWindow& w, const QString& text) {
    w.MemoNew->setFocus();
    w.MemoNew->SelectAll();
    QTest::keyClicks(w.MemoNew, text);
}

// Each test keeps its journals in a state folder of its own.
struct UndoLastApplyUi : ::testing::Test {
    TempDir state;
    std::string saved;
    UndoLastApplyUi() {
        saved = std::getenv("XDG_STATE_HOME") ? std::getenv("XDG_STATE_HOME") : "";
        ::setenv("XDG_STATE_HOME", state.Path().c_str(), 1);
    }
    ~UndoLastApplyUi() override { ::setenv("XDG_STATE_HOME", saved.c_str(), 1); }
};

bool UndoOffered(ui::MainWindow& w) {
    emit w.PopupMenuEtc->aboutToShow();
    return w.UndoLastApply1->isEnabled();
}

} // namespace

TEST_F(UndoLastApplyUi, UndoesTheLastApplyFromTheEtcMenuAfterThePendingEditsQuestion) {
    TempDir dir;
    dir.Write("a.mp3", "a");
    dir.Write("b.mp3", "b");
    Boxes boxes;
    ui::MainWindow w({dir.Path() + "/*.mp3"});
    QTest::qWait(20); // the start-up check finds nothing to recover
    ASSERT_TRUE(boxes.seen.empty());
    // In the Etc menu, before Shell Register.
    const QList<QAction*> etc = w.PopupMenuEtc->actions();
    auto* shellRegister = w.PopupMenuEtc->findChild<QAction*>("RegisterForDirecotries1");
    ASSERT_TRUE(etc.contains(w.UndoLastApply1));
    ASSERT_LT(etc.indexOf(w.UndoLastApply1), etc.indexOf(shellRegister));
    EXPECT_EQ(w.UndoLastApply1->text(), "&Undo Last Apply");
    EXPECT_FALSE(UndoOffered(w));

    w.MemoNew->Lines().Clear();
    w.MemoNew->Lines().Add("one.mp3");
    w.MemoNew->Lines().Add("two.mp3");
    w.ButtonApply->click();
    ASSERT_EQ(test::LeftNames(w), std::vector<std::string>({"one.mp3", "two.mp3"}));
    EXPECT_TRUE(UndoOffered(w));

    TypeNames(w, "unapplied");
    boxes.Then(QStringLiteral("&No"));  // drop the edits
    boxes.Then(QStringLiteral("&Yes")); // undo
    boxes.Then(QStringLiteral("OK"));   // summary
    w.UndoLastApply1->trigger();
    ASSERT_EQ(boxes.seen.size(), 3u);
    EXPECT_EQ(boxes.seen[0].text, "Would you like to apply the changes?");
    EXPECT_EQ(boxes.seen[1].text, "Undo the renaming of 2 files in \"" + dir.Path() + "\"?");
    EXPECT_EQ(boxes.seen[1].defaultButton, "&No");
    EXPECT_EQ(boxes.seen[2].text, "2 files renamed back, 0 skipped.");
    EXPECT_EQ(boxes.seen[2].details, "");
    EXPECT_EQ(dir.Read("a.mp3"), "a");
    EXPECT_EQ(dir.Read("b.mp3"), "b");
    // The listed folder was reloaded, and the run is not offered again.
    EXPECT_EQ(test::LeftNames(w), std::vector<std::string>({"a.mp3", "b.mp3"}));
    EXPECT_FALSE(w.MemoNew->Modified());
    EXPECT_FALSE(UndoOffered(w));
    EXPECT_EQ(w.StatusBarText().toStdString(), "50%: " + dir / "one.mp3" + " -> " + dir / "a.mp3");
}

TEST_F(UndoLastApplyUi, NoKeepsTheFilesAndSkippedFilesAreNamedInTheDetails) {
    TempDir dir;
    dir.Write("a.mp3");
    dir.Write("b.mp3");
    Boxes boxes;
    ui::MainWindow w({dir.Path() + "/*.mp3"});
    w.MemoNew->Lines().Clear();
    w.MemoNew->Lines().Add("one.mp3");
    w.MemoNew->Lines().Add("two\xff.mp3");
    w.ButtonApply->click();
    ASSERT_TRUE(dir.Exists("two\xff.mp3"));

    boxes.Then(QStringLiteral("&No"));
    w.UndoLastApply1->trigger();
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_TRUE(dir.Exists("one.mp3"));
    EXPECT_TRUE(UndoOffered(w));

    ASSERT_EQ(::unlink((dir / "two\xff.mp3").c_str()), 0);
    boxes.Then(QStringLiteral("&Yes"));
    boxes.Then(QStringLiteral("OK"));
    w.UndoLastApply1->trigger();
    ASSERT_EQ(boxes.seen.size(), 3u);
    EXPECT_EQ(boxes.seen[1].text, "Undo the renaming of 1 files in \"" + dir.Path() + "\"?");
    EXPECT_EQ(boxes.seen[2].text, "1 files renamed back, 1 skipped.");
    EXPECT_EQ(boxes.seen[2].details, "two\xff.mp3");
    EXPECT_TRUE(dir.Exists("a.mp3"));
}

namespace {

// A journal as an Apply killed after renaming the first `renamed` of the files leaves it.
void CutOffApply(const TempDir& dir, const std::vector<std::string>& names, int renamed) {
    journal::JournalPlan plan;
    plan.folder = dir.Slash();
    for (const std::string& n : names) {
        struct stat st {};
        ::lstat((dir / n).c_str(), &st);
        plan.entries.push_back({static_cast<std::uint64_t>(st.st_dev),
                                static_cast<std::uint64_t>(st.st_ino), n, "new " + n});
    }
    journal::JournalStore store(journal::JournalStore::DefaultDirectory());
    auto open = store.Begin(plan);
    for (int i = 0; i < renamed; ++i)
        std::rename((dir / names[i]).c_str(), (dir / ("new " + names[i])).c_str());
    // The journal is closed without its end marker, as the kernel does for a killed process.
}

} // namespace

TEST_F(UndoLastApplyUi, ARunCutOffIsOfferedAtStartAndUndoneOrKept) {
    TempDir dir;
    for (auto n : {"1.mp3", "2.mp3", "3.mp3"})
        dir.Write(n);
    CutOffApply(dir, {"1.mp3", "2.mp3", "3.mp3"}, 2);
    {
        Boxes boxes;
        boxes.Then(QStringLiteral("Undo"));
        boxes.Then(QStringLiteral("OK"));
        ui::MainWindow w({dir.Path() + "/*.mp3"});
        ASSERT_TRUE(QTest::qWaitFor([&] { return boxes.seen.size() == 2; }, 3000));
        EXPECT_EQ(boxes.seen[0].text, "The last renaming in \"" + dir.Path() +
                                          "\" was interrupted after 2 of 3 files.");
        EXPECT_EQ(boxes.seen[0].defaultButton, "Keep");
        EXPECT_EQ(boxes.seen[1].text, "2 files renamed back, 0 skipped.");
        EXPECT_EQ(test::LeftNames(w), std::vector<std::string>({"1.mp3", "2.mp3", "3.mp3"}));
        EXPECT_FALSE(UndoOffered(w));
    }

    CutOffApply(dir, {"1.mp3", "2.mp3", "3.mp3"}, 1);
    Boxes boxes;
    boxes.Then(QStringLiteral("Keep"));
    ui::MainWindow w({dir.Path() + "/*.mp3"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return boxes.seen.size() == 1; }, 3000));
    EXPECT_TRUE(dir.Exists("new 1.mp3"));
    // Kept: not offered again at start, still undoable from the menu.
    ui::MainWindow again({dir.Path() + "/*.mp3"});
    QTest::qWait(50);
    EXPECT_EQ(boxes.seen.size(), 1u);
    EXPECT_TRUE(UndoOffered(again));
    boxes.Then(QStringLiteral("&Yes"));
    boxes.Then(QStringLiteral("OK"));
    again.UndoLastApply1->trigger();
    EXPECT_EQ(boxes.seen.back().text, "1 files renamed back, 0 skipped.");
    EXPECT_TRUE(dir.Exists("1.mp3"));
}

TEST_F(UndoLastApplyUi, ADamagedJournalIsReportedAndNeverActedOn) {
    TempDir dir;
    dir.Write("x.mp3");
    const std::string journals = journal::JournalStore::DefaultDirectory();
    std::string path;
    {
        journal::JournalStore store(journals);
        journal::JournalPlan plan{dir.Slash(), {{1, 1, "x.mp3", "y.mp3"}}};
        auto open = store.Begin(plan);
        open->End(1);
        path = open->Path();
    }
    ASSERT_EQ(::truncate(path.c_str(), 40), 0);
    Boxes boxes;
    ui::MainWindow w({dir.Path() + "/*.mp3"});
    QTest::qWait(20);
    w.UndoLastApply1->trigger();
    ASSERT_GE(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].text.rfind("The rename journal \"" + path +
                                           "\" cannot be used: the journal is truncated",
                                       0),
              0u);
    EXPECT_TRUE(dir.Exists("x.mp3"));
}

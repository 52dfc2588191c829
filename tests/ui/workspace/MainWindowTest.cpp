// The main window on the offscreen platform: command line, pending edits on every caller, close.
#include "ui/workspace/MainWindow.h"

#include "core/platform/Error.h"
#include "core/platform/Utf8.h"
#include "support/TempDir.h"
#include "ui/dirchooser/DirTreeCombo.h"
#include "ui/editor/TextEditor.h"
#include "ui/platform/QtText.h"
#include "ui/support/LeftList.h"
#include "ui/support/ModalAnswerer.h"
#include "ui/workspace/ReplaceDialog.h"

#include <QAccessible>
#include <QClipboard>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

using namespace velmora;
using test::ModalAnswerer;
using test::TempDir;

namespace {

std::vector<std::string> Lines(ui::MainWindow& w) {
    std::vector<std::string> v;
    auto& l = w.Work().Right().Lines();
    for (int i = 0; i < l.Count(); ++i)
        v.push_back(l.Get(i));
    return v;
}

std::vector<std::string> Left(ui::MainWindow& w) {
    return test::LeftNames(w);
}

// Edits the names pane the way a user does: select everything and type.
void TypeNames(ui::MainWindow& w, const QString& text) {
    w.MemoNew->setFocus();
    w.MemoNew->SelectAll();
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i) QTest::keyClick(w.MemoNew, Qt::Key_Return);
        QTest::keyClicks(w.MemoNew, lines[i]);
    }
}

// Shortcuts act only in the active window.
void Activate(ui::MainWindow& w) {
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
}

const char* const kReloadQuestion = "The contents of the directory has changed.";

// Pumps events until pred holds or two seconds pass.
template <typename Pred> bool WaitFor(Pred pred) {
    QElapsedTimer t;
    t.start();
    while (!pred() && t.elapsed() < 2000)
        QTest::qWait(5);
    return pred();
}

struct MainWindowTest : ::testing::Test {
    TempDir dir;
    ModalAnswerer answers;
    // The program's own renames are reported like any other change; these tests decline.
    MainWindowTest() { answers.Always(kReloadQuestion, QMessageBox::No); }
};

} // namespace

TEST_F(MainWindowTest, CommandLineListsFolderPatternAndSwitch) {
    dir.Write("b.mp3");
    dir.Write("a.txt");
    ui::MainWindow w({dir.Path() + "/*.mp3", "/X"});
    EXPECT_EQ(w.EditDirectory->GetSelectedPath(), dir.Slash());
    EXPECT_EQ(w.ComboBoxPattern->currentText(), "*.mp3");
    EXPECT_TRUE(w.CheckBoxExcludeExt->isChecked());
    EXPECT_EQ(Left(w), std::vector<std::string>{"b.mp3"});
    EXPECT_EQ(Lines(w), std::vector<std::string>{"b"});
    EXPECT_FALSE(w.MemoNew->Modified());
    EXPECT_TRUE(answers.texts.empty());

    // The folder form lists everything; the file form lists just that file with extensions.
    ui::MainWindow folder({dir.Path(), "-x"});
    EXPECT_EQ(folder.Work().Left().Count(), 2);
    ui::MainWindow file({dir / "a.txt"});
    EXPECT_EQ(Lines(file), std::vector<std::string>{"a.txt"});
    EXPECT_FALSE(file.CheckBoxExcludeExt->isChecked());
}

TEST_F(MainWindowTest, BadCommandLinesShowTheErrorAndStillOpen) {
    ui::MainWindow w({"/x"});
    ASSERT_EQ(answers.texts.size(), 1u);
    EXPECT_EQ(answers.texts[0], "Invalid or empty path [Drives]");
    EXPECT_EQ(w.ComboBoxPattern->currentText(), "/x");
    EXPECT_TRUE(w.CheckBoxExcludeExt->isChecked());
    EXPECT_EQ(w.Work().Left().Count(), 0);
    EXPECT_EQ(w.Work().Right().Lines().Count(), 0);

    ui::MainWindow missing({dir / "nope/*.mp3"});
    ASSERT_EQ(answers.texts.size(), 2u);
    EXPECT_EQ(answers.texts[1], "Invalid or empty path [Drives]");

    // Without arguments nothing is loaded and the names pane holds its placeholder line.
    ui::MainWindow plain;
    EXPECT_EQ(Lines(plain), std::vector<std::string>{"MemoNew"});
    EXPECT_EQ(plain.EditDirectory->GetSelectedPath(), "Drives");
}

TEST_F(MainWindowTest, RefreshAsksBeforeDroppingEditsAndFollowsTheAnswer) {
    dir.Write("a.mp3");
    ui::MainWindow w({dir.Path() + "/*.mp3"});
    w.ButtonRefreshClick(); // nothing edited: no question
    EXPECT_TRUE(answers.texts.empty());

    TypeNames(w, "b.mp3");
    ASSERT_TRUE(w.MemoNew->Modified());
    answers.Then(QMessageBox::Cancel);
    w.ButtonRefresh->click();
    ASSERT_EQ(answers.texts.size(), 1u);
    EXPECT_EQ(answers.texts[0], "Would you like to apply the changes?");
    EXPECT_EQ(Lines(w), std::vector<std::string>{"b.mp3"});

    answers.Then(QMessageBox::No);
    w.ButtonRefresh->click();
    EXPECT_EQ(Lines(w), std::vector<std::string>{"a.mp3"});
    EXPECT_TRUE(dir.Exists("a.mp3"));

    TypeNames(w, "c.mp3");
    answers.Then(QMessageBox::Yes);
    w.ButtonRefresh->click();
    EXPECT_TRUE(dir.Exists("c.mp3"));
    EXPECT_EQ(Lines(w), std::vector<std::string>{"c.mp3"});
    EXPECT_EQ(answers.texts.size(), 3u);
}

TEST_F(MainWindowTest, ExcludeExtensionsToggleKeepsListsConsistent) {
    dir.Write("song.mp3");
    ui::MainWindow w({dir.Path() + "/*.mp3"});
    TypeNames(w, "tune.mp3");
    answers.Then(QMessageBox::Cancel);
    w.CheckBoxExcludeExt->click();
    EXPECT_FALSE(w.CheckBoxExcludeExt->isChecked());
    EXPECT_EQ(Lines(w), std::vector<std::string>{"tune.mp3"});

    // Yes applies with the old setting (names with extensions), then reloads without them.
    answers.Then(QMessageBox::Yes);
    w.CheckBoxExcludeExt->click();
    EXPECT_TRUE(w.CheckBoxExcludeExt->isChecked());
    EXPECT_TRUE(dir.Exists("tune.mp3"));
    EXPECT_EQ(Lines(w), std::vector<std::string>{"tune"});

    // A failed apply (line counts differ) keeps the box, the lists and the edits.
    TypeNames(w, "x\ny");
    answers.Then(QMessageBox::Yes);
    w.CheckBoxExcludeExt->click();
    ASSERT_EQ(answers.texts.size(), 4u);
    EXPECT_EQ(answers.texts[3],
              "Error. The number of lines on the left must exactly match the number "
              "of lines on the right!");
    EXPECT_TRUE(w.CheckBoxExcludeExt->isChecked());
    EXPECT_EQ(Lines(w), (std::vector<std::string>{"x", "y"}));
}

TEST_F(MainWindowTest, FolderChangesAskOnceAndRenameInTheListedFolder) {
    std::filesystem::create_directory(dir / "Rock");
    dir.Write("Rock/a.mp3");
    dir.Write("top.mp3");
    ui::MainWindow w({dir / "Rock/*.mp3"});
    Activate(w);
    TypeNames(w, "b.mp3");

    // Going up asks once; Yes renames in Rock, then lists the parent.
    answers.Then(QMessageBox::Yes);
    w.ButtonCDUp->click();
    EXPECT_EQ(answers.texts.size(), 1u);
    EXPECT_TRUE(dir.Exists("Rock/b.mp3"));
    EXPECT_EQ(w.EditDirectory->GetSelectedPath(), dir.Slash());
    EXPECT_EQ(Lines(w), std::vector<std::string>{"top.mp3"});

    // Cancel on a new folder leaves the folder shown while the lists keep the old names;
    // a later Apply still renames in the old folder.
    TypeNames(w, "renamed.mp3");
    answers.Then(QMessageBox::Cancel);
    w.EditDirectory->GoToPath(dir / "Rock");
    EXPECT_EQ(w.EditDirectory->GetSelectedPath(), dir / "Rock/");
    EXPECT_EQ(Left(w), std::vector<std::string>{"top.mp3"});
    Activate(w); // the question box took the activation
    w.MemoNew->setFocus();
    QTest::keyClick(w.MemoNew, Qt::Key_S, Qt::ControlModifier); // Apply from the names pane
    EXPECT_TRUE(dir.Exists("renamed.mp3"));
    EXPECT_EQ(answers.texts.size(), 2u);
}

TEST_F(MainWindowTest, EscapeAppliesAndCloseAsksAboutEdits) {
    dir.Write("a.mp3");
    auto* w = new ui::MainWindow({dir.Path() + "/*.mp3"});
    Activate(*w);
    TypeNames(*w, "b.mp3");
    QTest::keyClick(w->MemoNew, Qt::Key_Escape);
    EXPECT_TRUE(dir.Exists("b.mp3"));
    EXPECT_EQ(w->StatusBarText().toStdString(), "0%: " + dir / "a.mp3" + " -> " + dir / "b.mp3");

    TypeNames(*w, "c.mp3");
    answers.Then(QMessageBox::Cancel);
    EXPECT_FALSE(w->close());
    EXPECT_EQ(Lines(*w), std::vector<std::string>{"c.mp3"});
    answers.Then(QMessageBox::No);
    EXPECT_TRUE(w->close());
    EXPECT_FALSE(dir.Exists("c.mp3"));
    delete w;
}

TEST_F(MainWindowTest, HintsGoToTheStatusBarAndStay) {
    ui::MainWindow w;
    w.show();
    QHelpEvent hint(QEvent::ToolTip, QPoint(1, 1), w.ButtonRefresh->mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(w.ButtonRefresh, &hint);
    EXPECT_EQ(w.StatusBarText(), "Reload file names");
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(w.ButtonRefresh, &leave);
    EXPECT_EQ(w.StatusBarText(), "Reload file names");
}

TEST_F(MainWindowTest, OutsideChangesOfferAReloadThatDropsEdits) {
    dir.Write("a.mp3");
    ui::MainWindow w({dir.Path() + "/*.mp3"});
    ASSERT_TRUE(w.ChangeNotify1().Active());
    TypeNames(w, "edited.mp3");
    answers.Always(kReloadQuestion, QMessageBox::Yes);
    std::filesystem::rename(dir / "a.mp3", dir / "b.mp3");
    ASSERT_TRUE(WaitFor([&] { return Left(w) == std::vector<std::string>{"b.mp3"}; }));
    EXPECT_EQ(Lines(w), std::vector<std::string>{"b.mp3"});
    EXPECT_FALSE(w.MemoNew->Modified());
    EXPECT_TRUE(answers.texts.empty()); // no pending-changes question on this path
    EXPECT_EQ(answers.ruled.size(), 1u);
}

// A screen reader announces each control by its accessible name: a word, not a glyph or a value.
TEST_F(MainWindowTest, ControlsHaveSpokenNames) {
    ui::MainWindow w;
    w.show();
    const std::vector<std::pair<QWidget*, std::string>> controls = {

        {w.ButtonCDUp, "Parent directory"}, {w.ButtonRefresh, "Refresh"},
        {w.ButtonApply, "Apply"},           {w.CheckBoxExcludeExt, "Exclude Extensions"},
        {w.MemoNew, "New names"},           {w.ListBoxOrg, "Current names"}};
    for (const auto& [widget, name] : controls) {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
        ASSERT_NE(iface, nullptr) << name;
        EXPECT_EQ(iface->text(QAccessible::Name).remove(QLatin1Char('&')).toStdString(), name);
    }
}

TEST_F(MainWindowTest, ChangesDuringAnApplyQuestionWaitUntilTheRunEnds) {
    dir.Write("a.mp3", "a");
    dir.Write("b.mp3", "b");
    ui::MainWindow w({dir.Path() + "/*.mp3"});
    answers.Always(kReloadQuestion, QMessageBox::Yes);
    // Every line meets a conflict; while the first question is open, another program adds a
    // file, and its report must not reload the lists under the running Apply.
    TypeNames(w, Lines(w)[0] == "a.mp3" ? "b.mp3\na.mp3" : "a.mp3\nb.mp3");
    QTimer::singleShot(0, [&] { dir.Write("new.mp3"); });
    answers.Then(QMessageBox::Yes);
    answers.Then(QMessageBox::Yes);
    w.Work().ApplyRenames();
    EXPECT_EQ(answers.texts.size(), 2u);
    EXPECT_TRUE(answers.ruled.empty());
    EXPECT_EQ(w.Work().Left().Count(), 2);
    EXPECT_TRUE(WaitFor([&] { return w.Work().Left().Count() == 3; })); // delivered after the run
    EXPECT_EQ(answers.ruled.size(), 1u);
    EXPECT_EQ(dir.Read("b.mp3"), "b");
}

TEST_F(MainWindowTest, ChoosingAPatternReloadsButTypingDoesNot) {
    dir.Write("a.mp3");
    dir.Write("b.txt");
    ui::MainWindow w({dir.Path() + "/*.mp3"});
    Activate(w);
    // Typing a text that matches an item and leaving the box does not reload.
    w.ComboBoxPattern->setFocus();
    w.ComboBoxPattern->lineEdit()->selectAll();
    QTest::keyClicks(w.ComboBoxPattern->lineEdit(), "*.txt");
    w.MemoNew->setFocus();
    EXPECT_EQ(Left(w), std::vector<std::string>{"a.mp3"});
    w.ComboBoxPattern->setCurrentIndex(w.ComboBoxPattern->findText("*.txt"));
    emit w.ComboBoxPattern->activated(w.ComboBoxPattern->currentIndex());
    EXPECT_EQ(Left(w), std::vector<std::string>{"b.txt"});
}

TEST_F(MainWindowTest, ScrollBarActionsScrollBothPanesOnlyWithSynchScroll) {
    for (int i = 0; i < 200; ++i)
        dir.Write(std::to_string(1000 + i) + ".mp3");
    ui::MainWindow w({dir.Path() + "/*.mp3"});
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QScrollBar* left = w.ListBoxOrg->verticalScrollBar();
    QScrollBar* right = w.MemoNew->verticalScrollBar();
    ASSERT_GT(left->maximum(), 10);
    right->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_GT(right->value(), 0);
    EXPECT_GT(left->value(), 0);
    left->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(right->value(), 0);

    w.CheckBoxSynchScroll->setChecked(false);
    left->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(left->value(), 1);
    EXPECT_EQ(right->value(), 0);
}

TEST_F(MainWindowTest, ErrorsReachingTheEventLoopAreShownExceptTheSilentAbort) {
    struct Thrower : QObject {
        bool abort = false;
        bool event(QEvent* e) override {
            if (e->type() != QEvent::User) return QObject::event(e);
            if (abort) platform::Abort();
            throw platform::Exception("Something went wrong");
        }
    } thrower;
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    ASSERT_TRUE(WaitFor([&] { return answers.texts.size() == 1; }));
    EXPECT_EQ(answers.texts[0], "Something went wrong");
    thrower.abort = true;
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QTest::qWait(50);
    EXPECT_EQ(answers.texts.size(), 1u);
}

TEST_F(MainWindowTest, ForwardedScrollsReachTheOtherPaneOnceAndThumbsFollowTheEditor) {
    for (int i = 0; i < 200; ++i)
        dir.Write(std::to_string(1000 + i) + ".mp3");
    ui::MainWindow w({dir.Path() + "/*.mp3"});
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QScrollBar* left = w.ListBoxOrg->verticalScrollBar();
    QScrollBar* right = w.MemoNew->verticalScrollBar();
    int editorScrolls = 0;
    w.MemoNew->OnScroll = [&](editor::CustomTextEditor&) { ++editorScrolls; };
    int leftMoves = 0;
    QObject::connect(left, &QScrollBar::valueChanged, [&] { ++leftMoves; });

    // An arrow on either side moves both by one row, each exactly once (no echo).
    left->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(w.MemoNew->TopRow(), 1);
    EXPECT_EQ(editorScrolls, 1);
    EXPECT_EQ(leftMoves, 1);
    right->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(left->value(), 2);
    EXPECT_EQ(editorScrolls, 2);
    EXPECT_EQ(leftMoves, 2);

    // Pages of either pane keep the names level, though the list's own page is a row longer.
    for (int i = 0; i < 4; ++i)
        right->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(left->value(), w.MemoNew->TopRow());
    for (int i = 0; i < 3; ++i)
        left->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(left->value(), w.MemoNew->TopRow());
    EXPECT_GT(w.MemoNew->TopRow(), 0);

    // Dragging the editor's thumb moves the list; dragging the list's thumb leaves the editor,
    // which follows only its own thumb.
    right->setSliderDown(true);
    right->setSliderPosition(40);
    right->setSliderDown(false);
    EXPECT_EQ(w.MemoNew->TopRow(), 40);
    EXPECT_EQ(left->value(), 40);
    left->setSliderDown(true);
    left->setSliderPosition(10);
    left->setSliderDown(false);
    EXPECT_EQ(left->value(), 10);
    EXPECT_EQ(w.MemoNew->TopRow(), 40);

    // Keyboard scrolling in the editor is not forwarded.
    w.MemoNew->setFocus();
    QTest::keyClick(w.MemoNew, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(left->value(), 10);
}

TEST_F(MainWindowTest, NamesStandLevelWithTheirFilesOnTheLeft) {
    for (int i = 0; i < 30; ++i)
        dir.Write("song " + std::to_string(100 + i) + ".mp3");
    ui::MainWindow w({dir.Path() + "/*.mp3"});
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.ListBoxOrg->font(), w.MemoNew->font());
    for (int row : {0, 1, 7, 20}) {
        const QRect item = w.ListBoxOrg->visualRect(w.ListBoxOrg->model()->index(row, 0));
        const int leftTop = w.ListBoxOrg->viewport()->mapTo(&w, item.topLeft()).y();
        const int rightTop =
            w.MemoNew->viewport()->mapTo(&w, QPoint(0, w.MemoNew->CellRect(0, row).Top)).y();
        EXPECT_EQ(leftTop, rightTop) << "row " << row;
        EXPECT_EQ(item.height(), w.MemoNew->LineHeight()) << "row " << row;
    }
}

TEST_F(MainWindowTest, AReloadForgetsTheEditsOfTheOldList) {
    dir.Write("a.mp3");
    dir.Write("b.mp3");
    ui::MainWindow w({dir.Path() + "/*.mp3"});
    Activate(w);
    const std::vector<std::string> listed = Lines(w);
    w.MemoNew->setFocus();
    QTest::keyClick(w.MemoNew, Qt::Key_Down);
    QTest::keyClicks(w.MemoNew, "zz");
    answers.Then(QMessageBox::No);
    w.ButtonRefresh->click();
    EXPECT_EQ(Lines(w), listed);
    EXPECT_EQ(w.MemoNew->CaretY(), 0);
    // Undo has nothing left to do to the new list.
    QTest::keyClick(w.MemoNew, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Lines(w), listed);
    EXPECT_FALSE(w.MemoNew->Modified());
}

TEST_F(MainWindowTest, PaneMenuKeysComeBeforeTheKeyMap) {
    dir.Write("a.mp3");
    ui::MainWindow w({dir.Path() + "/*.mp3"});
    Activate(w);
    w.MemoNew->setFocus();
    // Ctrl+A selects all through the menu (the key map has no Ctrl+A); Ctrl+C copies it.
    QTest::keyClick(w.MemoNew, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(platform::EncodeUtf8(w.MemoNew->SelText()), "a.mp3");
    QTest::keyClick(w.MemoNew, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "a.mp3");
    QTest::keyClick(w.MemoNew, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Lines(w), std::vector<std::string>{""});
    QTest::keyClick(w.MemoNew, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Lines(w), std::vector<std::string>{"a.mp3"});
    // The read-only information text exists, out of the way until its pane shows it.
    ASSERT_NE(w.MemoInfo, nullptr);
    EXPECT_TRUE(w.MemoInfo->ReadOnly());
    EXPECT_FALSE(w.MemoInfo->isVisible());
}

// Every action that asks about pending edits holds the watcher's reports until it has ended:
// a change made by another program while the question is open must not reload the lists
// under it (the reload question is answered Yes here, as a user might). Only the edited line
// is renamed, with the extension setting the lists were loaded with.
TEST_F(MainWindowTest, ChangesWhileAnActionAsksWaitUntilTheActionHasEnded) {
    answers.Always(kReloadQuestion, QMessageBox::Yes);
    struct Case {
        const char* name;
        bool excluded;      // started with -x
        bool sub;           // the listed folder is "sub" below the case's folder
        bool reloadFollows; // held reports are delivered once the action has ended
        std::function<void(ui::MainWindow&, const std::string& caseDir)> act;
    };
    const Case cases[] = {
        {"refresh", false, false, true, [](ui::MainWindow& w, auto&) { w.ButtonRefresh->click(); }},
        {"exclude on", false, false, true,
         [](ui::MainWindow& w, auto&) { w.CheckBoxExcludeExt->click(); }},
        {"exclude off", true, false, true,
         [](ui::MainWindow& w, auto&) { w.CheckBoxExcludeExt->click(); }},
        // Going elsewhere restarts the watcher there: what was held for the old folder goes.
        {"up", false, true, false, [](ui::MainWindow& w, auto&) { w.ButtonCDUp->click(); }},
        {"chooser", false, false, false,
         [](ui::MainWindow& w, const std::string& c) { w.EditDirectory->GoToPath(c + "/other"); }},
        {"close", false, false, false, [](ui::MainWindow& w, auto&) { EXPECT_TRUE(w.close()); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string caseDir = dir / c.name;
        const std::string listed = c.sub ? caseDir + "/sub" : caseDir;
        std::filesystem::create_directories(listed);
        std::filesystem::create_directories(caseDir + "/other");
        for (const char* n : {"a.mp3", "b.mp3"})
            dir.Write(listed.substr(dir.Path().size() + 1) + "/" + n, n);
        ui::MainWindow w(c.excluded ? std::vector<std::string>{listed, "-x"}
                                    : std::vector<std::string>{listed});
        ASSERT_EQ(Left(w).size(), 2u);
        QStringList edited;
        for (std::size_t i = 0; i < 2; ++i)
            edited << QString::fromStdString(Left(w)[i] == "a.mp3" ? (c.excluded ? "x" : "x.mp3")
                                                                   : Lines(w)[i]);
        TypeNames(w, edited.join(QLatin1Char('\n')));
        const std::size_t asked = answers.texts.size();
        answers.Then(
            QMessageBox::Yes, [&] { std::ofstream(listed + "/new.txt") << "n"; }, 300);
        c.act(w, caseDir);
        ASSERT_EQ(answers.texts.size(), asked + 1);
        EXPECT_EQ(answers.texts.back(), "Would you like to apply the changes?");
        EXPECT_TRUE(answers.ruled.empty()); // nothing reloaded under the question
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(listed))
            if (e.is_regular_file()) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"b.mp3", "new.txt", "x.mp3"}));
        // The held report (and the report of the program's own rename) follow the action.
        if (c.reloadFollows) {
            EXPECT_TRUE(WaitFor([&] { return !answers.ruled.empty(); }));
        } else {
            QTest::qWait(200);
            EXPECT_TRUE(answers.ruled.empty());
        }
        answers.ruled.clear();
    }
}

// The listed folder removed and made again: the next load watches the new folder.
TEST_F(MainWindowTest, AFolderMadeAgainIsWatchedAgainAfterALoad) {
    answers.Always(kReloadQuestion, QMessageBox::Yes);
    std::filesystem::create_directory(dir / "album");
    dir.Write("album/a.mp3");
    ui::MainWindow w({dir / "album"});
    std::filesystem::remove_all(dir / "album");
    // The reload finds the folder gone and says so.
    ASSERT_TRUE(WaitFor([&] { return !answers.texts.empty(); }));
    EXPECT_EQ(answers.texts[0], "Invalid or empty path [" + dir / "album/" + "]");
    std::filesystem::create_directory(dir / "album");
    dir.Write("album/b.mp3");
    w.ButtonRefresh->click();
    EXPECT_EQ(Left(w), std::vector<std::string>{"b.mp3"});
    const std::size_t reloads = answers.ruled.size();
    dir.Write("album/c.mp3");
    EXPECT_TRUE(WaitFor([&] { return answers.ruled.size() > reloads; }));
    EXPECT_EQ(Left(w).size(), 2u);
}

// A folder of "number - title - artist" names swapped by one regular-expression Replace All,
// taken back by one Ctrl+Z, and applied to the files.
TEST_F(MainWindowTest, RegularExpressionReplaceAllSwapsAFolderInOneUndoStep) {
    for (const char* name : {"01 - Title - Artist.mp3", "02 - Ёлка - Группа.mp3", "03 - x.mp3"})
        dir.Write(name);
    ui::MainWindow w({dir.Path(), "-x"});
    Activate(w);
    w.MemoNew->setFocus();
    QTest::keyClick(w.MemoNew, Qt::Key_F, Qt::ControlModifier);
    ui::ReplaceDialog& dlg = *w.ReplaceDialog1;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    EXPECT_FALSE(dlg.CheckBoxRegularExpression->isChecked());
    EXPECT_EQ(dlg.CheckBoxRegularExpression->text(), "Regular e&xpression");

    // An invalid pattern says why and changes nothing.
    dlg.CheckBoxRegularExpression->setChecked(true);
    dlg.RadioDown->setChecked(true);
    dlg.EditFind->setText("(\\d+");
    dlg.ButtonReplaceAll->click();
    ASSERT_EQ(answers.texts.size(), 1u);
    EXPECT_EQ(answers.texts[0],
              "Invalid regular expression: missing closing parenthesis (at character 5).");
    EXPECT_FALSE(w.MemoNew->Modified());

    dlg.EditFind->setText("^(\\d+) - (.+) - (.+)$");
    dlg.EditReplace->setText("\\1 - \\3 - \\2");
    dlg.ButtonReplaceAll->click();
    const std::vector<std::string> swapped{"01 - Artist - Title", "02 - Группа - Ёлка", "03 - x"};
    EXPECT_EQ(Lines(w), swapped);
    EXPECT_TRUE(w.MemoNew->Modified());
    EXPECT_EQ(answers.texts.size(), 1u);

    // The dialog keeps the option between uses; one Ctrl+Z in the pane takes it all back.
    dlg.ButtonCancel->click();
    EXPECT_EQ(w.focusWidget(), w.MemoNew);
    QTest::keyClick(w.MemoNew, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Lines(w),
              (std::vector<std::string>{"01 - Title - Artist", "02 - Ёлка - Группа", "03 - x"}));
    QTest::keyClick(w.MemoNew, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(dlg.CheckBoxRegularExpression->isChecked());
    dlg.ButtonReplaceAll->click();
    w.ButtonApplyClick();
    EXPECT_TRUE(dir.Exists("01 - Artist - Title.mp3"));
    EXPECT_TRUE(dir.Exists("02 - Группа - Ёлка.mp3"));
    EXPECT_EQ(Lines(w), swapped);
}

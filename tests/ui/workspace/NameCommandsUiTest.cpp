// The names pane's menu in the running window: layout, number lines, case commands, macros,
// find and replace, each through the menu or its keys, with the undo and the question after.
#include "core/platform/Utf8.h"
#include "support/TempDir.h"
#include "ui/editor/TextEditor.h"
#include "ui/support/LeftList.h"
#include "ui/support/ModalAnswerer.h"
#include "ui/support/WhenModal.h"
#include "ui/workspace/LineNumbersDlg.h"
#include "ui/workspace/MainWindow.h"
#include "ui/workspace/ReplaceDialog.h"
#include "ui/workspace/UpDown.h"

#include <QAction>
#include <QLineEdit>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

using namespace velmora;
using test::ModalAnswerer;

namespace {

struct NamesMenu : ::testing::Test {
    test::TempDir dir;
    ModalAnswerer answers;
    std::unique_ptr<ui::MainWindow> w;

    NamesMenu() {
        answers.Always("The contents of the directory has changed.", QMessageBox::No);
        for (auto n : {"a.mp3", "b.mp3", "c.mp3"})
            dir.Write(n);
        w = std::make_unique<ui::MainWindow>(std::vector<std::string>{dir.Path() + "/*.mp3"});
        // Well inside the screen, so that no menu has to move to fit.
        w->move(0, 0);
        w->resize(640, 400);
        w->show();
        QApplication::setActiveWindow(w.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        w->MemoNew->setFocus();
    }
    std::vector<std::string> Lines() const { return test::PaneLines(*w); }
    QAction* Item(const char* name) const {
        return w->PopupMenuNew->findChild<QAction*>(QString::fromLatin1(name));
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(w->MemoNew, key, mods);
    }
    // Runs act on the number-lines dialog as soon as it is shown modally.
    void WhenNumberDialogOpens(std::function<void(ui::LineNumbersDlg&)> act) {
        test::WhenModal<ui::LineNumbersDlg>(w.get(), std::move(act));
    }
};

} // namespace

TEST_F(NamesMenu, HasEveryCommandWithItsCaptionKeyIconAndSeparator) {
    // "caption|key" a comma apart; an empty entry for a separator.
    const QStringList expected =
        QString(
            "&Apply|Ctrl+S,,&Find|Ctrl+F,,&Number Lines|Ctrl+N,,"
            "&UPPERCASE|,&lowercase|,Capi&talize|,,Names From &Tags...|Ctrl+Shift+T,&Safe Names|,,"
            "&Record|Ctrl+Shift+R,&Play|Ctrl+Shift+P,,"
            "&Undo|Ctrl+Z,,Cu&t|Ctrl+X,&Copy|Ctrl+C,&Paste|Ctrl+V,&Delete|,Select &All|Ctrl+A")
            .split(',');
    const QList<QAction*> actions = w->PopupMenuNew->actions();
    ASSERT_EQ(actions.size(), expected.size());
    for (qsizetype i = 0; i < actions.size(); ++i) {
        SCOPED_TRACE(expected[i].toStdString());
        EXPECT_EQ(actions[i]->isSeparator(), expected[i].isEmpty());
        if (actions[i]->isSeparator()) continue;
        EXPECT_EQ(actions[i]->text() + "|" + actions[i]->shortcut().toString(), expected[i]);
        EXPECT_FALSE(actions[i]->icon().pixmap(16).isNull()); // theme or bundled picture
    }
    EXPECT_FALSE(Item("Play1")->isEnabled());
}

TEST_F(NamesMenu, MenuKeyAndShiftF10OpenTheMenuAtTheCaret) {
    w->MemoNew->SetCaret(2, 1);
    for (auto [key, mods] : {std::pair{Qt::Key_Menu, Qt::KeyboardModifiers(Qt::NoModifier)},
                             std::pair{Qt::Key_F10, Qt::KeyboardModifiers(Qt::ShiftModifier)}}) {
        Key(key, mods);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w->PopupMenuNew));
        const QPoint caret =
            w->MemoNew->viewport()->mapToGlobal(w->MemoNew->CaretRect().bottomLeft());
        EXPECT_LE((w->PopupMenuNew->pos() - caret).manhattanLength(), 2);
        w->PopupMenuNew->close();
    }
}

TEST_F(NamesMenu, NumberLinesIsUndoableAsksBeforeARefreshAndKeepsTheDialogValues) {
    WhenNumberDialogOpens([](ui::LineNumbersDlg& dlg) {
        dlg.EditStart->setText("7");
        dlg.UpDownStart->Step(1); // 8
        dlg.EditDigits->setText("3");
        dlg.ComboBoxSep->setEditText("_");
        dlg.OKBtn->click();
    });
    Key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"008_a.mp3", "009_b.mp3", "010_c.mp3"}));
    EXPECT_EQ(w->focusWidget(), w->MemoNew);

    // Cancel changes nothing; the dialog shows what was entered last.
    // The box with the focus shows its text selected, so typing replaces it.
    QString shownStart, focusedText, shownSelected;
    WhenNumberDialogOpens([&](ui::LineNumbersDlg& dlg) {
        shownStart = dlg.EditStart->text();
        // Which box keeps the focus between openings is the toolkit's business.
        if (auto* focused = qobject_cast<QLineEdit*>(dlg.focusWidget())) {
            focusedText = focused->text();
            shownSelected = focused->selectedText();
        }
        dlg.CancelBtn->click();
    });
    Item("NumberLines1")->trigger();
    EXPECT_EQ(shownStart, "8");
    EXPECT_FALSE(focusedText.isEmpty());
    EXPECT_EQ(shownSelected, focusedText);
    EXPECT_EQ(Lines()[0], "008_a.mp3");

    // A text that is no number is an error, and nothing changes.
    WhenNumberDialogOpens([](ui::LineNumbersDlg& dlg) {
        dlg.EditStep->setText("x");
        dlg.OKBtn->click();
    });
    Item("NumberLines1")->trigger();
    ASSERT_FALSE(answers.texts.empty());
    EXPECT_EQ(answers.texts.back(), "'x' is not a valid integer value");
    EXPECT_EQ(Lines()[0], "008_a.mp3");

    // The numbering is an edit like any other: Refresh asks, Undo takes it back.
    answers.Then(QMessageBox::Cancel);
    w->ButtonRefresh->click();
    EXPECT_EQ(answers.texts.back(), "Would you like to apply the changes?");
    EXPECT_EQ(Lines()[0], "008_a.mp3");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"a.mp3", "b.mp3", "c.mp3"}));
}

TEST_F(NamesMenu, CaseCommandsAndMacrosWorkThroughTheMenu) {
    w->MemoNew->Lines().SetTextStr("\xc3\xa9t\xc3\xa9 song\r\nx\r\n");
    Key(Qt::Key_A, Qt::ControlModifier);
    Item("UPPERCASE1")->trigger();
    EXPECT_EQ(Lines()[0], "\xc3\x89T\xc3\x89 SONG");
    Item("lowercase1")->trigger();
    Item("Capitalize1")->trigger();
    EXPECT_EQ(Lines()[0], "\xc3\x89t\xc3\xa9 Song");
    Item("Undo2")->trigger();
    EXPECT_EQ(Lines()[0], "\xc3\xa9t\xc3\xa9 song");

    // Record, type, Record again: Play is enabled and replays the typing at the caret.
    w->MemoNew->SetSelStart(11); // line 2, nothing selected
    w->MemoNew->SetSelLength(0);
    Key(Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(w->MemoNew->Recording());
    QTest::keyClicks(w->MemoNew, "ab");
    Item("Record1")->trigger();
    EXPECT_TRUE(Item("Play1")->isEnabled());
    Key(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(Lines().size(), 2u);
    EXPECT_EQ(Lines()[1], "ababx");
    Item("Play1")->trigger();
    EXPECT_EQ(Lines()[1], "abababx");
}

TEST_F(NamesMenu, FindAndReplaceDialogSearchesReplacesAndGivesTheFocusBack) {
    w->MemoNew->Lines().SetTextStr("cat dog\r\nCat\r\n");
    w->MemoNew->SetSelStart(1);
    Key(Qt::Key_F, Qt::ControlModifier);
    ui::ReplaceDialog& dlg = *w->ReplaceDialog1;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    EXPECT_FALSE(dlg.isModal());
    EXPECT_TRUE(dlg.RadioUp->isChecked()); // every option starts off

    dlg.EditFind->setText("cat");
    dlg.EditReplace->setText("cow");
    dlg.RadioDown->setChecked(true);
    dlg.CheckBoxMatchCase->setChecked(true);
    dlg.ButtonFindNext->click();
    EXPECT_EQ(platform::EncodeUtf8(w->MemoNew->SelText()), "cat");
    dlg.ButtonFindNext->click(); // "Cat" differs in case: nothing further
    EXPECT_EQ(answers.texts.back(), "Could not find matching case search text \"cat\"");
    dlg.ButtonReplace->click();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"cow dog", "Cat"}));

    dlg.CheckBoxMatchCase->setChecked(false);
    dlg.ButtonReplaceAll->click(); // the selection "cow" is there, so it replaces at once
    EXPECT_EQ(Lines(), (std::vector<std::string>{"cow dog", "cow"}));
    EXPECT_TRUE(w->MemoNew->Modified());

    // Escape closes the dialog and gives the focus back to the names pane.
    dlg.activateWindow();
    dlg.EditFind->setFocus();
    QTest::keyClick(dlg.EditFind, Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(w->focusWidget(), w->MemoNew);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"cow dog", "Cat"}));
    Item("Find1")->trigger(); // shown again with what it held
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.EditReplace->text(), "cow");
}

TEST_F(NamesMenu, AFailedSearchStandsOverTheDialogAndLeavesTheKeysThere) {
    Key(Qt::Key_F, Qt::ControlModifier);
    ui::ReplaceDialog& dlg = *w->ReplaceDialog1;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    QTest::keyClicks(dlg.EditFind, "zzz");
    QWidget* parent = nullptr;
    answers.Then(
        QMessageBox::Ok, [&] { parent = QApplication::activeModalWidget()->parentWidget(); }, 0);
    QTest::keyClick(dlg.EditFind, Qt::Key_Return); // Find Next
    EXPECT_EQ(answers.texts.back(), "Could not find search text \"zzz\"");
    EXPECT_EQ(parent, &dlg);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    EXPECT_EQ(QApplication::focusWidget(), dlg.EditFind);
    // What is typed next goes into the dialog, not into a name.
    QTest::keyClicks(QApplication::focusWidget(), "q");
    EXPECT_EQ(dlg.EditFind->text(), "zzzq");
    EXPECT_EQ(Lines(), (std::vector<std::string>{"a.mp3", "b.mp3", "c.mp3"}));
    EXPECT_FALSE(w->MemoNew->Modified());
}

TEST(LineNumbersDialog, StartsWithItsDefaultsAndStepsWithinTheMinimums) {
    ui::LineNumbersDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), "Number Lines");
    EXPECT_EQ(dlg.EditStart->text(), "1");
    EXPECT_EQ(dlg.EditStep->text(), "1");
    EXPECT_EQ(dlg.EditDigits->text(), "2");
    EXPECT_EQ(dlg.ComboBoxSep->currentText(), " - ");
    QStringList items;
    for (int i = 0; i < dlg.ComboBoxSep->count(); ++i)
        items << dlg.ComboBoxSep->itemText(i);
    EXPECT_EQ(items, (QStringList{" - ", "-", "_", " "}));
    EXPECT_TRUE(dlg.ComboBoxSep->isEditable());
    EXPECT_TRUE(dlg.OKBtn->isDefault());

    // Each spin stops at its minimum instead of wrapping; a text that is no number steps from
    // the minimum; the Up and Down keys in the box step too.
    struct Row {
        QLineEdit* edit;
        ui::UpDown* upDown;
        int min;
    };
    for (const Row& r :
         {Row{dlg.EditStart, dlg.UpDownStart, 0}, Row{dlg.EditStep, dlg.UpDownStep, 1},
          Row{dlg.EditDigits, dlg.UpDownDigits, 0}}) {
        SCOPED_TRACE(r.edit->objectName().toStdString());
        r.edit->setText(QString::number(r.min));
        r.upDown->DownButton()->click();
        EXPECT_EQ(r.edit->text(), QString::number(r.min));
        QTest::keyClick(r.edit, Qt::Key_Up);
        EXPECT_EQ(r.edit->text(), QString::number(r.min + 1));
        r.upDown->UpButton()->click();
        EXPECT_EQ(r.edit->text(), QString::number(r.min + 2));
        QTest::keyClick(r.edit, Qt::Key_Down);
        EXPECT_EQ(r.edit->text(), QString::number(r.min + 1));
        r.edit->setText("x");
        r.upDown->UpButton()->click();
        EXPECT_EQ(r.edit->text(), QString::number(r.min));
    }
    // The boxes keep any typed text until the dialog is confirmed.
    dlg.EditStart->setText("-3");
    dlg.EditDigits->setText("2");
    EXPECT_EQ(dlg.Numbering().Format(dlg.Numbering().Start()), "-03");
}

// Names From Tags and Safe Names in the running window: real tagged files of several formats,
// the dialog's preview, OK as one undo step, Cancel, and Apply renaming from the new names.
#include "core/tagnames/AudioFiles.h"
#include "core/tags/Id3v2TagBuilder.h"
#include "support/TempDir.h"
#include "ui/editor/TextEditor.h"
#include "ui/platform/AppSettings.h"
#include "ui/support/LeftList.h"
#include "ui/support/ModalAnswerer.h"
#include "ui/support/WhenModal.h"
#include "ui/workspace/MainWindow.h"
#include "ui/workspace/NamesFromTagsDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>

using namespace velmora;
using test::ModalAnswerer;

namespace {

struct NamesFromTags : ::testing::Test {
    test::TempDir dir;
    ModalAnswerer answers;
    std::unique_ptr<ui::MainWindow> w;

    NamesFromTags() {
        ui::OpenAppSettings()->clear(); // the dialog keeps its choices between runs
        answers.Always("The contents of the directory has changed.", QMessageBox::No);
        using namespace tags::test;
        dir.Write("1.mp3",
                  Tag(4, Frame4("TPE1", Utf8Text("Кино")) + Frame4("TIT2", Utf8Text("Звезда")) +
                             Frame4("TRCK", Latin1Text("1/4"))) +
                      std::string(32, '\xFF'));
        dir.Write("2.flac",
                  tagnames::test::Flac({"ARTIST=AC/DC", "TITLE=T.N.T.", "TRACKNUMBER=2"}));
        dir.Write("3.m4a", tagnames::test::M4a(tagnames::test::TextItem("\xA9"
                                                                        "ART",
                                                                        "Björk") +
                                               tagnames::test::TextItem("\xA9nam", "Jóga") +
                                               tagnames::test::NumberPairItem("trkn", 3, 4)));
        dir.Write("4.wav", "no tags at all");
        w = std::make_unique<ui::MainWindow>(std::vector<std::string>{dir.Path() + "/*.*"});
        w->show();
        QApplication::setActiveWindow(w.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        w->MemoNew->setFocus();
    }
    std::vector<std::string> Lines() const { return test::PaneLines(*w); }
    // Runs act on the dialog once it is shown and its tags are read.
    void WhenDialogReady(std::function<void(ui::NamesFromTagsDlg&)> act) {
        test::WhenModal<ui::NamesFromTagsDlg>(
            w.get(), std::move(act), [](ui::NamesFromTagsDlg& dlg) {
                return !dlg.LabelProgress->text().startsWith("Reading");
            });
    }
    // The offscreen platform does not give the window back its activation after a dialog.
    void OpenDialog() {
        QApplication::setActiveWindow(w.get());
        w->MemoNew->setFocus();
        QTest::keyClick(w->MemoNew, Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
    }
};

} // namespace

TEST_F(NamesFromTags, OkWritesEveryLineAsOneUndoStepAndApplyRenamesFromThem) {
    const auto before = Lines();
    ASSERT_EQ(before, (std::vector<std::string>{"1.mp3", "2.flac", "3.m4a", "4.wav"}));
    QStringList preview;
    bool focusedAndSelected = false;
    WhenDialogReady([&](ui::NamesFromTagsDlg& dlg) {
        focusedAndSelected =
            dlg.focusWidget() == dlg.ComboBoxFormat &&
            dlg.ComboBoxFormat->lineEdit()->selectedText() == dlg.ComboBoxFormat->currentText();
        dlg.RadioKeepOld->setChecked(true);
        dlg.EditReplacement->setText("_");
        QTest::keyClicks(dlg.ComboBoxFormat->lineEdit(), "%track:2% - %artist% - %title");
        EXPECT_FALSE(dlg.Buttons->button(QDialogButtonBox::Ok)->isEnabled()); // not closed
        QTest::keyClicks(dlg.ComboBoxFormat->lineEdit(), "%");
        for (int i = 0; i < dlg.Preview->topLevelItemCount(); ++i)
            preview << dlg.Preview->topLevelItem(i)->text(1);
        dlg.Buttons->button(QDialogButtonBox::Ok)->click();
    });
    OpenDialog();
    EXPECT_TRUE(focusedAndSelected);
    const std::vector<std::string> named{"01 - Кино - Звезда.mp3", "02 - AC_DC - T.N.T.flac",
                                         "03 - Björk - Jóga.m4a", "4.wav"};
    EXPECT_EQ(preview, (QStringList{"01 - Кино - Звезда.mp3", "02 - AC_DC - T.N.T.flac",
                                    "03 - Björk - Jóga.m4a", "4.wav"}));
    EXPECT_EQ(Lines(), named);
    EXPECT_TRUE(w->MemoNew->Modified());
    QTest::keyClick(w->MemoNew, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Lines(), before); // one undo step

    // The format is offered first next time; OK again, and Apply renames.
    QString first;
    WhenDialogReady([&](ui::NamesFromTagsDlg& dlg) {
        first = dlg.ComboBoxFormat->currentText();
        dlg.Buttons->button(QDialogButtonBox::Ok)->click();
    });
    OpenDialog();
    EXPECT_EQ(first, "%track:2% - %artist% - %title%");
    ASSERT_EQ(Lines(), named);
    QApplication::setActiveWindow(w.get());
    QTest::keyClick(w->MemoNew, Qt::Key_S, Qt::ControlModifier);
    for (const std::string& name : named)
        EXPECT_TRUE(dir.Exists(name)) << name;
}

TEST_F(NamesFromTags, CancelChangesNothingAndMissingFieldsCanStayEmpty) {
    WhenDialogReady([](ui::NamesFromTagsDlg& dlg) {
        dlg.ComboBoxFormat->setEditText("%title%");
        QTest::keyClick(dlg.ComboBoxFormat->lineEdit(), Qt::Key_Escape);
    });
    OpenDialog();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"1.mp3", "2.flac", "3.m4a", "4.wav"}));

    w->CheckBoxExcludeExt->click(); // names without extensions
    WhenDialogReady([](ui::NamesFromTagsDlg& dlg) {
        dlg.ComboBoxFormat->setEditText("%artist%%title%");
        dlg.RadioLeaveEmpty->setChecked(true);
        dlg.CheckBoxSafeAll->setChecked(true);
        dlg.Buttons->button(QDialogButtonBox::Ok)->click();
    });
    OpenDialog();
    // A name that comes out empty keeps the old one.
    EXPECT_EQ(Lines(), (std::vector<std::string>{"КиноЗвезда", "AC_DCT.N.T", "BjörkJóga", "4"}));
}

TEST_F(NamesFromTags, SafeNamesRewritesTheSelectedLinesOrAll) {
    w->MemoNew->Lines().Put(0, "What? Now: .mp3");
    w->MemoNew->Lines().Put(1, "a/b|c.flac");
    w->MemoNew->Lines().Put(2, "x<y>.m4a");
    QAction* safe = w->PopupMenuNew->findChild<QAction*>("SafeNames1");
    ASSERT_NE(safe, nullptr);
    w->MemoNew->SetCaret(0, 1);
    w->MemoNew->ExtendSelection(2, 1); // line 2 only
    safe->trigger();
    EXPECT_EQ(Lines()[0], "What? Now: .mp3");
    EXPECT_EQ(Lines()[1], "a_b|c.flac"); // a POSIX volume takes "|"
    ui::OpenAppSettings()->setValue("NamesFromTags/SafeForAllFileSystems", true);
    safe->trigger(); // no selection now: every line
    EXPECT_EQ(Lines(),
              (std::vector<std::string>{"What_ Now_.mp3", "a_b_c.flac", "x_y_.m4a", "4.wav"}));
    QTest::keyClick(w->MemoNew, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Lines()[0], "What? Now: .mp3");
}

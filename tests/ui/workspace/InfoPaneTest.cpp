// The information pane in the main window: the menu item, selection, reading off the UI thread,
// writing and clearing the ID3v1 tag, the file lines.
#include "core/tags/picture/JpegImage.h"
#include "ui/editor/TextEditor.h"
#include "ui/support/LeftList.h"
#include "ui/support/ModalAnswerer.h"
#include "ui/tags/PictureBox.h"
#include "ui/tags/TagFiles.h"
#include "ui/tags/VisualId3v1.h"
#include "ui/tags/VisualId3v2.h"
#include "ui/workspace/InfoPages.h"
#include "ui/workspace/MainWindow.h"

#include <QAccessible>
#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace velmora;
using namespace velmora::test;
using tags::test::Tag;
using tags::test::Text3;

namespace {

struct InfoPaneTest : ::testing::Test {
    static void SetUpTestSuite() { tags::RegisterJpegImage(); }
    InfoPaneTest() {
        answers.Always("The contents of the directory has changed.", QMessageBox::No);
    }

    TempDir dir;
    ModalAnswerer answers;

    std::unique_ptr<ui::MainWindow> Open() {
        auto w = std::make_unique<ui::MainWindow>(std::vector<std::string>{dir.Path() + "/*.mp3"});
        w->FileInfo1->trigger();
        return w;
    }
    // Selects a file as a click does and waits until its details are shown.
    static void Select(ui::MainWindow& w, const std::string& name) {
        QSignalSpy shown(w.PageControlInfo, &ui::InfoPages::DetailsShown);
        w.ListBoxOrg->setCurrentIndex(LeftItem(w, name));
        ASSERT_TRUE(shown.wait(5000)) << name;
    }
};

} // namespace

TEST_F(InfoPaneTest, FileInfoItemShowsThePaneExactlyWhileChecked) {
    ui::MainWindow w;
    EXPECT_EQ(w.FileInfo1->text(), "File &Info");
    EXPECT_TRUE(w.FileInfo1->isCheckable());
    EXPECT_TRUE(w.PopupMenuOrg->actions().contains(w.FileInfo1));
    EXPECT_TRUE(w.PageControlInfo->isHidden());
    w.FileInfo1->trigger();
    EXPECT_FALSE(w.PageControlInfo->isHidden());
    ASSERT_EQ(w.PageControlInfo->count(), 3);
    const QString tabs[] = {"File Info", "ID3 V11", "ID3 V21"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(w.PageControlInfo->tabText(i), tabs[i]);
        // Screen readers name each page like its tab.
        QAccessibleInterface* page =
            QAccessible::queryAccessibleInterface(w.PageControlInfo->widget(i));
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->text(QAccessible::Name), i == 0 ? QString("File information") : tabs[i]);
    }
    w.FileInfo1->trigger();
    EXPECT_TRUE(w.PageControlInfo->isHidden());
}

TEST_F(InfoPaneTest, KeyboardSelectionShowsTheFileLinesAndItsTags) {
    dir.Write("a.mp3", Tag(3, Text3("TIT2", "Two")) + Audio() + Trailer("One  ", "Art"));
    auto w = Open();
    w->show();
    QSignalSpy shown(w->PageControlInfo, &ui::InfoPages::DetailsShown);
    w->ListBoxOrg->setFocus();
    QTest::keyClick(w->ListBoxOrg, Qt::Key_Down);
    ASSERT_TRUE(shown.wait(5000));
    EXPECT_EQ(w->SelectedFilePath(), dir / "a.mp3");
    const QStringList lines = w->PageControlInfo->InfoLines();
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], "Attributes: ");
    EXPECT_TRUE(lines[1].startsWith("Created: "));
    EXPECT_TRUE(lines[3].startsWith("Last write: ") && lines[3].contains("UTC"));
    EXPECT_EQ(lines[4], QString("Size: %1").arg(dir.Read("a.mp3").size()));
    EXPECT_EQ(w->PageControlInfo->VisualId3v11->FileName(), dir / "a.mp3");
    EXPECT_EQ(w->PageControlInfo->VisualId3v11->EditSongName->text(), "One");
    EXPECT_EQ(w->PageControlInfo->VisualId3v21->Datas().Texts.Text1.Title.Text(), "Two");
}

TEST_F(InfoPaneTest, AMouseClickShowsTheClickedFile) {
    dir.Write("a.mp3", Audio() + Trailer("First"));
    dir.Write("b.mp3", Audio() + Trailer("Second"));
    auto w = Open();
    w->show();
    QSignalSpy shown(w->PageControlInfo, &ui::InfoPages::DetailsShown);
    const QRect second = w->ListBoxOrg->visualRect(LeftItem(*w, "b.mp3"));
    QTest::mouseClick(w->ListBoxOrg->viewport(), Qt::LeftButton, {}, second.center());
    ASSERT_TRUE(shown.wait(5000));
    EXPECT_EQ(w->SelectedFilePath(), dir / "b.mp3");
    EXPECT_EQ(w->PageControlInfo->VisualId3v11->EditSongName->text(), "Second");
    EXPECT_EQ(w->PageControlInfo->InfoLines().size(), 5);
}

TEST_F(InfoPaneTest, AHiddenPaneReadsTheSelectedFileWhenItOpens) {
    dir.Write("a.mp3", Audio() + Trailer("Song"));
    ui::MainWindow w({dir.Path() + "/*.mp3"});
    w.ListBoxOrg->setCurrentIndex(w.ListBoxOrg->model()->index(0, 0));
    EXPECT_FALSE(w.PageControlInfo->Loading());
    EXPECT_TRUE(w.PageControlInfo->InfoLines().isEmpty());
    QSignalSpy shown(w.PageControlInfo, &ui::InfoPages::DetailsShown);
    w.FileInfo1->trigger();
    ASSERT_TRUE(shown.wait(5000));
    EXPECT_EQ(w.PageControlInfo->VisualId3v11->EditSongName->text(), "Song");
}

TEST_F(InfoPaneTest, ArrowingThroughManyCoveredFilesShowsOnlyWhereTheSelectionStops) {
    const Bytes tag = Tag(3, Apic(3, "Front", JpegOf(300, 300)));
    for (int i = 0; i < 300; ++i)
        dir.Write("song" + std::to_string(1000 + i) + ".mp3",
                  tag + Audio(100) + Trailer("Song " + std::to_string(i)));
    auto w = Open();
    w->show();
    QSignalSpy shown(w->PageControlInfo, &ui::InfoPages::DetailsShown);
    w->ListBoxOrg->setFocus();
    for (int i = 0; i < 300; ++i)
        QTest::keyClick(w->ListBoxOrg, Qt::Key_Down);
    const std::string last = w->SelectedFilePath();
    EXPECT_EQ(w->ListBoxOrg->currentIndex().row(), 299);
    ASSERT_TRUE(shown.wait(5000));
    QTest::qWait(50); // anything still queued would arrive now
    EXPECT_EQ(shown.size(), 1);
    EXPECT_FALSE(w->PageControlInfo->Loading());
    EXPECT_EQ(w->PageControlInfo->VisualId3v11->FileName(), last);
    EXPECT_EQ(w->PageControlInfo->VisualId3v21->Types.Items(), QStringList{"Cover Front"});
    EXPECT_EQ(w->PageControlInfo->VisualId3v21->Image->Image().size(), QSize(300, 300));
}

TEST_F(InfoPaneTest, WriteToFileLandsInTheFileAndClearCutsTheTagOff) {
    const Bytes audio = Audio();
    dir.Write("a.mp3", audio + Trailer("Old", "", "", "", "", 3));
    auto w = Open();
    Select(*w, "a.mp3");
    ui::InfoPages& pane = *w->PageControlInfo;
    pane.VisualId3v11->EditSongName->setText("New");
    pane.Button1->click();
    EXPECT_EQ(dir.Read("a.mp3").substr(audio.size() + 3, 4), Bytes("New\0", 4));
    EXPECT_TRUE(answers.texts.empty());
    EXPECT_EQ(pane.InfoLines().value(4), QString("Size: %1").arg(audio.size() + 128));

    pane.Button4->click();
    EXPECT_EQ(dir.Read("a.mp3"), audio);
    EXPECT_EQ(pane.VisualId3v11->EditSongName->text(), "");
    EXPECT_EQ(pane.VisualId3v11->ComboGenre->currentIndex(), -1);
    EXPECT_EQ(pane.InfoLines().value(4), QString("Size: %1").arg(audio.size()));
}

TEST_F(InfoPaneTest, AFailedWriteIsReportedNamingTheFile) {
    dir.Write("b.mp3", Audio() + Trailer("B"));
    dir.Write("c.mp3");
    ::mkdir((dir / "folder.mp3").c_str(), 0755); // readable, never writable as a file
    auto w = Open();
    QSignalSpy shown(w->PageControlInfo, &ui::InfoPages::DetailsShown);
    w->PageControlInfo->ShowFile(dir / "folder.mp3");
    ASSERT_TRUE(shown.wait(5000));
    w->PageControlInfo->Button1->click();
    ASSERT_EQ(answers.texts.size(), 1u);
    EXPECT_EQ(answers.texts[0],
              "The ID3v1 tag could not be written to \"" + dir / "folder.mp3" + "\".");

    // Selecting a file that cannot be opened empties the lines; the panels keep their file.
    Select(*w, "b.mp3");
    ASSERT_FALSE(w->PageControlInfo->InfoLines().isEmpty());
    ::unlink((dir / "c.mp3").c_str());
    Select(*w, "c.mp3");
    EXPECT_TRUE(w->PageControlInfo->InfoLines().isEmpty());
    EXPECT_EQ(w->PageControlInfo->VisualId3v11->FileName(), dir / "b.mp3");
    EXPECT_EQ(w->PageControlInfo->VisualId3v11->EditSongName->text(), "B");
    EXPECT_EQ(answers.texts.size(), 1u);
}

// The panel writes by name; the name must still stand for the file it was filled from.
TEST_F(InfoPaneTest, WriteAndClearRefuseWhenTheNameNowStandsForAnotherFile) {
    const Bytes audio = Audio();
    dir.Write("a.mp3", audio + Trailer("Shown"));
    dir.Write("b.mp3", audio);
    auto w = Open();
    Select(*w, "a.mp3");
    ui::InfoPages& pane = *w->PageControlInfo;
    const std::string gone = "\"" + dir / "a.mp3" + "\" is no longer the file shown";

    // Another program renames the shown file away and another file onto its name.
    ASSERT_EQ(::rename((dir / "a.mp3").c_str(), (dir / "x.mp3").c_str()), 0);
    ASSERT_EQ(::rename((dir / "b.mp3").c_str(), (dir / "a.mp3").c_str()), 0);
    answers.Then(QMessageBox::No); // not read again
    answers.Then(QMessageBox::No);
    pane.Button1->click();
    pane.Button4->click();
    EXPECT_EQ(answers.texts.size(), 2u);
    EXPECT_EQ(dir.Read("a.mp3"), audio);
    EXPECT_EQ(dir.Read("x.mp3"), audio + Trailer("Shown"));

    // Removed: nothing is written, nothing is created.
    ::unlink((dir / "a.mp3").c_str());
    pane.Button1->click();
    ASSERT_EQ(answers.texts.size(), 3u);
    for (const std::string& text : answers.texts)
        EXPECT_EQ(text.rfind(gone, 0), 0u) << text;
    EXPECT_FALSE(dir.Exists("a.mp3"));
}

// Overwritten in place, as "cp other.mp3 a.mp3" does: same inode, other contents. The tag
// shown is not this file's, so neither its values nor a cut belong there.
TEST_F(InfoPaneTest, WriteAndClearRefuseAFileOverwrittenInPlaceAndOfferToReadItAgain) {
    const Bytes audio = Audio();
    dir.Write("a.mp3", audio + Trailer("Old Song"));
    auto w = Open();
    Select(*w, "a.mp3");
    ui::InfoPages& pane = *w->PageControlInfo;
    QTest::qWait(20);                                  // the file system's clock ticks coarsely
    const Bytes other = audio + Trailer("Other Song"); // the same size
    dir.Write("a.mp3", other);                         // truncates and rewrites the same inode
    answers.Then(QMessageBox::No);
    answers.Then(QMessageBox::No);
    pane.Button1->click();
    pane.Button4->click();
    EXPECT_EQ(dir.Read("a.mp3"), other);
    ASSERT_EQ(answers.texts.size(), 2u);
    for (const std::string& text : answers.texts)
        EXPECT_EQ(text, "\"" + dir / "a.mp3" +
                            "\" is no longer the file shown: it was renamed, replaced or removed. "
                            "The tag was not changed.\n\nDo you want to read the file again?");

    // Yes reads it again; after that the file is the one shown, also after our own writes.
    QSignalSpy shown(&pane, &ui::InfoPages::DetailsShown);
    answers.Then(QMessageBox::Yes);
    pane.Button1->click();
    ASSERT_TRUE(shown.wait(5000));
    EXPECT_EQ(pane.VisualId3v11->EditSongName->text(), "Other Song");
    EXPECT_EQ(dir.Read("a.mp3"), other);
    pane.VisualId3v11->EditSongName->setText("New");
    pane.Button1->click();
    EXPECT_EQ(dir.Read("a.mp3").substr(audio.size() + 3, 4), Bytes("New\0", 4));
    pane.Button4->click();
    EXPECT_EQ(dir.Read("a.mp3"), audio);
    EXPECT_EQ(answers.texts.size(), 3u);
}

TEST_F(InfoPaneTest, ReloadingTheListLetsGoOfAShownFileThatLostItsName) {
    const Bytes audio = Audio();
    dir.Write("a.mp3", audio + Trailer("First"));
    dir.Write("b.mp3", audio);
    auto w = Open();
    Select(*w, "a.mp3");
    ui::InfoPages& pane = *w->PageControlInfo;
    // A reload that leaves the file its name keeps it shown.
    w->ButtonRefreshClick();
    EXPECT_EQ(pane.VisualId3v11->FileName(), dir / "a.mp3");
    EXPECT_EQ(pane.VisualId3v11->EditSongName->text(), "First");
    EXPECT_TRUE(pane.Button1->isEnabled());

    // Apply renames a.mp3 away and b.mp3 onto its name, then reloads the lists.
    w->MemoNew->Lines().SetTextStr("c.mp3\na.mp3");
    w->MemoNew->SetModified(true);
    w->ButtonApplyClick();
    ASSERT_EQ(dir.Read("a.mp3"), audio);
    EXPECT_EQ(pane.VisualId3v11->FileName(), "");
    EXPECT_EQ(pane.VisualId3v11->EditSongName->text(), "");
    EXPECT_EQ(pane.VisualId3v11->ComboGenre->currentIndex(), -1);
    EXPECT_FALSE(pane.Button1->isEnabled());
    EXPECT_FALSE(pane.Button4->isEnabled());
    EXPECT_TRUE(pane.InfoLines().isEmpty());
    EXPECT_EQ(pane.VisualId3v21->Datas().Informations.TagPresent.Text(), "False");

    // A read still on its way when the list reloads is not shown afterwards.
    w->ListBoxOrg->setCurrentIndex(LeftItem(*w, "c.mp3"));
    w->ButtonRefreshClick();
    EXPECT_FALSE(pane.Loading());
    QTest::qWait(200);
    EXPECT_EQ(pane.VisualId3v11->FileName(), "");
    EXPECT_TRUE(pane.InfoLines().isEmpty());
    EXPECT_TRUE(answers.texts.empty());
}

TEST_F(InfoPaneTest, InfoLinesOfAHiddenFileAndOfASparseFileOver4GB) {
    dir.Write(".hidden.mp3", "x");
    const std::string big = dir / "big.mp3";
    int fd = ::open(big.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, (off_t{6} << 30) + 1), 0);
    ::close(fd);
    auto w = Open();
    Select(*w, "big.mp3");
    EXPECT_EQ(w->PageControlInfo->InfoLines().value(4), "Size: 6442450945");

    // Dot-files are never listed; the pane shows one all the same.
    QSignalSpy shown(w->PageControlInfo, &ui::InfoPages::DetailsShown);
    w->PageControlInfo->ShowFile(dir / ".hidden.mp3");
    ASSERT_TRUE(shown.wait(5000));
    EXPECT_TRUE(w->PageControlInfo->InfoLines().value(0).startsWith("Attributes:  Hidden"));
}

// The two tag panels on real files: the ID3v1 editor writing back, the ID3v2 viewer's pages.
#include "core/tags/picture/JpegImage.h"
#include "ui/support/UrlRecorder.h"
#include "ui/tags/PictureBox.h"
#include "ui/tags/QtPictureLoaders.h"
#include "ui/tags/TagFiles.h"
#include "ui/tags/UrlValueEdit.h"
#include "ui/tags/VisualId3v1.h"
#include "ui/tags/VisualId3v2.h"

#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;
using tags::test::Frame3;
using tags::test::Tag;
using tags::test::Text3;

namespace {

struct TagPanelsTest : ::testing::Test {
    static void SetUpTestSuite() {
        tags::RegisterJpegImage();
        ui::RegisterQtPictureLoaders();
    }
    TempDir dir;
    std::string Make(const std::string& name, const Bytes& content) {
        dir.Write(name, content);
        return dir / name;
    }
};

// The five boxes, top to bottom, and the genre row.
std::string Shown(const ui::VisualId3v1& p) {
    std::string s;
    for (QLineEdit* e : {p.EditArtist, p.EditSongName, p.EditAlbum, p.EditYear, p.EditComment})
        s += e->text().toStdString() + "|";
    return s + std::to_string(p.ComboGenre->currentIndex());
}

// Types text key by key, as a keyboard layout delivers characters beyond ASCII.
void Type(QWidget* w, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
    }
}

Bytes TrailerOf(const std::string& content) {
    return content.size() >= 128 ? content.substr(content.size() - 128) : Bytes();
}

} // namespace

TEST_F(TagPanelsTest, FileWithoutTagWritesGenre126UntouchedAnd255AfterAnEdit) {
    const Bytes audio = Audio();
    const std::string path = Make("plain.mp3", audio);
    ui::VisualId3v1 panel;
    panel.SetReadOnly(false);
    // A file with a genre first, so that the list really moves to "nothing selected".
    panel.SetFileName(Make("rock.mp3", audio + Trailer("s", "", "", "", "", 17)));
    panel.SetFileName(path);
    EXPECT_EQ(Shown(panel), "|||||-1");

    ASSERT_TRUE(panel.SaveToFile(path));
    std::string written = dir.Read("plain.mp3");
    EXPECT_EQ(written.size(), audio.size() + 128);
    EXPECT_EQ(TrailerOf(written), Trailer("").substr(0, 127) + '\x7E'); // 126

    QTest::keyClicks(panel.EditArtist, "Nico");
    EXPECT_EQ(panel.Id3Tag().Genre(), 255);
    ASSERT_TRUE(panel.SaveToFile(path));
    EXPECT_EQ(TrailerOf(dir.Read("plain.mp3")), Trailer("", "Nico", "", "", "", 255));
}

TEST_F(TagPanelsTest, TitleIsShownAndWrittenTrimmedAndLoadFromFileKeepsBlanks) {
    const std::string path =
        Make("t.mp3", Audio() + Trailer("  Title \x01", " Art", "Alb", "1999", "c", 8));
    ui::VisualId3v1 panel;
    int changes = 0;
    QObject::connect(&panel, &ui::VisualId3v1::OnChange, [&] { ++changes; });
    panel.SetFileName(path);
    EXPECT_EQ(Shown(panel), "Art|Title|Alb|1999|c|8");
    EXPECT_GE(changes, 6); // one refresh per value copied
    EXPECT_EQ(panel.FileName(), path);
    ASSERT_TRUE(panel.SaveToFile(path));
    // Each value up to its terminating zero; the old tag's bytes behind it may stay.
    const Bytes written = TrailerOf(dir.Read("t.mp3"));
    EXPECT_EQ(written.substr(3, 6), Bytes("Title\0", 6));
    EXPECT_EQ(written.substr(33, 4), Bytes("Art\0", 4));

    dir.Write("u.mp3", Audio() + Trailer("  Spaced  "));
    panel.LoadFromFile(dir / "u.mp3");
    EXPECT_EQ(panel.EditSongName->text(), "  Spaced  ");
    EXPECT_EQ(panel.FileName(), path); // LoadFromFile leaves the panel's file alone
}

TEST_F(TagPanelsTest, TypingStopsAtEachBoxLimitCountingCharacters) {
    ui::VisualId3v1 panel;
    panel.SetReadOnly(false);
    QTest::keyClicks(panel.EditSongName, QString(35, QLatin1Char('a')));
    EXPECT_EQ(panel.EditSongName->text().size(), 30);
    QTest::keyClicks(panel.EditYear, "199912");
    EXPECT_EQ(panel.EditYear->text(), "1999");
    // Two bytes in UTF-8, one character of the trailer.
    Type(panel.EditComment, QString(35, QChar(0xE9)));
    EXPECT_EQ(panel.EditComment->text().size(), 30);
    EXPECT_EQ(panel.Id3Tag().Comment().size(), 60u);
}

TEST_F(TagPanelsTest, CharactersTheTrailerCannotHoldAreMarkedAndWrittenAsQuestionMarks) {
    const std::string path = Make("e.mp3", Audio());
    ui::VisualId3v1 panel;
    panel.SetReadOnly(false);
    panel.SetFileName(path);
    Type(panel.EditAlbum, QString::fromUtf8("5 \xE2\x82\xAC caf\xC3\xA9"));
    EXPECT_TRUE(panel.EditAlbum->property("unfit").toBool());
    EXPECT_FALSE(panel.EditAlbum->toolTip().isEmpty());
    EXPECT_FALSE(panel.EditArtist->property("unfit").toBool());
    ASSERT_TRUE(panel.SaveToFile(path));
    EXPECT_EQ(TrailerOf(dir.Read("e.mp3")).substr(63, 10), Bytes("5 ? caf\xE9\0\0", 10));
    panel.EditAlbum->clear();
    EXPECT_FALSE(panel.EditAlbum->property("unfit").toBool());
}

TEST_F(TagPanelsTest, ReadOnlyDisablesEveryBoxAndTheList) {
    ui::VisualId3v1 panel;
    EXPECT_TRUE(panel.ReadOnly());
    EXPECT_FALSE(panel.EditArtist->isEnabled());
    EXPECT_FALSE(panel.ComboGenre->isEnabled());
    panel.SetReadOnly(false);
    EXPECT_TRUE(panel.EditComment->isEnabled());
    EXPECT_TRUE(panel.ComboGenre->isEnabled());
    EXPECT_EQ(panel.ComboGenre->count(), 126);
    EXPECT_EQ(panel.ComboGenre->itemText(125), "Dance Hall");
    // Boxes as wide as the panel minus their left edge and 4.
    panel.show();
    panel.resize(400, 200);
    QCoreApplication::processEvents();
    EXPECT_EQ(panel.EditArtist->geometry().right() + 1, 400 - 4);
    EXPECT_EQ(panel.ComboGenre->width(), panel.EditArtist->width());
    EXPECT_GT(panel.EditSongName->y(), panel.EditArtist->y());
}

// ---- The ID3v2 viewer ----

TEST_F(TagPanelsTest, ViewerShowsDashesBeforeTheFirstReadAndDefaultsForAFileWithoutTag) {
    ui::VisualId3v2 viewer;
    ui::PId3v2Editor& d = viewer.Datas();
    EXPECT_EQ(d.Informations.TagPresent.Text(), "-");
    EXPECT_EQ(d.Texts.Text2.Album.Text(), "-");
    EXPECT_EQ(d.Urls.Payment.Text(), "-");
    EXPECT_EQ(viewer.ShownTopic(), "Informations");

    viewer.SetFileName(Make("none.mp3", Audio()));
    const QString noDate = QLocale().toString(QDate(1900, 1, 1), QLocale::ShortFormat);
    const std::pair<ui::TextValue, QString> expected[] = {
        {d.Informations.FileName, "none.mp3"},
        {d.Informations.TagPresent, "False"},
        {d.Informations.TagSize, "0 Byte(s)"},
        {d.Informations.TagVersion, QLocale().toString(0.0, 'f', 2)},
        {d.Informations.Unsynchro, "False"},
        {d.Informations.Experimental, "False"},
        {d.Informations.Extended, "False"},
        {d.Misc.PurchasedThe, noDate},
        {d.Misc.Counter, "0"},
        {d.Misc.Rating, "0%"},
        {d.Misc.Seller, ""},
        {d.Texts.Text1.Title, ""},
        {d.Texts.Text2.MediaType, "Unknown"},
        {d.Texts.Text3.BPM, "0"},
        {d.Texts.Text3.Size, "0 Byte(s)"},
        {d.Texts.Text3.Delay, "0 millisecond(s)"},
        {d.Texts.Text4.FileType, "Unknown"},
        {d.Urls.ArtistPage, ""},
    };
    for (const auto& [value, text] : expected)
        EXPECT_EQ(value.Text(), text) << value.Widget()->accessibleName().toStdString();
    for (const ui::ListValue& list :
         {d.Misc.InvolvedPersons, d.Texts.Text1.Artists, d.Texts.Text1.Languages,
          d.Texts.Text4.UserDefined, d.Urls.UserDefined, viewer.Types})
        EXPECT_TRUE(list.Items().isEmpty());
    EXPECT_TRUE(viewer.Image->Image().isNull());
}

TEST_F(TagPanelsTest, ViewerFormatsTheTablesValues) {
    const std::string path =
        Make("full.mp3",
             Tag(3,
                 Text3("TIT2", "Song") + Text3("TPE1", "A/B") + Text3("TLAN", "engfre") +
                     Text3("TMED", "CD/DD") + Text3("TFLT", "MPG/3") + Text3("TBPM", "120") +
                     Text3("TSIZ", "4096") + Text3("TDLY", "15") +
                     Text3("TXXX", Bytes("mood\0calm", 9)) + Text3("TXXX", Bytes("key\0A", 5)) +
                     Text3("IPLS", Bytes("mix\0Ann", 7)) +
                     // A counter grown to 5 bytes: 2^32 must not read as 2^24.
                     Frame3("POPM", Bytes("me@x\0\x80\x01\0\0\0\0", 11)),
                 0x80) +
                 Audio());
    ui::VisualId3v2 viewer;
    viewer.SetFileName(path);
    ui::PId3v2Editor& d = viewer.Datas();
    EXPECT_EQ(d.Informations.TagPresent.Text(), "True");
    EXPECT_EQ(d.Informations.Unsynchro.Text(), "True");
    EXPECT_EQ(d.Informations.TagVersion.Text(), QLocale().toString(3.0, 'f', 2));
    EXPECT_EQ(d.Texts.Text1.Title.Text(), "Song");
    EXPECT_EQ(d.Texts.Text1.Artists.Items(), (QStringList{"A", "B"}));
    EXPECT_EQ(d.Texts.Text1.Artists.Widget()->currentIndex(), 0);
    EXPECT_EQ(d.Texts.Text1.Languages.Items(), (QStringList{"English", "French"}));
    EXPECT_EQ(d.Texts.Text2.MediaType.Text(), "CD-DDD");
    EXPECT_EQ(d.Texts.Text4.FileType.Text(), "MPEG 1/2 layer III");
    EXPECT_EQ(d.Texts.Text3.BPM.Text(), "120");
    EXPECT_EQ(d.Texts.Text3.Size.Text(), "4096 Byte(s)");
    EXPECT_EQ(d.Texts.Text3.Delay.Text(), "15 millisecond(s)");
    EXPECT_EQ(d.Texts.Text4.UserDefined.Items(), (QStringList{"calm (mood)", "A (key)"}));
    EXPECT_EQ(d.Texts.Text4.UserDefined.Widget()->currentText(), "calm (mood)");
    EXPECT_EQ(d.Misc.InvolvedPersons.Items(), (QStringList{"Ann (mix)"}));
    EXPECT_EQ(d.Misc.Counter.Text(), "4294967296");
    EXPECT_EQ(d.Misc.Rating.Text(), "50%");
    EXPECT_EQ(d.Misc.UserEmail.Text(), "me@x");

    const std::pair<int, const char*> ratings[] = {
        {255, "100%"}, {128, "50%"}, {0, "0%"}, {1, "0%"}};
    for (auto [rating, shown] : ratings) {
        viewer.SetFileName(
            Make("r.mp3", Tag(3, Frame3("POPM", Bytes("\0", 1) + static_cast<char>(rating)))));
        EXPECT_EQ(d.Misc.Rating.Text(), shown) << rating;
    }
}

TEST_F(TagPanelsTest, TopicsShowTheirPagesAndTextsHasNone) {
    ui::VisualId3v2 viewer;
    for (const char* topic :
         {"Misc", "Photos", "Part 1", "Part 2", "Part 3", "Part 4", "Urls", "Informations"}) {
        const auto items = viewer.TreeView->findItems(topic, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(items.size(), 1) << topic;
        viewer.TreeView->setCurrentItem(items[0]);
        EXPECT_EQ(viewer.ShownTopic(), topic);
    }
    viewer.ShowTopic("Part 3");
    viewer.TreeView->setCurrentItem(viewer.TreeView->findItems("Texts", Qt::MatchExactly)[0]);
    EXPECT_EQ(viewer.ShownTopic(), "Part 3");
}

TEST_F(TagPanelsTest, PicturesListInKindOrderShowTheFirstAndFollowTheSelection) {
    const Bytes cover = JpegOf(40, 30);
    const std::string path =
        Make("pics.mp3",
             Tag(3, Apic(3, "Front", cover) + Apic(19, "Logo", ImageOf(16, 8, "PNG"), "image/png") +
                        Apic(4, "Broken", "not a picture") +
                        Apic(0, "Bitmap", ImageOf(5, 7, "BMP"), "image/bmp")));
    ui::VisualId3v2 viewer;
    viewer.resize(600, 220);
    viewer.SetFileName(path);
    EXPECT_EQ(viewer.Types.Items(), (QStringList{"Band Logo", "Cover Front", "Other"}));
    EXPECT_EQ(viewer.Description.Text(), "Logo");
    EXPECT_EQ(viewer.Image->Image().size(), QSize(16, 8)); // PNG through the toolkit's loader

    viewer.Types.Widget()->setCurrentIndex(1);
    EXPECT_EQ(viewer.Description.Text(), "Front");
    EXPECT_EQ(viewer.Image->Image().size(), QSize(40, 30));
    EXPECT_EQ(viewer.Image->ShownSize(), QSize(40, 30));
    viewer.Types.Widget()->setCurrentIndex(2);
    EXPECT_EQ(viewer.Image->Image().size(), QSize(5, 7));
    viewer.Types.Widget()->setCurrentIndex(1);

    // Stretched, the picture fills the area (proportions kept); back to its natural size.
    viewer.show();
    viewer.ShowTopic("Photos");
    viewer.Stretch1->trigger();
    EXPECT_TRUE(viewer.Image->Stretch());
    EXPECT_GT(viewer.Image->ShownSize().width(), 40);
    viewer.Stretch1->trigger();
    EXPECT_EQ(viewer.Image->ShownSize(), QSize(40, 30));

    // Another file without pictures clears them.
    viewer.SetFileName(Make("none.mp3", Audio()));
    EXPECT_TRUE(viewer.Types.Items().isEmpty());
    EXPECT_EQ(viewer.Description.Text(), "");
    EXPECT_TRUE(viewer.Image->Image().isNull());
}

TEST_F(TagPanelsTest, UrlValuesOpenWhenClickedAndOnlyWebAndMailAddresses) {
    UrlRecorder http("http"), https("https"), file("file"), mail("mailto");
    auto opened = [&] {
        return http.urls.size() + https.urls.size() + file.urls.size() + mail.urls.size();
    };
    const std::string path =
        Make("urls.mp3", Tag(3, Frame3("WOAR", "https://artist.example/") +
                                    Frame3("WCOM", "www.shop.example/buy") +
                                    Frame3("WCOP", "file:///etc/passwd") +
                                    Frame3("WXXX", Bytes("\0fans\0https://fans.example/", 27)) +
                                    Frame3("WXXX", Bytes("\0mail\0mailto:a@b.example", 24))));
    ui::VisualId3v2 viewer;
    viewer.resize(640, 220);
    viewer.show();
    viewer.SetFileName(path);
    viewer.ShowTopic("Urls");
    ui::PUrls& d = viewer.Datas().Urls;
    for (const ui::TextValue& v : {d.ArtistPage, d.Commercial, d.Copyright, d.Payment})
        QTest::mouseClick(v.Widget(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(https.urls, std::vector<QUrl>{QUrl("https://artist.example/")});
    EXPECT_EQ(http.urls, std::vector<QUrl>{QUrl("http://www.shop.example/buy")});
    EXPECT_EQ(opened(), 2u);
    EXPECT_EQ(d.ArtistPage.Widget()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_NE(d.Copyright.Widget()->cursor().shape(), Qt::PointingHandCursor);

    EXPECT_EQ(d.UserDefined.Items(), (QStringList{"https://fans.example/", "mailto:a@b.example"}));
    EXPECT_EQ(opened(), 2u); // filling the list opened nothing
    QComboBox* box = d.UserDefined.Widget();
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Down); // a user's choice of the second address
    EXPECT_EQ(mail.urls, std::vector<QUrl>{QUrl("mailto:a@b.example")});
    // The wheel rolling over the list chooses nothing, so it opens nothing.
    for (const int delta : {120, -120}) {
        QWheelEvent wheel(QPointF(5, 5), box->mapToGlobal(QPointF(5, 5)), {}, {0, delta},
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(box, &wheel);
    }
    EXPECT_EQ(opened(), 3u);
    EXPECT_EQ(box->currentIndex(), 1);
}

TEST_F(TagPanelsTest, SavingAPictureWritesItsOwnBytesAndFormat) {
    const Bytes cover = JpegOf(12, 9);
    const std::string path = Make("save.mp3", Tag(3, Apic(3, "Front", cover)) + Audio());
    ui::VisualId3v2 viewer;
    viewer.SetFileName(path);
    // The dialog suggests the kind's name in the file's folder; the user accepts it.
    QString suggested;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        poll.stop();
        suggested = dialog->selectedFiles().value(0);
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    });
    poll.start(10);
    viewer.SavePicture();
    EXPECT_EQ(suggested.toStdString(), dir / "Cover Front.jpg");
    EXPECT_EQ(dir.Read("Cover Front.jpg"), cover);

    // Nothing shown: no dialog, nothing written.
    viewer.SetFileName(Make("none.mp3", Audio()));
    viewer.SavePicture();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

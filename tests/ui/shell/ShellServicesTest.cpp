// The shell widgets on real files: Trash and permanent delete, drops, open with, properties.
#include "support/TempDir.h"
#include "ui/shell/DragDrop.h"
#include "ui/shell/FilePropertiesDialog.h"
#include "ui/shell/ObjectPropertiesDialog.h"
#include "ui/shell/OpenWithDialog.h"
#include "ui/shell/SHFileOperation.h"
#include "ui/support/ModalAnswerer.h"

#include <QCheckBox>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using namespace velmora;
using test::ModalAnswerer;
using test::TempDir;

namespace {

// Points one environment variable elsewhere for the length of a test.
struct ScopedEnv {
    const char* name;
    std::optional<std::string> old;
    ScopedEnv(const char* n, const std::string& value) : name(n) {
        if (const char* o = std::getenv(n)) old = o;
        setenv(n, value.c_str(), 1);
    }
    ~ScopedEnv() { old ? setenv(name, old->c_str(), 1) : unsetenv(name); }
};

struct DeleteCase {
    const char* what;
    unsigned options;
    QMessageBox::StandardButton answer;
    bool deleted, trashed; // gone from its folder; and in the Trash
};

} // namespace

TEST(SHFileOperation, TrashAndPermanentDeleteAnsweredBothWays) {
    TempDir d;
    ScopedEnv data("XDG_DATA_HOME", d / "data"); // created by the operation itself
    const DeleteCase cases[] = {
        {"trash yes", ui::fofAllowUndo, QMessageBox::Yes, true, true},
        {"trash no", ui::fofAllowUndo, QMessageBox::No, false, false},
        {"destroy yes", 0, QMessageBox::Yes, true, false},
        {"destroy no", 0, QMessageBox::No, false, false},
    };
    QWidget owner;
    for (const DeleteCase& c : cases) {
        const std::string name = std::string("My \"") + c.what + "\".mp3";
        d.Write(name, "music");
        ModalAnswerer answers;
        answers.Then(c.answer);
        ui::SHFileOperation op(&owner);
        op.Options = c.options;
        op.SourceFiles = {d / name};
        EXPECT_EQ(op.Execute(), c.deleted) << c.what;
        ASSERT_EQ(answers.texts.size(), 1u) << c.what;
        EXPECT_EQ(answers.texts[0],
                  (c.options & ui::fofAllowUndo)
                      ? "Move \"" + name + "\" to the Trash?"
                      : "Are you sure you want to permanently delete \"" + name + "\"?");
        EXPECT_EQ(d.Exists(name), !c.deleted) << c.what;
        EXPECT_EQ(d.Exists("data/Trash/files/" + name), c.trashed) << c.what;
        if (c.trashed) {
            const std::string text = d.Read("data/Trash/info/" + name + ".trashinfo");
            EXPECT_NE(text.find("[Trash Info]"), std::string::npos);
            EXPECT_NE(text.find("Path=" + d.Path() + "/My%20%22trash%20yes%22.mp3"),
                      std::string::npos)
                << text;
            EXPECT_NE(text.find("DeletionDate="), std::string::npos);
        }
    }
}

TEST(SHFileOperation, NoDefaultYesAndNoTrashMeansAskingAgain) {
    TempDir d;
    d.Write("a.mp3");
    QWidget owner;
    ui::SHFileOperation op(&owner);
    op.SourceFiles = {d / "a.mp3"};
    // Enter on the confirmation presses the default button, which must be No.
    QTimer::singleShot(20, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_FALSE(op.Execute());
    EXPECT_TRUE(d.Exists("a.mp3"));

    // A data folder that cannot exist: no Trash. The file stays unless the user agrees.
    d.Write("blocker");
    ScopedEnv data("XDG_DATA_HOME", d / "blocker/data");
    for (auto answer : {QMessageBox::No, QMessageBox::Yes}) {
        ModalAnswerer answers;
        answers.Then(QMessageBox::Yes);
        answers.Then(answer);
        EXPECT_EQ(op.Execute(), answer == QMessageBox::Yes);
        ASSERT_EQ(answers.texts.size(), 2u);
        EXPECT_EQ(answers.texts[1],
                  "\"a.mp3\" cannot be moved to the Trash. Do you want to delete it permanently?");
        EXPECT_EQ(d.Exists("a.mp3"), answer == QMessageBox::No);
    }
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::current_path() / "Trash"));
}

TEST(SHFileOperation, AFailedDeleteIsShownWithTheReason) {
    TempDir d;
    std::filesystem::create_directories(d / "folder");
    QWidget owner;
    ui::SHFileOperation op(&owner);
    op.Options = 0;
    // A folder refuses unlink for root too, so the failure is real on every machine.
    op.SourceFiles = {d / "folder"};
    ModalAnswerer answers;
    answers.Then(QMessageBox::Yes);
    EXPECT_FALSE(op.Execute());
    ASSERT_EQ(answers.texts.size(), 2u);
    EXPECT_EQ(answers.texts[1], "Could not delete \"" + (d / "folder") + "\": it is a folder.");
    EXPECT_TRUE(d.Exists("folder"));
}

namespace {

const std::string kLatin1 = "caf\xe9.mp3";
const std::string kLookAlike = "caf\xef\xbf\xbd.mp3"; // U+FFFD where the Latin-1 byte stands

} // namespace

// Names are bytes: the escaped form of a Latin-1 name must not turn into its look-alike.
TEST(SHFileOperation, ANameThatIsNotUtf8IsTrashedOrDestroyedNotItsLookAlike) {
    TempDir d;
    ScopedEnv data("XDG_DATA_HOME", d / "data");
    // The folders' own names are Latin-1 and look-alike too.
    for (const std::string folder : {"M\xfcsik", "M\xef\xbf\xbdsik"}) {
        std::filesystem::create_directory(d / folder);
        for (const std::string& name :
             {kLatin1, kLookAlike, std::string("b\xe9.mp3"), std::string("b\xef\xbf\xbd.mp3")})
            d.Write(folder + "/" + name, folder + "/" + name);
    }
    QWidget owner;
    ui::SHFileOperation op(&owner);
    op.Options |= ui::fofNoConfirmation;
    op.SourceFiles = {d / ("M\xfcsik/" + kLatin1)};
    EXPECT_TRUE(op.Execute());
    op.Options &= ~static_cast<unsigned>(ui::fofAllowUndo);
    op.SourceFiles = {d / "M\xfcsik/b\xe9.mp3"};
    EXPECT_TRUE(op.Execute());
    EXPECT_EQ(d.Read("data/Trash/files/" + kLatin1), "M\xfcsik/" + kLatin1);
    for (const std::string folder : {"M\xfcsik", "M\xef\xbf\xbdsik"})
        for (const std::string& name :
             {kLatin1, kLookAlike, std::string("b\xe9.mp3"), std::string("b\xef\xbf\xbd.mp3")}) {
            const bool gone = folder == "M\xfcsik" && name.find('\xe9') != std::string::npos;
            EXPECT_EQ(d.Exists(folder + "/" + name), !gone) << folder << "/" << name;
        }
}

TEST(SHFileOperation, AFailedMoveToTheTrashSaysWhyAndOffersNoPermanentDelete) {
    TempDir d;
    ScopedEnv data("XDG_DATA_HOME", d / "data");
    QWidget owner;
    ui::SHFileOperation op(&owner);
    auto trash = [&](const std::string& name) {
        ModalAnswerer answers;
        answers.Then(QMessageBox::Yes);
        answers.Then(QMessageBox::Yes); // would delete for good if that were offered
        op.SourceFiles = {d / name};
        const bool done = op.Execute();
        return std::make_pair(done, answers.texts);
    };
    // A dangling link is trashed itself.
    std::filesystem::create_symlink("nowhere.mp3", d / "link.mp3");
    auto [linked, linkTexts] = trash("link.mp3");
    EXPECT_TRUE(linked);
    EXPECT_EQ(linkTexts.size(), 1u);
    EXPECT_FALSE(d.Exists("link.mp3"));
    EXPECT_TRUE(d.Exists("data/Trash/files/link.mp3"));

    auto [missing, missingTexts] = trash("missing.mp3");
    EXPECT_FALSE(missing);
    EXPECT_EQ(missingTexts,
              (std::vector<std::string>{
                  "Move \"missing.mp3\" to the Trash?",
                  "\"missing.mp3\" cannot be moved to the Trash: it no longer exists."}));
    if (::geteuid() == 0) return; // root may change any folder
    std::filesystem::create_directory(d / "ro");
    d.Write("ro/a.mp3");
    ::chmod((d / "ro").c_str(), 0555);
    auto [denied, deniedTexts] = trash("ro/a.mp3");
    ::chmod((d / "ro").c_str(), 0755);
    EXPECT_FALSE(denied);
    EXPECT_EQ(deniedTexts, (std::vector<std::string>{
                               "Move \"a.mp3\" to the Trash?",
                               "\"a.mp3\" cannot be moved to the Trash: Permission denied."}));
    EXPECT_TRUE(d.Exists("ro/a.mp3"));
}

TEST(DragDrop, LocalFilesInOrderWhereverTheyLand) {
    TempDir d;
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* editor = new QPlainTextEdit(&window); // takes text drops itself
    layout->addWidget(editor);
    window.resize(300, 200);
    window.show();
    ui::DragDrop drop(&window);
    std::vector<std::vector<std::string>> drops;
    QPoint at;
    drop.OnDrop = [&](QObject*, const QPoint& p, const std::vector<std::string>& paths) {
        drops.push_back(paths);
        at = p;
    };
    const std::string longName = std::string(150, 'x') + ".mp3";
    auto send = [&](QWidget* target, const QByteArray& uris, const QString& text = {}) {
        QMimeData mime;
        if (!uris.isEmpty()) mime.setData(QStringLiteral("text/uri-list"), uris);
        if (!text.isEmpty()) mime.setText(text);
        // A drop goes to the widget that accepted the drag's entry.
        QDragEnterEvent enter(QPoint(5, 7), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted()) return false;
        QDragMoveEvent move(QPoint(6, 8), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
        if (!move.isAccepted()) return false;
        QDropEvent event(QPointF(5, 7), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
        return event.isAccepted();
    };
    const QByteArray list = "file://" + QByteArray::fromStdString(d.Path()) +
                            "/b%20c.mp3\r\nhttp://example.invalid/x.mp3\r\nfile://" +
                            QByteArray::fromStdString(d.Path()) + "/" +
                            QByteArray::fromStdString(longName) + "\r\n";
    EXPECT_TRUE(send(editor->viewport(), list));
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops[0], (std::vector<std::string>{d / "b c.mp3", d / longName}));
    EXPECT_EQ(at, editor->viewport()->mapTo(&window, QPoint(5, 7)));
    EXPECT_EQ(drop.Files(), drops[0]);

    // Only remote files, or plain text: not a file drop (the editor takes the text itself).
    EXPECT_FALSE(send(&window, "http://example.invalid/x.mp3\r\n"));
    EXPECT_TRUE(send(editor->viewport(), {}, QStringLiteral("some text")));
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("some text"));
    EXPECT_EQ(drops.size(), 1u);

    drop.SetAcceptDrag(false);
    EXPECT_FALSE(window.acceptDrops());
    EXPECT_FALSE(send(&window, list));
    EXPECT_EQ(drops.size(), 1u);

    // On the window itself nothing else takes the drag: the move is ours to accept too.
    drop.SetAcceptDrag(true);
    EXPECT_TRUE(send(&window, list));
    EXPECT_EQ(drops.size(), 2u);
}

namespace {

// A private applications folder with one handler for MP3 files that records its arguments.
struct AppsFixture : ::testing::Test {
    TempDir d;
    ScopedEnv data{"XDG_DATA_HOME", d / "data"};
    // The system folder stays for the MIME database; its applications may show up too.
    ScopedEnv dataDirs{"XDG_DATA_DIRS", d / "share" + ":/usr/share"};
    ScopedEnv config{"XDG_CONFIG_HOME", d / "config"};
    ScopedEnv configDirs{"XDG_CONFIG_DIRS", d / "xdg"};
    std::string out = d / "args";

    void SetUp() override {
        for (const char* sub : {"data/applications", "share/applications", "bin"})
            std::filesystem::create_directories(d / sub);
        // Writes its arguments, then moves them into place: the test sees all or nothing.
        d.Write("bin/recorder", "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]' \"$a\"; done > '" +
                                    out + ".tmp'\nmv '" + out + ".tmp' '" + out + "'\n");
        std::filesystem::permissions(d / "bin/recorder", std::filesystem::perms::owner_all);
        d.Write("data/applications/recorder.desktop",
                "[Desktop Entry]\nType=Application\nName=Recorder\nExec=\"" + (d / "bin/recorder") +
                    "\" --name %c %f\nMimeType=audio/mpeg;\n");
        d.Write(
            "share/applications/texts.desktop",
            "[Desktop Entry]\nType=Application\nName=Texts\nExec=true %F\nMimeType=text/plain;\n");
    }
};

} // namespace

TEST_F(AppsFixture, OurChooserOpensTheFileWithTheChosenApplication) {
    const std::string file = d / "My \"best\" song.mp3";
    d.Write("My \"best\" song.mp3", "ID3");
    const auto types = ui::OpenWithDialog::MimeTypesOf(file);
    ASSERT_FALSE(types.empty());
    EXPECT_EQ(types.front(), "audio/mpeg");
    QWidget owner;
    ui::OpenWithDialog dialog(&owner);
    dialog.FileName = file;
    QStringList listed, listedAll;
    QObject::connect(&dialog, &ui::OpenWithDialog::ChooserShown, [&](ui::AppChooserDialog* c) {
        QTimer::singleShot(0, c, [&, c] {
            for (int i = 0; i < c->List()->count(); ++i)
                listed << c->List()->item(i)->text();
            c->ShowAll()->setChecked(true);
            for (int i = 0; i < c->List()->count(); ++i)
                listedAll << c->List()->item(i)->text();
            c->ShowAll()->setChecked(false);
            if (c->OpenButton()->isEnabled())
                c->OpenButton()->click();
            else
                c->reject();
        });
    });
    dialog.Execute();
    ASSERT_FALSE(listed.isEmpty());
    EXPECT_EQ(listed.front(), QStringLiteral("Recorder"));
    EXPECT_FALSE(listed.contains(QStringLiteral("Texts")));
    EXPECT_TRUE(listedAll.contains(QStringLiteral("Recorder")));
    EXPECT_TRUE(listedAll.contains(QStringLiteral("Texts")));
    for (int i = 0; i < 400 && !std::filesystem::exists(out); ++i)
        QTest::qWait(5);
    EXPECT_EQ(d.Read("args"), "[--name][Recorder][" + file + "]");
}

// Every field code hands the application the very file: paths as bytes, URIs escaped from them.
TEST_F(AppsFixture, EveryFieldCodeNamesTheFileNotItsLookAlike) {
    std::filesystem::create_directory(d / "M\xfcsik");
    const std::string file = d / ("M\xfcsik/" + kLatin1);
    d.Write("M\xfcsik/" + kLatin1);
    d.Write("M\xfcsik/" + kLookAlike);
    const std::string uri = "file://" + d.Path() + "/M%FCsik/caf%E9.mp3";
    const struct {
        const char* code;
        std::string arg;
    } cases[] = {{"%f", file}, {"%F", file}, {"%u", uri}, {"%U", uri}};
    for (const auto& c : cases) {
        std::filesystem::remove(out);
        shell::DesktopApp app;
        app.name = "Recorder";
        app.exec = "\"" + (d / "bin/recorder") + "\" " + c.code;
        ui::OpenWithDialog::Launch(app, file);
        for (int i = 0; i < 400 && !std::filesystem::exists(out); ++i)
            QTest::qWait(5);
        EXPECT_EQ(d.Read("args"), "[" + c.arg + "]") << c.code;
    }
    // Without an extension the type comes from the contents: of this file, not the look-alike.
    d.Write("M\xfcsik/caf\xe9", "ID3\x03");
    d.Write("M\xfcsik/caf\xef\xbf\xbd", "plain text");
    EXPECT_EQ(ui::OpenWithDialog::MimeTypesOf(d / "M\xfcsik/caf\xe9").front(), "audio/mpeg");
    shell::DesktopApp missing;
    missing.name = "Gone";
    missing.exec = d / "bin/gone %f";
    EXPECT_THROW(ui::OpenWithDialog::Launch(missing, file), platform::Exception);
}

TEST(ObjectPropertiesDialog, OwnDialogForAFileALinkAndAFileOver4GB) {
    TempDir d;
    d.Write("song.mp3", "12345");
    std::filesystem::create_symlink("song.mp3", d / "link.mp3");
    const std::uint64_t big = (std::uint64_t{1} << 32) + 7;
    int fd = ::open((d / "big.bin").c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(big)), 0);
    ::close(fd);

    QWidget owner;
    ui::ObjectPropertiesDialog props(&owner);
    struct Expect {
        std::string name;
        QString type, size, target, permissions;
    };
    const Expect cases[] = {
        {"song.mp3", "(audio/mpeg)", "5 bytes", "", ""},
        {"link.mp3", "(inode/symlink)", "5 bytes", "song.mp3", ""},
        {"big.bin", "", "4.0 GiB (4,294,967,303 bytes)", "", "rw------- (0600)"},
    };
    for (const Expect& c : cases) {
        props.ObjectName = d / c.name;
        ASSERT_TRUE(props.Execute());
        ui::FilePropertiesDialog* dlg = props.OwnDialog();
        ASSERT_NE(dlg, nullptr);
        EXPECT_TRUE(dlg->isVisible());
        EXPECT_EQ(dlg->Field(QStringLiteral("Name")).toStdString(), c.name);
        EXPECT_TRUE(dlg->Field(QStringLiteral("Type")).endsWith(c.type))
            << dlg->Field(QStringLiteral("Type")).toStdString();
        EXPECT_EQ(dlg->Field(QStringLiteral("Size")), c.size);
        EXPECT_EQ(dlg->Field(QStringLiteral("Link target")), c.target);
        if (!c.permissions.isEmpty()) {
            EXPECT_EQ(dlg->Field(QStringLiteral("Permissions")), c.permissions);
        }
        EXPECT_EQ(dlg->Field(QStringLiteral("Location")).toStdString(), d.Path());
        EXPECT_TRUE(dlg->Field(QStringLiteral("Modified")).endsWith(QStringLiteral(" UTC")));
        EXPECT_FALSE(dlg->Field(QStringLiteral("File system")).isEmpty());
        dlg->close();
    }
    props.ObjectName = d / "missing";
    EXPECT_THROW(props.Execute(), platform::Exception);
}

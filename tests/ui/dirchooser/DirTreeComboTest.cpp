// The directory chooser on the offscreen platform: path rules, keys, mouse, notifications.
#include "DirChooserTestSupport.h"
#include "ui/dirchooser/DropButton.h"
#include "ui/support/ModalAnswerer.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace velmora;
using test::ChooserFixture;
using test::WaitFor;
namespace fsys = std::filesystem;

namespace {

using DirTreeComboTest = ChooserFixture;

// Sends a mouse event to the tree at a point of its viewport (global coordinates follow).
void Mouse(ui::DirTreeView& tree, QEvent::Type type, const QPoint& viewportPos,
           Qt::MouseButton button = Qt::LeftButton) {
    const QPoint global = tree.viewport()->mapToGlobal(viewportPos);
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonPress ? button : Qt::NoButton;
    QMouseEvent e(type, viewportPos, global, type == QEvent::MouseMove ? Qt::NoButton : button,
                  buttons, Qt::NoModifier);
    QApplication::sendEvent(tree.viewport(), &e);
}

// The row of the node a walk along path (which reads nothing) reaches.
QModelIndex NodeIndex(ui::DirTreeView& tree, const std::string& path) {
    return tree.Model()->IndexOf(tree.Model()->Tree().WalkPath(path, [](dirtree::FolderNode&) {}));
}

QPoint CaptionCentre(ui::DirTreeView& tree, const std::string& path) {
    QModelIndex idx = NodeIndex(tree, path);
    tree.scrollTo(idx);
    QRect r = tree.visualRect(idx);
    return QPoint(r.left() + 24, r.center().y()); // on the caption, just after the icon
}

} // namespace

TEST_F(DirTreeComboTest, FreshStartShowsTheComputer) {
    EXPECT_EQ(combo->text(), "Computer");
    EXPECT_EQ(combo->GetSelectedPath(), "Drives");
    EXPECT_TRUE(changes.empty());
    EXPECT_FALSE(combo->Dropped());
    EXPECT_FALSE(Tree().currentIndex().isValid());
    const ui::DirTreeModel& m = *Tree().Model();
    QModelIndex root = m.RootIndex();
    EXPECT_TRUE(Tree().isExpanded(root));
    ASSERT_EQ(m.rowCount(root), 2);
    const QModelIndex temp = m.index(1, 0, root);
    EXPECT_EQ(temp.data().toString(), "Temp");
    EXPECT_TRUE(m.hasChildren(temp));
    // Icons show even without an icon theme: the bundled pictures.
    for (const QModelIndex& i : {root, temp})
        EXPECT_FALSE(i.data(Qt::DecorationRole).value<QIcon>().pixmap(16).isNull());
}

TEST_F(DirTreeComboTest, GoToPathAndShowPathReportingRules) {
    struct Step {
        const char* what;
        std::function<void()> act;
        std::vector<std::string> reported; // by this step
    };
    const std::string music = dir / "Music/";
    // Relative paths below are taken from the temporary folder; "M" exists there.
    struct CwdGuard {
        fsys::path saved = fsys::current_path();
        ~CwdGuard() { fsys::current_path(saved); }
    } cwd;
    fsys::current_path(dir.Path());
    fsys::create_directory(dir / "M");
    const Step steps[] = {
        {"go", [&] { combo->GoToPath(dir / "Music"); }, {music}},
        {"no slash: not the stored path", [&] { combo->GoToPath(dir / "Music"); }, {music}},
        {"with the slash: same as the stored path", [&] { combo->GoToPath(music); }, {}},
        {"empty", [&] { combo->GoToPath(""); }, {}},
        {"missing", [&] { combo->GoToPath(dir / "nope"); }, {}},
        {"a file", [&] { combo->GoToPath("/etc/passwd"); }, {}},
        {"shown twice", [&] { combo->ShowPath(music), combo->ShowPath(music); }, {music, music}},
        {"one-character relative path", [&] { combo->ShowPath("M"); }, {}},
        {"the root is no relative path", [&] { combo->ShowPath("/"); }, {"/"}},
        {"going to a relative path goes to the whole path",
         [&] { combo->GoToPath("./Other/../Music/Jazz"); },
         {dir / "Music/Jazz/"}},
    };
    std::vector<std::string> expected;
    for (const Step& s : steps) {
        s.act();
        expected.insert(expected.end(), s.reported.begin(), s.reported.end());
        EXPECT_EQ(changes, expected) << s.what;
    }
    EXPECT_EQ(combo->text(), "Jazz");
    EXPECT_EQ(combo->LastPath, dir / "Music/Jazz/");

    // Storing a path moves nothing and reports nothing.
    combo->SetSelectedPath(dir / "Other/");
    EXPECT_EQ(combo->GetSelectedPath(), dir / "Other/");
    EXPECT_EQ(combo->text(), "Jazz");
    EXPECT_EQ(changes, expected);
}

TEST_F(DirTreeComboTest, WalkSelectsExpandsAndStopsHalfway) {
    combo->GoToPath(dir / "Music/Rock");
    EXPECT_EQ(combo->text(), "Rock");
    EXPECT_EQ(Current(), dir / "Music/Rock");
    // Every node on the way is expanded, so its children were read.
    EXPECT_TRUE(Tree().isExpanded(Tree().currentIndex()));
    EXPECT_TRUE(Tree().isExpanded(Tree().currentIndex().parent()));
    EXPECT_EQ(Tree().Model()->rowCount(Tree().currentIndex()), 1); // Live

    // An existing path the tree cannot follow: the walk stops, the path is still taken.
    const std::string odd = dir.Path() + "//Other/";
    combo->ShowPath(odd);
    EXPECT_EQ(combo->GetSelectedPath(), odd);
    EXPECT_EQ(changes.back(), odd);
    EXPECT_EQ(combo->text(), "Temp");

    // The walk ignores letter case when no folder has the exact name.
    Tree().SelectPathNode(dir / "MUSIC/jazz/");
    EXPECT_EQ(Current(), dir / "Music/Jazz");
    // Walking again collapses what was open before.
    Tree().SelectPathNode(dir / "Other/");
    EXPECT_FALSE(Tree().isExpanded(NodeIndex(Tree(), dir / "Music/")));
}

TEST_F(DirTreeComboTest, KeyboardPicksAFolder) {
    combo->GoToPath(dir / "Music/Jazz");
    combo->setFocus();
    Key(Qt::Key_F4);
    ASSERT_TRUE(combo->Dropped());
    Key(Qt::Key_Up); // Blues
    EXPECT_EQ(Current(), dir / "Music/Blues");
    Key(Qt::Key_Escape); // closes, reports nothing; the moved selection stays
    EXPECT_FALSE(combo->Dropped());
    EXPECT_EQ(changes.size(), 1u);
    EXPECT_EQ(combo->text(), "Jazz");
    EXPECT_EQ(Current(), dir / "Music/Blues");

    Key(Qt::Key_Down); // on the closed chooser: opens, selection unmoved
    ASSERT_TRUE(combo->Dropped());
    EXPECT_EQ(Current(), dir / "Music/Blues");
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);  // Rock (Jazz, then Rock)
    Key(Qt::Key_Right); // expands Rock
    Key(Qt::Key_Down);  // its first child
    EXPECT_EQ(Current(), dir / "Music/Rock/Live");
    Key(Qt::Key_Return);
    EXPECT_FALSE(combo->Dropped());
    EXPECT_EQ(combo->text(), "Live");
    EXPECT_EQ(combo->GetSelectedPath(), dir / "Music/Rock/Live");
    EXPECT_EQ(changes.back(), dir / "Music/Rock/Live");

    // Left on an expanded node collapses it and everything below, then moves up one.
    Key(Qt::Key_F4);
    Key(Qt::Key_Up); // Rock (expanded)
    Key(Qt::Key_Left);
    EXPECT_FALSE(Tree().isExpanded(NodeIndex(Tree(), dir / "Music/Rock/")));
    EXPECT_EQ(Current(), dir / "Music/Jazz");
    Key(Qt::Key_F4);
    EXPECT_FALSE(combo->Dropped());
}

TEST_F(DirTreeComboTest, KeysAtTheTopAndTheReloadKey) {
    combo->setFocus();
    // With no node selected nothing moves and Enter reports nothing.
    for (Qt::Key k : {Qt::Key_Up, Qt::Key_Left, Qt::Key_Right, Qt::Key_Return})
        Key(k);
    EXPECT_FALSE(Tree().currentIndex().isValid());
    EXPECT_TRUE(changes.empty());

    // The computer: Up stays; the first volume: Left does not go up to the computer.
    Tree().setCurrentIndex(Tree().Model()->RootIndex());
    Key(Qt::Key_Up);
    EXPECT_EQ(Current(), "Drives");
    Key(Qt::Key_Down); // opens
    Key(Qt::Key_Down);
    EXPECT_EQ(Current(), "/");
    Key(Qt::Key_Left);
    EXPECT_EQ(Current(), "/");
    Key(Qt::Key_Up);
    Key(Qt::Key_Return); // accepting the computer
    EXPECT_EQ(combo->GetSelectedPath(), "Drives");
    EXPECT_EQ(changes, std::vector<std::string>{"Drives"});

    // F5 while on "Drives" rebuilds and reports nothing; on a folder it reports it.
    Key(Qt::Key_F5);
    EXPECT_EQ(changes.size(), 1u);
    combo->GoToPath(dir / "Other/Deep");
    Key(Qt::Key_F5);
    EXPECT_EQ(changes.size(), 3u);
    EXPECT_EQ(Current(), dir / "Other/Deep");
}

TEST_F(DirTreeComboTest, MouseHoverSelectsClickAccepts) {
    combo->GoToPath(dir / "Music");
    combo->Btn()->click();
    ASSERT_TRUE(combo->Dropped());
    ui::DirTreeView& t = Tree();
    // Hovering moves the selection only.
    Mouse(t, QEvent::MouseMove, CaptionCentre(t, dir / "Music/Jazz/"));
    EXPECT_EQ(Current(), dir / "Music/Jazz");
    EXPECT_EQ(changes.size(), 1u);
    // A click on an expand button opens the node and keeps the tree open.
    QPoint rock = CaptionCentre(t, dir / "Music/Rock/");
    QModelIndex rockIdx = t.indexAt(rock);
    const int indent = t.visualRect(rockIdx).left() - t.indentation() / 2;
    Mouse(t, QEvent::MouseButtonPress, QPoint(indent, rock.y()));
    Mouse(t, QEvent::MouseButtonRelease, QPoint(indent, rock.y()));
    EXPECT_TRUE(combo->Dropped());
    EXPECT_TRUE(t.isExpanded(rockIdx));
    EXPECT_EQ(changes.size(), 1u);
    // Empty space right of a caption is no node either.
    Mouse(t, QEvent::MouseButtonPress, QPoint(t.viewport()->width() - 3, rock.y()));
    EXPECT_TRUE(combo->Dropped());
    // A click on a caption accepts it.
    Mouse(t, QEvent::MouseButtonPress, CaptionCentre(t, dir / "Music/Rock/Live/"));
    EXPECT_FALSE(combo->Dropped());
    EXPECT_EQ(combo->text(), "Live");
    EXPECT_EQ(changes.back(), dir / "Music/Rock/Live");

    // A click outside cancels: the open tree holds the mouse, so the press comes to the tree
    // itself, not to its viewport.
    combo->Btn()->click();
    const QPoint outside = t.mapToGlobal(QPoint(-20, -20));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(-20, -20), outside, Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&t, &press);
    EXPECT_FALSE(combo->Dropped());
    EXPECT_EQ(changes.size(), 2u);
}

TEST_F(DirTreeComboTest, HintFocusAndRightClick) {
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), combo->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(combo.get(), &enter);
    EXPECT_EQ(combo->toolTip(), "Selected = nil");
    combo->GoToPath(dir / "Music");
    QApplication::sendEvent(combo.get(), &enter);
    EXPECT_EQ(ui::FromQString(combo->toolTip()), "SelectedPath =\n" + dir / "Music/");
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(combo.get(), &leave);
    EXPECT_TRUE(combo->toolTip().isEmpty());
    combo->ToggleDropDown();
    QApplication::sendEvent(combo.get(), &enter);
    EXPECT_TRUE(combo->toolTip().isEmpty());

    // Losing the focus to anything but the tree closes it, reporting nothing.
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(combo.get(), &out);
    EXPECT_FALSE(combo->Dropped());
    EXPECT_EQ(changes.size(), 1u);

    // Right clicks on the edit and on its button open no menu.
    bool menuSeen = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (QWidget* p = QApplication::activePopupWidget()) {
            menuSeen = true;
            p->close();
        }
    });
    watch.start(5);
    QTest::mouseClick(combo.get(), Qt::RightButton, {}, QPoint(30, 10));
    QTest::mouseClick(combo->Btn(), Qt::RightButton);
    QTest::qWait(50);
    EXPECT_FALSE(menuSeen);
    EXPECT_FALSE(combo->Dropped());
}

TEST_F(DirTreeComboTest, OpensAboveWhenNoRoomBelow) {
    const QRect screen = combo->screen()->availableGeometry();
    combo->move(screen.left() + 10, screen.top() + 10);
    combo->ToggleDropDown();
    EXPECT_EQ(Tree().geometry().top(), combo->mapToGlobal(QPoint(0, combo->height())).y());
    EXPECT_EQ(Tree().width(), combo->width());
    EXPECT_EQ(Tree().height(), 240);
    combo->ToggleDropDown();
    combo->move(screen.left() + 10, screen.bottom() - 40);
    QTest::qWait(10);
    combo->ToggleDropDown();
    EXPECT_EQ(Tree().geometry().bottom() + 1, combo->mapToGlobal(QPoint(0, 0)).y());
}

TEST_F(DirTreeComboTest, FolderChangesRebuildAndWalkBack) {
    combo->GoToPath(dir / "Music");
    ASSERT_EQ(changes.size(), 1u);
    // A folder created in a folder the tree has read: rebuilt, walked back, reported.
    fsys::create_directory(dir / "Music/Pop");
    ASSERT_TRUE(WaitFor([&] { return changes.size() == 2; }));
    EXPECT_EQ(changes.back(), dir / "Music/");
    EXPECT_EQ(Current(), dir / "Music");
    EXPECT_EQ(Children(dir / "Music/"), (std::vector<std::string>{"Blues", "Jazz", "Pop", "Rock"}));
    // Renamed and removed alike; files and folders the tree never read change nothing.
    fsys::rename(dir / "Music/Pop", dir / "Music/Soul");
    ASSERT_TRUE(WaitFor([&] { return changes.size() == 3; }));
    dir.Write("Music/song.mp3");
    fsys::create_directory(dir / "Other/Deep/er/new");
    EXPECT_FALSE(WaitFor([&] { return changes.size() > 3; }, 300));

    // The selected folder itself goes: rebuilt without a selection and without a report.
    fsys::remove_all(dir / "Music");
    ASSERT_TRUE(WaitFor([&] { return !Tree().currentIndex().isValid(); }));
    QTest::qWait(100);
    EXPECT_EQ(changes.size(), 3u);
    EXPECT_EQ(combo->GetSelectedPath(), dir / "Music/");
}

TEST_F(DirTreeComboTest, VanishedFolderIsDroppedAndEmptyOneLosesItsButton) {
    combo->GoToPath(dir.Path());
    ui::DirTreeModel& m = *Tree().Model();
    QModelIndex vol = Tree().currentIndex();
    ASSERT_EQ(m.rowCount(vol), 3); // Empty, Music, Other
    QModelIndex empty = m.index(0, 0, vol);
    EXPECT_FALSE(m.hasChildren(empty));
    QModelIndex other = m.index(2, 0, vol);
    EXPECT_TRUE(m.hasChildren(other));
    fsys::remove_all(dir / "Other");
    Tree().expand(other); // reading it finds nothing: dropped once the expansion is done
    QCoreApplication::processEvents();
    EXPECT_EQ(m.rowCount(vol), 2);
}

TEST_F(DirTreeComboTest, NotReadyVolumeGoesBack) {
    test::ModalAnswerer answers;
    volumes.push_back({"/velmora-no-such-disc/", "Audio CD", dirtree::VolumeKind::vkOptical});
    Make();
    combo->GoToPath(dir / "Music");
    combo->ToggleDropDown();
    QModelIndex root = Tree().Model()->RootIndex();
    Tree().setCurrentIndex(Tree().Model()->index(2, 0, root)); // "Audio CD", listed last
    ASSERT_EQ(Current(), "/velmora-no-such-disc/");
    Key(Qt::Key_Return);
    ASSERT_EQ(answers.texts,
              std::vector<std::string>{"There is no disk in Drive or Drive is not ready"});
    EXPECT_EQ(combo->GetSelectedPath(), dir / "Music/");
    EXPECT_EQ(Current(), dir / "Music");
    EXPECT_EQ(combo->text(), "Music");
}

// A folder appears while the not-ready warning is open: the rebuild waits for the warning, so
// it walks back to the folder shown before, never to the refused volume.
TEST_F(DirTreeComboTest, ARebuildWaitsForTheNotReadyWarning) {
    test::ModalAnswerer answers;
    // An existing folder that is no mount point: the volume it stands for is not ready.
    volumes.push_back({dir / "Empty/", "Audio CD", dirtree::VolumeKind::vkOptical});
    Make();
    combo->GoToPath(dir / "Music");
    changes.clear();
    combo->ToggleDropDown();
    Tree().setCurrentIndex(Tree().Model()->index(2, 0, Tree().Model()->RootIndex()));
    ASSERT_EQ(Current(), dir / "Empty/");
    answers.Then(
        QMessageBox::Ok, [&] { fsys::create_directory(dir / "Music/New"); }, 300);
    Key(Qt::Key_Return);
    ASSERT_EQ(answers.texts,
              std::vector<std::string>{"There is no disk in Drive or Drive is not ready"});
    EXPECT_TRUE(WaitFor([&] { return Children(dir / "Music/").size() == 4; }));
    EXPECT_TRUE(std::find(changes.begin(), changes.end(), dir / "Empty/") == changes.end());
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.back(), dir / "Music/");
    EXPECT_EQ(combo->GetSelectedPath(), dir / "Music/");
}

TEST_F(DirTreeComboTest, TenThousandFoldersWide) {
    test::TempDir wide(fsys::is_directory("/dev/shm") ? "/dev/shm" : "");
    for (int i = 100001; i <= 110000; ++i) // d00001 ... d10000
        fsys::create_directory(wide / ("d" + std::to_string(i).substr(1)));
    volumes.push_back({wide.Slash(), "Wide", dirtree::VolumeKind::vkHardDisk});
    Make();
    combo->GoToPath(wide / "d09999");
    EXPECT_EQ(combo->text(), "d09999");
    QModelIndex vol = Tree().currentIndex().parent();
    EXPECT_EQ(Tree().Model()->rowCount(vol), 10000);
    combo->ToggleDropDown();
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_EQ(changes.back(), wide / "d10000");
}

// A real mount in a private mount namespace; needs the right to mount.
TEST_F(DirTreeComboTest, VolumeMountedAndUnmountedRebuilds) {
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        GTEST_SKIP() << "no right to mount here";
    fsys::create_directories(dir / "home/Stick");
    // The volumes below home are the user's: this test's home is a folder of its own.
    struct HomeGuard {
        std::string saved = ::getenv("HOME");
        ~HomeGuard() { ::setenv("HOME", saved.c_str(), 1); }
    } guard;
    ::setenv("HOME", (dir / "home").c_str(), 1);
    combo = std::make_unique<ui::DirTreeCombo>();
    QObject::connect(combo.get(), &ui::DirTreeCombo::OnPathChange,
                     [this](const QString& p) { changes.push_back(ui::FromQString(p)); });
    combo->GoToPath(dir / "Music");
    ASSERT_EQ(
        ::mount((dir / "Other").c_str(), (dir / "home/Stick").c_str(), nullptr, MS_BIND, nullptr),
        0);
    // Each step waits for the chooser's own report; the long deadline only ends a test whose
    // report never comes.
    constexpr int kNever = 60000;
    bool rebuilt = WaitFor([&] { return changes.size() == 2; }, kNever);
    QModelIndex root = Tree().Model()->RootIndex();
    const int withStick = Tree().Model()->rowCount(root);
    ::umount((dir / "home/Stick").c_str());
    ASSERT_TRUE(rebuilt);
    EXPECT_EQ(withStick, 2);
    EXPECT_TRUE(WaitFor([&] { return changes.size() == 3; }, kNever));
    EXPECT_EQ(Tree().Model()->rowCount(Tree().Model()->RootIndex()), 1);
    EXPECT_EQ(changes.back(), dir / "Music/");
}

// Folder reading, the has-children flag, node paths and path walks on real folder trees.
#include "core/dirtree/FolderTree.h"

#include "core/fs/NameOrder.h"
#include "core/tags/ChildProcess.h"
#include "support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

using namespace velmora::dirtree;
using velmora::test::TempDir;
namespace fsys = std::filesystem;

namespace {

std::vector<std::string> Names(const FolderScan& s) {
    std::vector<std::string> v;
    for (auto& e : s.entries)
        v.push_back(e.name);
    return v;
}

std::vector<std::string> Captions(const FolderNode& n) {
    std::vector<std::string> v;
    v.reserve(static_cast<std::size_t>(n.ChildCount()));
    for (int i = 0; i < n.ChildCount(); ++i)
        v.push_back(n.Child(i)->Caption());
    return v;
}

struct FolderTreeTest : ::testing::Test {
    TempDir dir;
    FolderTree tree;

    void Mk(const std::string& rel) { fsys::create_directories(dir / rel); }
    // A tree whose only volume (besides "/") is the temporary folder.
    FolderNode& Volume() {
        tree.LoadDrives({{"/", "File System", VolumeKind::vkFileSystem},
                         {dir.Slash(), "Temp", VolumeKind::vkRemovable}});
        return *tree.Root()->Child(1);
    }
};

} // namespace

TEST(NameOrder, NaturalCaseInsensitiveThenBytes) {
    std::vector<std::string> names = {"b",       "Disc 10",  "A", "c",    "disc 2",
                                      "Disc 2",  "_x",       "a", "Zeta", "track 007",
                                      "track 7", "track 08", "ä"};
    std::sort(names.begin(), names.end(), velmora::fs::NameLess);
    std::vector<std::string> want = {"_x",       "A",      "a",       "b",         "c",
                                     "Disc 2",   "disc 2", "Disc 10", "track 007", "track 7",
                                     "track 08", "Zeta",   "ä"};
    EXPECT_EQ(names, want);
}

TEST_F(FolderTreeTest, ScanListsFoldersSortedWithTheirChildFlags) {
    for (auto d : {"b", "A", "c/deep", ".hidden/x", "empty", "link-target/x"})
        Mk(d);
    dir.Write("file.txt");
    dir.Write("c/file-only-is-no-child");
    fsys::create_directory_symlink(dir / "link-target", dir / "d-link");
    fsys::create_symlink(dir / "file.txt", dir / "f-link");
    fsys::create_directory_symlink(dir / "missing", dir / "dangling");

    FolderScan s = ScanFolder(dir.Path());
    EXPECT_EQ(s.status, ScanStatus::ssOk);
    EXPECT_EQ(Names(s), (std::vector<std::string>{".hidden", "A", "b", "c", "d-link", "empty",
                                                  "link-target"}));
    std::vector<bool> flags;
    for (auto& e : s.entries)
        flags.push_back(e.hasChildren);
    EXPECT_EQ(flags, (std::vector<bool>{true, false, false, true, true, false, true}));
}

// The link-count shortcut and the listing probe must agree on every folder.
TEST_F(FolderTreeTest, HasChildrenFlagMatchesTheProbe) {
    for (auto d : {"one/a", "two/a", "two/b", "none", "hidden/.x", "mixed/f/g"})
        Mk(d);
    dir.Write("none/file");
    dir.Write("mixed/file");
    for (const FolderEntry& e : ScanFolder(dir.Path()).entries)
        EXPECT_EQ(e.hasChildren, HasSubDirs(dir / e.name)) << e.name;
    EXPECT_FALSE(HasSubDirs(dir / "nowhere"));
}

TEST_F(FolderTreeTest, UnreadableAndVanishedFolders) {
    Mk("locked/inner");
    EXPECT_EQ(ScanFolder(dir / "gone").status, ScanStatus::ssVanished);
    dir.Write("plain");
    EXPECT_EQ(ScanFolder(dir / "plain").status, ScanStatus::ssVanished);
    fsys::permissions(dir / "locked", fsys::perms::none);
    // Root reads every folder: check as an ordinary user.
    EXPECT_TRUE(velmora::tags::test::RunUnprivileged(dir.Path(), [&] {
        FolderScan s = ScanFolder(dir / "locked");
        return s.status == ScanStatus::ssUnreadable && s.entries.empty() &&
               !HasSubDirs(dir / "locked");
    }));
}

TEST_F(FolderTreeTest, DrivesAndNodePaths) {
    Mk("Music/Rock");
    FolderNode& vol = Volume();
    FolderNode* root = tree.Root();
    EXPECT_EQ(root->Caption(), "Computer");
    EXPECT_EQ(Captions(*root), (std::vector<std::string>{"File System", "Temp"}));
    EXPECT_TRUE(vol.HasChildren());
    EXPECT_FALSE(vol.Loaded());
    EXPECT_EQ(vol.Level(), 1);

    ASSERT_EQ(FolderTree::Load(vol), ScanStatus::ssOk);
    FolderNode* music = vol.Child(0);
    ASSERT_EQ(FolderTree::Load(*music), ScanStatus::ssOk);
    FolderNode* rock = music->Child(0);
    EXPECT_EQ(rock->Level(), 3);
    EXPECT_EQ(FolderTree::BuildNodePath(root), "Drives");
    EXPECT_EQ(FolderTree::BuildNodePath(nullptr), "Drives");
    EXPECT_EQ(FolderTree::BuildNodePath(root->Child(0)), "/");
    EXPECT_EQ(FolderTree::BuildNodePath(&vol), dir.Slash());
    EXPECT_EQ(FolderTree::BuildNodePath(music), dir / "Music");
    EXPECT_EQ(FolderTree::BuildNodePath(rock), dir / "Music/Rock");
    // Folders below "/" get no doubled slash.
    FolderNode* fsRoot = root->Child(0);
    ASSERT_EQ(FolderTree::Load(*fsRoot), ScanStatus::ssOk);
    FolderNode* tmp = FolderTree::MatchChild(*fsRoot, "tmp");
    ASSERT_NE(tmp, nullptr);
    EXPECT_EQ(FolderTree::BuildNodePath(tmp), "/tmp");
}

TEST_F(FolderTreeTest, LoadingReadsOnceAndEmptyFoldersLoseTheirButton) {
    Mk("a");
    FolderNode& vol = Volume();
    FolderTree::Load(vol);
    FolderNode* a = vol.Child(0);
    EXPECT_FALSE(a->HasChildren()); // nothing below: no expand button at all
    Mk("b");
    EXPECT_EQ(FolderTree::Load(vol), ScanStatus::ssOk);
    EXPECT_EQ(Captions(vol), std::vector<std::string>{"a"}); // not read again

    // A volume without folders loses its button once read.
    TempDir bare;
    tree.LoadDrives({{bare.Slash(), "Bare", VolumeKind::vkRemovable}});
    FolderNode* v = tree.Root()->Child(0);
    EXPECT_TRUE(v->HasChildren());
    FolderTree::Load(*v);
    EXPECT_FALSE(v->HasChildren());
    EXPECT_EQ(v->ChildCount(), 0);

    // Rows stay consistent when a vanished child is dropped.
    tree.LoadDrives({{dir.Slash(), "T", VolumeKind::vkRemovable}});
    FolderNode* t = tree.Root()->Child(0);
    FolderTree::Load(*t);
    ASSERT_EQ(Captions(*t), (std::vector<std::string>{"a", "b"}));
    FolderTree::RemoveChild(*t, 0);
    ASSERT_EQ(t->ChildCount(), 1);
    EXPECT_EQ(t->Child(0)->Caption(), "b");
    EXPECT_EQ(t->Child(0)->Row(), 0);
}

TEST_F(FolderTreeTest, WalkPath) {
    for (auto d : {"Music/Rock", "music", "Other/Rock/Live", "Mixed/CASE"})
        Mk(d);
    Volume();
    const std::string base = dir.Slash();
    struct Case {
        std::string path;
        std::string reached; // path of the last node matched
        int visits;
    };
    const Case cases[] = {
        {base + "Music/Rock/", base + "Music/Rock", 3},
        {base + "music/", base + "music", 2},                     // the exact name wins
        {base + "OTHER/rock/LIVE/", base + "Other/Rock/Live", 4}, // else any case
        {base + "Other/Rock", base + "Other", 2},       // no trailing "/": last part unused
        {base + "Other/Nope/Live/", base + "Other", 2}, // stops halfway
        {base, base, 1},                                // the volume itself
        {"/tmp/", "/tmp", 2},                           // under "/", the longest mount wins
        {"relative/", "Drives", 0},
    };
    for (const Case& c : cases) {
        int visits = 0;
        FolderNode* last = tree.WalkPath(c.path, [&](FolderNode& n) {
            ++visits;
            FolderTree::Load(n);
        });
        EXPECT_EQ(FolderTree::BuildNodePath(last), c.reached) << c.path;
        EXPECT_EQ(visits, c.visits) << c.path;
    }
    // Without loading on the way, the walk cannot go below the volume.
    tree.LoadDrives({{base, "T", VolumeKind::vkRemovable}});
    FolderNode* last = tree.WalkPath(base + "Music/", [](FolderNode&) {});
    EXPECT_EQ(last, tree.Root()->Child(0));
}

TEST(FolderTreeWide, TenThousandFolders) {
    // Creating and deleting 10,000 folders on a disk takes seconds; memory is quick.
    TempDir dir(fsys::is_directory("/dev/shm") ? "/dev/shm" : "");
    FolderTree tree;
    constexpr int kCount = 10000;
    char name[32];
    for (int i = 0; i < kCount; ++i) {
        std::snprintf(name, sizeof name, "f%d", kCount - i);
        fsys::create_directory(dir / name);
    }
    fsys::create_directory(dir / "f5000/sub");
    tree.LoadDrives({{dir.Slash(), "Wide", VolumeKind::vkRemovable}});
    FolderNode& vol = *tree.Root()->Child(0);
    ASSERT_EQ(FolderTree::Load(vol), ScanStatus::ssOk);
    ASSERT_EQ(vol.ChildCount(), kCount);
    EXPECT_EQ(vol.Child(0)->Caption(), "f1");
    EXPECT_EQ(vol.Child(kCount - 1)->Caption(), "f10000");
    int withChildren = 0;
    for (int i = 0; i < kCount; ++i) {
        ASSERT_EQ(vol.Child(i)->Row(), i);
        withChildren += vol.Child(i)->HasChildren() ? 1 : 0;
    }
    EXPECT_EQ(withChildren, 1);
    EXPECT_TRUE(vol.Child(4999)->HasChildren());
    FolderNode* deep = tree.WalkPath(dir / "F9999/", [](FolderNode& n) { FolderTree::Load(n); });
    EXPECT_EQ(FolderTree::BuildNodePath(deep), dir / "f9999");
}

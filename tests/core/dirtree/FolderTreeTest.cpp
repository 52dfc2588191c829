// Folder reading, the has-children flag, node paths and path walks on real folder trees.
#include "core/dirtree/FolderTree.h"

#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace velmora::dirtree;
using velmora::test::TempDir;
namespace fsys = std::filesystem;

namespace {

using Strings = std::vector<std::string>;

Strings Captions(const FolderNode& n) {
    Strings v;
    for (int i = 0; i < n.ChildCount(); ++i)
        v.push_back(n.Child(i)->Caption());
    return v;
}

struct FolderTreeTest : ::testing::Test {
    TempDir dir;
    FolderTree tree;

    void Mk(std::initializer_list<const char*> rels) {
        for (const char* rel : rels)
            fsys::create_directories(dir / rel);
    }
    // A tree whose only volume (besides "/") is the temporary folder.
    FolderNode& Volume() {
        tree.LoadDrives({{"/", "File System", VolumeKind::vkFileSystem},
                         {dir.Slash(), "Temp", VolumeKind::vkRemovable}});
        return *tree.Root()->Child(1);
    }
};

} // namespace

TEST_F(FolderTreeTest, ScanListsFoldersSortedWithTheirChildFlags) {
    Mk({"b", "A", "c/deep", ".hidden/x", "empty", "link-target/x"});
    dir.Write("file.txt");
    dir.Write("c/file-only-is-no-child");
    fsys::create_directory_symlink(dir / "link-target", dir / "d-link");
    fsys::create_symlink(dir / "file.txt", dir / "f-link");
    fsys::create_directory_symlink(dir / "missing", dir / "dangling");

    FolderScan s = ScanFolder(dir.Path());
    EXPECT_EQ(s.status, ScanStatus::ssOk);
    Strings got; // a trailing "/" marks a folder with folders in it
    for (auto& e : s.entries)
        got.push_back(e.name + (e.hasChildren ? "/" : ""));
    EXPECT_EQ(got, (Strings{".hidden/", "A", "b", "c/", "d-link/", "empty", "link-target/"}));
}

// The link-count shortcut and the listing probe must agree on every folder.
TEST_F(FolderTreeTest, HasChildrenFlagMatchesTheProbe) {
    Mk({"one/a", "two/a", "two/b", "none", "hidden/.x", "mixed/f/g"});
    dir.Write("none/file");
    dir.Write("mixed/file");
    for (const FolderEntry& e : ScanFolder(dir.Path()).entries)
        EXPECT_EQ(e.hasChildren, HasSubDirs(dir / e.name)) << e.name;
    EXPECT_FALSE(HasSubDirs(dir / "nowhere"));
}

TEST_F(FolderTreeTest, UnreadableAndVanishedFolders) {
    Mk({"locked/inner"});
    EXPECT_EQ(ScanFolder(dir / "gone").status, ScanStatus::ssVanished);
    dir.Write("plain");
    EXPECT_EQ(ScanFolder(dir / "plain").status, ScanStatus::ssVanished);
    fsys::permissions(dir / "locked", fsys::perms::none);
    // Root reads every folder: check as an ordinary user.
    EXPECT_TRUE(velmora::test::RunUnprivileged(dir.Path(), [&] {
        FolderScan s = ScanFolder(dir / "locked");
        return s.status == ScanStatus::ssUnreadable && s.entries.empty() &&
               !HasSubDirs(dir / "locked");
    }));
}

// A folder the user cannot open offers nothing to expand, whatever its link count says; one
// that can be listed but not entered neither.
TEST_F(FolderTreeTest, AFolderThatCannotBeOpenedHasNoExpandButton) {
    Mk({"locked/inner", "listable/inner", "open/inner"});
    fsys::permissions(dir / "locked", fsys::perms::none);
    fsys::permissions(dir / "listable",
                      fsys::perms::owner_read | fsys::perms::group_read | fsys::perms::others_read);
    EXPECT_TRUE(velmora::test::RunUnprivileged(dir.Path(), [&] {
        Strings got;
        for (const FolderEntry& e : ScanFolder(dir.Path()).entries)
            got.push_back(e.name + (e.hasChildren ? "/" : ""));
        return got == Strings{"listable", "locked", "open/"};
    }));
}

TEST_F(FolderTreeTest, DrivesAndNodePaths) {
    Mk({"Music/Rock"});
    FolderNode& vol = Volume();
    FolderNode* root = tree.Root();
    EXPECT_EQ(root->Caption(), "Computer");
    EXPECT_EQ(Captions(*root), (Strings{"File System", "Temp"}));
    EXPECT_TRUE(vol.HasChildren());
    EXPECT_FALSE(vol.Loaded());
    EXPECT_EQ(vol.Level(), 1);

    ASSERT_EQ(FolderTree::Load(vol), ScanStatus::ssOk);
    FolderNode* music = vol.Child(0);
    ASSERT_EQ(FolderTree::Load(*music), ScanStatus::ssOk);
    FolderNode* rock = music->Child(0);
    EXPECT_EQ(rock->Level(), 3);
    // Folders below "/" get no doubled slash.
    FolderNode* fsRoot = root->Child(0);
    ASSERT_EQ(FolderTree::Load(*fsRoot), ScanStatus::ssOk);
    FolderNode* tmp = FolderTree::MatchChild(*fsRoot, "tmp");
    ASSERT_NE(tmp, nullptr);
    const std::pair<FolderNode*, std::string> paths[] = {
        {root, "Drives"},       {nullptr, "Drives"},        {fsRoot, "/"}, {&vol, dir.Slash()},
        {music, dir / "Music"}, {rock, dir / "Music/Rock"}, {tmp, "/tmp"},
    };
    for (const auto& [node, path] : paths)
        EXPECT_EQ(FolderTree::BuildNodePath(node), path);
}

TEST_F(FolderTreeTest, LoadingReadsOnceAndEmptyFoldersLoseTheirButton) {
    Mk({"a"});
    FolderNode& vol = Volume();
    FolderTree::Load(vol);
    EXPECT_FALSE(vol.Child(0)->HasChildren()); // nothing below: no expand button at all
    Mk({"b"});
    EXPECT_EQ(FolderTree::Load(vol), ScanStatus::ssOk);
    EXPECT_EQ(Captions(vol), Strings{"a"}); // not read again

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
    ASSERT_EQ(Captions(*t), (Strings{"a", "b"}));
    FolderTree::RemoveChild(*t, 0);
    ASSERT_EQ(Captions(*t), Strings{"b"});
    EXPECT_EQ(t->Child(0)->Row(), 0);
}

TEST_F(FolderTreeTest, WalkPath) {
    Mk({"Music/Rock", "music", "Other/Rock/Live", "Mixed/CASE"});
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
    EXPECT_EQ(tree.WalkPath(base + "Music/", [](FolderNode&) {}), tree.Root()->Child(0));
}

TEST(FolderTreeWide, TenThousandFolders) {
    // Creating and deleting 10,000 folders on a disk takes seconds; memory is quick.
    TempDir dir(fsys::is_directory("/dev/shm") ? "/dev/shm" : "");
    constexpr int kCount = 10000;
    for (int i = 1; i <= kCount; ++i)
        fsys::create_directory(dir / ("f" + std::to_string(kCount + 1 - i)));
    fsys::create_directory(dir / "f5000/sub");
    FolderTree tree;
    tree.LoadDrives({{dir.Slash(), "Wide", VolumeKind::vkRemovable}});
    FolderNode& vol = *tree.Root()->Child(0);
    ASSERT_EQ(FolderTree::Load(vol), ScanStatus::ssOk);
    ASSERT_EQ(vol.ChildCount(), kCount);
    for (int i = 0; i < kCount; ++i) {
        ASSERT_EQ(vol.Child(i)->Caption(), "f" + std::to_string(i + 1));
        ASSERT_EQ(vol.Child(i)->Row(), i);
        ASSERT_EQ(vol.Child(i)->HasChildren(), i == 4999) << i;
    }
    FolderNode* deep = tree.WalkPath(dir / "F9999/", [](FolderNode& n) { FolderTree::Load(n); });
    EXPECT_EQ(FolderTree::BuildNodePath(deep), dir / "f9999");
}

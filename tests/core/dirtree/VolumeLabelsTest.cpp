// Volumes shown by the labels the device manager knows for them.
#include "core/dirtree/VolumeLabels.h"

#include "core/dirtree/VolumeList.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace velmora::dirtree;
using velmora::test::TempDir;
namespace fsys = std::filesystem;

TEST(VolumeLabels, LinkNamesLoseTheirEscapes) {
    EXPECT_EQ(VolumeLabels::UnescapeLinkName("My\\x20Music"), "My Music");
    EXPECT_EQ(VolumeLabels::UnescapeLinkName("a\\x2fb\\x5C"), "a/b\\");
    EXPECT_EQ(VolumeLabels::UnescapeLinkName("Caf\\xc3\\xa9"), "Caf\xc3\xa9");
    // What is no complete escape stays as it is.
    for (const char* kept : {"plain", "\\x2", "\\xzz", "\\", "x\\y"})
        EXPECT_EQ(VolumeLabels::UnescapeLinkName(kept), kept);
}

TEST(VolumeLabels, VolumesShowTheLabelOfTheirDevice) {
    TempDir dir;
    // Devices stand in as plain files; the links point at them as udev's do, relatively.
    fsys::create_directories(dir / "dev/disk/by-label");
    dir.Write("dev/sdb1");
    dir.Write("dev/sdc1");
    dir.Write("dev/dm-0");
    fsys::create_symlink("../../sdb1", dir / "dev/disk/by-label/My\\x20Music");
    fsys::create_symlink("../../dm-0", dir / "dev/disk/by-label/Vault");
    fsys::create_directories(dir / "dev/mapper");
    fsys::create_symlink("../dm-0", dir / "dev/mapper/vault");
    fsys::create_symlink("../../gone", dir / "dev/disk/by-label/Gone");
    const VolumeLabels labels = VolumeLabels::Read(dir / "dev/disk/by-label");
    EXPECT_EQ(labels.LabelOf(dir / "dev/sdb1"), "My Music");
    EXPECT_EQ(labels.LabelOf(dir / "dev/mapper/vault"), "Vault"); // through a link
    EXPECT_EQ(labels.LabelOf(dir / "dev/sdc1"), "");
    EXPECT_EQ(labels.LabelOf("server:/export"), "");

    const std::string table = "30 1 8:17 / /media/ann/3A2F-11C0 rw - vfat " + dir / "dev/sdb1" +
                              " rw\n"
                              "31 1 8:33 / /media/ann/disk rw - ext4 " +
                              dir / "dev/sdc1" +
                              " rw\n"
                              "32 1 253:0 / /home/ann/Safe rw - ext4 " +
                              dir / "dev/mapper/vault" + " rw\n";
    std::vector<std::string> captions;
    for (const Volume& v :
         VisibleVolumes(velmora::fs::ParseMountInfo(table), "/home/ann", "ann", labels))
        captions.push_back(v.caption + "=" + v.path);
    EXPECT_EQ(captions, (std::vector<std::string>{"File System=/", "disk=/media/ann/disk/",
                                                  "My Music=/media/ann/3A2F-11C0/",
                                                  "Vault=/home/ann/Safe/"}));
    EXPECT_TRUE(VolumeLabels::Read(dir / "nowhere").Empty());
}

// The mount table parser, on canned tables.
#include "core/fs/MountTable.h"

#include "support/DesktopMountTable.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace velmora::fs;
using velmora::test::kDesktopMountTable;

namespace {

auto Fields(const MountEntry& e) {
    return std::make_tuple(e.id, e.parentId, e.device, e.root, e.mountPoint, e.options, e.fsType,
                           e.source);
}
using Row = decltype(Fields({}));

} // namespace

TEST(MountTable, ParsesFieldsAndUnescapes) {
    auto t = ParseMountInfo(kDesktopMountTable);
    ASSERT_EQ(t.size(), 17u);
    EXPECT_EQ(Fields(t[0]), (Row{22, 1, "0:21", "/", "/proc", "rw,nosuid,nodev,noexec,relatime",
                                 "proc", "proc"}));
    EXPECT_EQ(Fields(t[8]),
              (Row{50, 1, "8:17", "/", "/media/ann/USB STICK", "rw,nosuid", "vfat", "/dev/sdb1"}));
    // Optional fields before the separator are skipped, however many there are.
    auto many =
        ParseMountInfo("7 1 8:1 /sub /mnt/x rw shared:1 master:2 unbindable - ext4 /dev/a rw");
    ASSERT_EQ(many.size(), 1u);
    EXPECT_EQ(Fields(many[0]), (Row{7, 1, "8:1", "/sub", "/mnt/x", "rw", "ext4", "/dev/a"}));
}

TEST(MountTable, SkipsMalformedLines) {
    const char* text = "garbage\n"
                       "x 1 8:1 / /a rw - ext4 /dev/a rw\n"       // id not a number
                       "5 1 8:1 / relative rw - ext4 /dev/a rw\n" // mount point not absolute
                       "6 1 8:1 / /no-separator rw shared:1 ext4 /dev/a rw\n"
                       "7 1 8:1 / /no-type rw -\n"
                       "\n"
                       "8 1 8:1 / /ok rw - ext4\n"; // source and options may be missing
    auto t = ParseMountInfo(text);
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(Fields(t[0]), (Row{8, 1, "8:1", "/", "/ok", "rw", "ext4", ""}));
}

TEST(MountTable, UnescapeKeepsWhatIsNotAnEscape) {
    const std::pair<const char*, const char*> cases[] = {
        {"a\\040b", "a b"},       {"tab\\011x", "tab\tx"}, {"back\\134slash", "back\\slash"},
        {"\\04", "\\04"},         {"\\089", "\\089"},      {"end\\", "end\\"},
        {"\\000nul", "\\000nul"}, {"\\101\\102", "AB"},
    };
    for (auto [in, out] : cases)
        EXPECT_EQ(UnescapeMountField(in), out) << in;
}

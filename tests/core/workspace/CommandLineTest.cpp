// Start-up argument forms.
#include "core/workspace/CommandLine.h"

#include "core/fs/DirectoryListing.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using velmora::workspace::CommandLine;

TEST(CommandLine, PathPatternAndSwitchForms) {
    velmora::test::TempDir d;
    auto exists = &velmora::fs::DirectoryExists;

    CommandLine a = CommandLine::Parse({d.Path() + "/*.mp3", "/X"}, exists);
    EXPECT_EQ(a.directory, d.Slash());
    EXPECT_EQ(a.pattern, "*.mp3");
    EXPECT_TRUE(a.excludeExt);

    // A folder given alone (the folder verb) lists all its files.
    CommandLine b = CommandLine::Parse({d.Path(), "-x"}, exists);
    EXPECT_EQ(b.directory, d.Slash());
    EXPECT_EQ(b.pattern, "*.*");
    EXPECT_TRUE(b.excludeExt);

    // A file lists just that file, extensions shown.
    CommandLine c = CommandLine::Parse({d.Path() + "/song.mp3"}, exists);
    EXPECT_EQ(c.pattern, "song.mp3");
    EXPECT_FALSE(c.excludeExt);

    // The switch alone is still taken as the path: "/x" splits at its slash.
    CommandLine e = CommandLine::Parse({"/x"}, exists);
    EXPECT_TRUE(e.present);
    EXPECT_EQ(e.directory, "/");
    EXPECT_EQ(e.pattern, "x");
    EXPECT_TRUE(e.excludeExt);
    CommandLine f = CommandLine::Parse({"-x"}, exists);
    EXPECT_EQ(f.directory, "");
    EXPECT_EQ(f.pattern, "-x");

    EXPECT_FALSE(CommandLine::Parse({}, exists).present);
    EXPECT_FALSE(CommandLine::Parse({"song", "-xx", "x", "/y"}, exists).excludeExt);
}

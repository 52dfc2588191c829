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

    // The switch alone is still taken as the path, in both spellings, with no directory part.
    for (const char* sw : {"/x", "-X"}) {
        CommandLine e = CommandLine::Parse({sw, "ignored"}, exists);
        EXPECT_TRUE(e.present);
        EXPECT_EQ(e.directory, "");
        EXPECT_EQ(e.pattern, sw);
        EXPECT_TRUE(e.excludeExt);
    }
    EXPECT_FALSE(CommandLine::Parse({}, exists).present);
    EXPECT_FALSE(CommandLine::Parse({"song", "-xx", "x", "/y"}, exists).excludeExt);
}

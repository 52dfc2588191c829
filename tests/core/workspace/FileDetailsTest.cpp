// A file's details read in one go: information first, the tags only when it could be opened.
#include "core/workspace/FileDetails.h"

#include "core/tags/Id3v1TrailerBuilder.h"
#include "core/tags/Id3v2TagBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace velmora;
using velmora::test::TempDir;

TEST(FileDetails, ReadsInformationAndBothTags) {
    TempDir d;
    const std::string trailer = tags::test::Trailer("Song", "", "", "", "", tags::grRock);
    d.Write("a.mp3", tags::test::Tag(3, tags::test::Text3("TALB", "Album")) + "audio" + trailer);
    workspace::FileDetails details = workspace::FileDetails::Read(d / "a.mp3");
    EXPECT_EQ(details.Path, d / "a.mp3");
    ASSERT_TRUE(details.Information);
    EXPECT_EQ(details.Information->Size, d.Read("a.mp3").size());
    ASSERT_TRUE(details.Id3v1);
    EXPECT_EQ(details.Id3v1->SongName(), "Song");
    EXPECT_EQ(details.Id3v1->Genre(), tags::grRock);
    ASSERT_NE(details.Id3v2, nullptr);
    EXPECT_EQ(details.Id3v2->Texts().Album, "Album");
    EXPECT_EQ(details.Id3v2->FileName(), d / "a.mp3");
    EXPECT_EQ(details.Id3v2Error, "");
}

TEST(FileDetails, AFileThatCannotBeOpenedHasNoDetailsAtAll) {
    TempDir d;
    workspace::FileDetails details = workspace::FileDetails::Read(d / "gone.mp3");
    EXPECT_FALSE(details.Information);
    EXPECT_FALSE(details.Id3v1);
    EXPECT_EQ(details.Id3v2, nullptr);

    // A folder has information but no tags to read.
    mkdir((d / "folder").c_str(), 0755);
    details = workspace::FileDetails::Read(d / "folder");
    ASSERT_TRUE(details.Information);
    EXPECT_FALSE(details.Id3v1);
    ASSERT_NE(details.Id3v2, nullptr);
    EXPECT_FALSE(details.Id3v2->TagPresent());
}

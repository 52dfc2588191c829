// The ID3v1 editor's working copy.
#include "core/tags/id3v1/Id3v1Tag.h"

#include <gtest/gtest.h>

using namespace velmora::tags;

TEST(Id3v1Tag, StartsEmptyWithBluesAndReportsEverySetter) {
    Id3v1Tag tag;
    EXPECT_EQ(tag.SongName() + tag.Artist() + tag.Album() + tag.Year() + tag.Comment(), "");
    EXPECT_EQ(tag.Genre(), grBlues);
    std::vector<std::string> seen;
    tag.OnChange = [&](Id3v1Tag& t) {
        seen.push_back(t.SongName() + "|" + t.Artist() + "|" + t.Album() + "|" + t.Year() + "|" +
                       t.Comment() + "|" + std::to_string(t.Genre()));
    };
    tag.SetAlbum("Al");
    tag.SetArtist("Ar");
    tag.SetComment("Co");
    tag.SetYear("1999");
    tag.SetSongName("So");
    tag.SetGenre(static_cast<TGenre>(255));
    tag.SetAlbum("Al"); // the same value again still reports
    EXPECT_EQ(seen, (std::vector<std::string>{"||Al|||0", "|Ar|Al|||0", "|Ar|Al||Co|0",
                                              "|Ar|Al|1999|Co|0", "So|Ar|Al|1999|Co|0",
                                              "So|Ar|Al|1999|Co|255", "So|Ar|Al|1999|Co|255"}));
}

TEST(Id3v1Tag, TrimRemovesBlanksAndControlCharactersAtBothEnds) {
    const std::pair<const char*, const char*> cases[] = {
        {"  Song  ", "Song"},
        {"\t\x01Song\r\n", "Song"},
        {" a b ", "a b"},
        {"   ", ""},
        {"", ""},
        {" \xC3\xA9t\xC3\xA9 ", "\xC3\xA9t\xC3\xA9"}, // "été": multi-byte characters stay whole
    };
    for (auto [in, out] : cases)
        EXPECT_EQ(Id3v1Tag::Trim(in), out) << in;
}

TEST(Id3v1Tag, TrailerHoldsIso88591Only) {
    EXPECT_TRUE(Id3v1Tag::FitsTrailer("Caf\xC3\xA9 \xC3\xBF")); // é and ÿ
    EXPECT_FALSE(Id3v1Tag::FitsTrailer("\xE2\x82\xAC"));        // €
    EXPECT_FALSE(Id3v1Tag::FitsTrailer("\xF0\x9F\x8E\xB5"));    // a note beyond the BMP
    EXPECT_FALSE(Id3v1Tag::FitsTrailer("\xFF"));                // a stray byte is no character
}

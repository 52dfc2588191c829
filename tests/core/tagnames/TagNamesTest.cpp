// Name formats, the safe-name rules and the lines they make.
#include "core/tagnames/TagNames.h"

#include "core/tagnames/NameFormat.h"
#include "core/workspace/NameLine.h"

#include <gtest/gtest.h>

namespace velmora::tagnames {
namespace {

TrackTags Song() {
    TrackTags t;
    t.Artist = "Artist";
    t.Title = "Title";
    t.Track = "3";
    t.Disc = "1";
    t.Year = "2001";
    return t;
}

std::string Expanded(std::string_view format, const TrackTags& tags = Song(),
                     NameFormat::Missing missing = NameFormat::Missing::LeaveEmpty) {
    const NameFormat f = NameFormat::Parse(format);
    EXPECT_TRUE(f.Valid()) << format << ": " << f.Error();
    return f.Expand(tags, "old stem", missing).value_or("<old name>");
}

TEST(NameFormat, FieldsWidthsAndLiterals) {
    EXPECT_EQ(Expanded("%track:2% - %artist% - %title%"), "03 - Artist - Title");
    EXPECT_EQ(Expanded("%TRACK:3%%Disc%"), "0031");
    EXPECT_EQ(Expanded("100%% %year%"), "100% 2001");
    EXPECT_EQ(Expanded("%filename% (%year:2%)"), "old stem (2001)"); // longer than the width
    EXPECT_EQ(Expanded("no fields"), "no fields");
    EXPECT_EQ(Expanded(""), "");
    TrackTags t = Song();
    t.Track = "B1"; // not a number: never padded
    EXPECT_EQ(Expanded("%track:3%", t), "B1");
}

TEST(NameFormat, MissingFieldsKeepTheOldNameOrStayEmpty) {
    TrackTags t = Song();
    t.Artist.clear();
    EXPECT_EQ(Expanded("%artist% - %title%", t, NameFormat::Missing::LeaveEmpty), " - Title");
    EXPECT_EQ(Expanded("%artist% - %title%", t, NameFormat::Missing::KeepOldName), "<old name>");
    // The old name is never missing.
    EXPECT_EQ(Expanded("%filename%", TrackTags{}, NameFormat::Missing::KeepOldName), "old stem");
}

TEST(NameFormat, MistakesAreReportedAndExpandToNothing) {
    for (const auto& [format, error] : std::vector<std::pair<std::string, std::string>>{
             {"%artist", "The '%' at character 1 is not closed: \"%artist\""},
             {"a %tile%", "Unknown field \"%tile%\""},
             {"%%%", "The '%' at character 3 is not closed: \"%\""},
             {"%track:0%", "The width in \"%track:0%\" must be a number from 1 to 9"},
             {"%track:10%", "The width in \"%track:10%\" must be a number from 1 to 9"},
             {"%track:%", "The width in \"%track:%\" must be a number from 1 to 9"},
             {"%track:x%", "The width in \"%track:x%\" must be a number from 1 to 9"},
             {"%%", ""},
         }) {
        const NameFormat f = NameFormat::Parse(format);
        EXPECT_EQ(f.Error(), error) << format;
        if (!f.Valid()) {
            EXPECT_EQ(f.Expand(Song(), "s", NameFormat::Missing::LeaveEmpty), "");
        }
    }
}

TEST(SafeName, CharacterRulesTrimmingAndLength) {
    const SafeNameRules posix;
    SafeNameRules fat;
    fat.fatCharacters = true;
    EXPECT_EQ(SafeName::Stem("AC/DC: Back?", posix), "AC_DC: Back?");
    EXPECT_EQ(SafeName::Stem("AC/DC: Back?", fat), "AC_DC_ Back_");
    EXPECT_EQ(SafeName::Stem(std::string("a\0b\nc\td", 7), posix), "a_b_c_d");
    EXPECT_EQ(SafeName::Stem("..hidden. . ", posix), "hidden");
    EXPECT_EQ(SafeName::Stem("...", posix), "");
    SafeNameRules odd;
    odd.replacement = "/-:";
    odd.fatCharacters = true;
    EXPECT_EQ(SafeName::Stem("a|b", odd), "a-b"); // the replacement's own refused characters go
    odd.replacement = "";
    EXPECT_EQ(SafeName::Stem("a|b", odd), "ab");

    // 255 bytes with the extension, cut between characters, never inside one.
    std::string longStem;
    for (int i = 0; i < 200; ++i)
        longStem += "é"; // two bytes each
    const std::string cut = SafeName::Stem(longStem, posix, 5);
    EXPECT_EQ(cut.size(), 250u);
    EXPECT_EQ(SafeName::Stem("x" + longStem, posix, 5).size(), 249u);
    EXPECT_EQ(SafeName::Stem(std::string(300, 'a'), posix, 300), "");
}

TEST(TagNames, LinesFollowExcludeExtensionsAndKeepUntouchedLines) {
    const NameFormat f = NameFormat::Parse("%track:2% - %artist% - %title%");
    TagNameOptions o;
    EXPECT_EQ(TagNames::Line(f, Song(), "t.flac", false, o), "03 - Artist - Title.flac");
    EXPECT_EQ(TagNames::Line(f, Song(), "t.flac", true, o), "03 - Artist - Title");
    TrackTags t = Song();
    t.Title = "A/B\n";
    EXPECT_EQ(TagNames::Line(f, t, "x.mp3", false, o), "03 - Artist - A_B_.mp3");
    // Kept under the old name: the line the pane shows for the file, stand-ins and all.
    EXPECT_EQ(TagNames::Line(f, TrackTags{}, "old\tname.mp3", false, o),
              workspace::NameLine::Of("old\tname.mp3", false));
    EXPECT_EQ(TagNames::Line(f, TrackTags{}, "old.mp3", true, o), "old");
    // A name that comes out empty keeps the old one too.
    o.missing = NameFormat::Missing::LeaveEmpty;
    EXPECT_EQ(TagNames::Line(NameFormat::Parse("%title%"), TrackTags{}, "old.mp3", false, o),
              "old.mp3");

    SafeNameRules fat;
    fat.fatCharacters = true;
    EXPECT_EQ(TagNames::SafeLine("What? Now.mp3", "a.mp3", false, fat), "What_ Now.mp3");
    EXPECT_EQ(TagNames::SafeLine("What? Now. ", "a.mp3", true, fat), "What_ Now");
    EXPECT_EQ(TagNames::SafeLine("...", "a.mp3", true, fat), "...");
}

} // namespace
} // namespace velmora::tagnames

// Reading the naming fields from real files of each format.
#include "core/tagnames/TrackTags.h"

#include "core/tagnames/AudioFiles.h"
#include "core/tagnames/TagScan.h"
#include "core/tags/Id3v1TrailerBuilder.h"
#include "core/tags/Id3v2TagBuilder.h"
#include "support/TempDir.h"

#include <chrono>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace velmora::tagnames {
namespace {

using namespace tags::test;
using namespace tagnames::test;
using velmora::test::TempDir;

TEST(TrackTags, Mp3TakesId3v2FirstAndTheTrailerForWhatItLacks) {
    TempDir dir;
    const std::string v2 =
        Tag(4, Frame4("TPE1", Utf8Text("Кино")) + Frame4("TIT2", Utf8Text("Группа крови")) +
                   Frame4("TRCK", Latin1Text("03/12")) + Frame4("TCON", Latin1Text("(17)")) +
                   Frame4("TDRC", Latin1Text("1988-01-04")) + Frame4("TPOS", Latin1Text("2")));
    dir.Write("a.mp3", v2 + std::string(64, '\xFF') +
                           Trailer("V1 Title", "V1 Artist", "V1 Album", "1990", "note", 8));
    const TrackTags t = ReadTrackTags(dir / "a.mp3");
    EXPECT_EQ(t.Artist, "Кино");
    EXPECT_EQ(t.Title, "Группа крови");
    EXPECT_EQ(t.Track, "3");
    EXPECT_EQ(t.TrackTotal, "12");
    EXPECT_EQ(t.Disc, "2");
    EXPECT_EQ(t.Year, "1988");
    EXPECT_EQ(t.Genre, "Rock");
    EXPECT_EQ(t.Album, "V1 Album"); // only the trailer has it
    EXPECT_EQ(t.Comment, "note");

    // A trailer alone: the name (in any case) says MP3.
    dir.Write("b.MP3", std::string(32, '\xFF') + Trailer("Only", "Trailer", "", "2001", "", 8));
    const TrackTags b = ReadTrackTags(dir / "b.MP3");
    EXPECT_EQ(b.Title, "Only");
    EXPECT_EQ(b.Genre, "Jazz");
}

TEST(TrackTags, FlacAndM4aThroughTheTagLibrary) {
    TempDir dir;
    dir.Write("x.flac", Flac({"ARTIST=First", "ARTIST=Second", "TITLE=Éden", "TRACKNUMBER=07",
                              "TRACKTOTAL=012", "DATE=1999", "ALBUMARTIST=Various", "GENRE=Jazz",
                              "COMPOSER=Ravel", "ALBUM=  Spaced  "}));
    const TrackTags f = ReadTrackTags(dir / "x.flac");
    EXPECT_EQ(f.Artist, "First, Second");
    EXPECT_EQ(f.Title, "Éden");
    EXPECT_EQ(f.Track, "7");
    EXPECT_EQ(f.TrackTotal, "12");
    EXPECT_EQ(f.Year, "1999");
    EXPECT_EQ(f.AlbumArtist, "Various");
    EXPECT_EQ(f.Genre, "Jazz");
    EXPECT_EQ(f.Composer, "Ravel");
    EXPECT_EQ(f.Album, "Spaced");

    dir.Write("y.m4a", M4a(TextItem("\xA9"
                                    "ART",
                                    "Björk") +
                           TextItem("\xA9nam", "Jóga") + NumberPairItem("trkn", 3, 10) +
                           TextItem("\xA9"
                                    "day",
                                    "1997-09-22") +
                           TextItem("aART", "Björk")));
    const TrackTags m = ReadTrackTags(dir / "y.m4a");
    EXPECT_EQ(m.Artist, "Björk");
    EXPECT_EQ(m.Title, "Jóga");
    EXPECT_EQ(m.Track, "3");
    EXPECT_EQ(m.TrackTotal, "10");
    EXPECT_EQ(m.Year, "1997");
    EXPECT_EQ(m.AlbumArtist, "Björk");
}

TEST(TrackTags, OggVorbisAndOpusMadeByTheirEncoders) {
    TempDir dir;
    const Comments c{"ARTIST=Ёлка", "TITLE=Прованс", "TRACKNUMBER=5/9", "DISCNUMBER=1"};
    for (const char* encoder : {"oggenc", "opusenc"}) {
        const std::string out = dir / (std::string(encoder) + ".ogg");
        if (!Encode(encoder, out, c)) GTEST_SKIP() << encoder << " is not installed";
        const TrackTags t = ReadTrackTags(out);
        EXPECT_EQ(t.Artist, "Ёлка") << encoder;
        EXPECT_EQ(t.Title, "Прованс") << encoder;
        EXPECT_EQ(t.Track, "5") << encoder;
        EXPECT_EQ(t.TrackTotal, "9") << encoder;
        EXPECT_EQ(t.Disc, "1") << encoder;
    }
}

TEST(TrackTags, UnreadableFilesGiveAnEmptyRecord) {
    TempDir dir;
    dir.Write("empty.flac", "");
    dir.Write("junk.m4a", std::string(5000, '\x7F'));
    dir.Write("cut.flac", Flac({"ARTIST=Cut"}).substr(0, 50));
    dir.Write("cut.mp3", Tag(3, Frame3("TPE1", Latin1Text("Cut"))).substr(0, 15));
    ASSERT_EQ(::mkfifo((dir / "pipe.ogg").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((dir / "pipe.mp3").c_str(), 0600), 0);
    for (const char* name :
         {"empty.flac", "junk.m4a", "cut.flac", "cut.mp3", "pipe.ogg", "pipe.mp3", "missing.opus"})
        EXPECT_EQ(ReadTrackTags(dir / name), TrackTags{}) << name;
}

TEST(TrackTags, PropertiesFillOnlyWhatIsStillEmpty) {
    TrackTags t;
    AddTagProperties(t, {{"genre", {"(17)Indie", "(RX)"}},
                         {"TITLE", {" ", "  A  "}},
                         {"DISCNUMBER", {"01/02"}},
                         {"DATE", {"20"}},
                         {"UNKNOWN", {"x"}}});
    AddTagProperties(t, {{"GENRE", {"Pop"}}, {"TITLE", {"B"}}, {"DISCTOTAL", {"5"}}});
    EXPECT_EQ(t.Genre, "Indie, Remix");
    EXPECT_EQ(t.Title, "A");
    EXPECT_EQ(t.Disc, "1");
    EXPECT_EQ(t.DiscTotal, "2");
    EXPECT_EQ(t.Year, "20");
    AddTagProperties(t, {{"GENRE", {"125"}}});
    TrackTags g;
    AddTagProperties(g, {{"GENRE", {"125"}}, {"TRACKNUMBER", {"/"}}});
    EXPECT_EQ(g.Genre, "Dance Hall");
    EXPECT_EQ(g.Track, "");
    TrackTags h;
    AddTagProperties(h, {{"GENRE", {"126"}}});
    EXPECT_EQ(h.Genre, "126"); // past the named genres: kept as written
}

TEST(TagScan, ReadsInListOrderAndStopsWhenCancelled) {
    std::vector<std::string> paths;
    for (int i = 0; i < 50; ++i)
        paths.push_back(std::to_string(i));
    {
        TagScan scan(paths, [](const std::string& p) {
            TrackTags t;
            t.Title = p;
            return t;
        });
        while (!scan.Finished())
            std::this_thread::yield();
        for (std::size_t i = 0; i < paths.size(); ++i)
            EXPECT_EQ(scan.At(i).Title, paths[i]);
    }
    std::atomic<int> reads{0};
    {
        TagScan slow(paths, [&](const std::string&) {
            ++reads;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            return TrackTags{};
        });
        while (slow.Done() < 2)
            std::this_thread::yield();
        slow.Cancel();
    } // the destructor waits for the file being read
    EXPECT_LT(reads.load(), 10);
}

} // namespace
} // namespace velmora::tagnames

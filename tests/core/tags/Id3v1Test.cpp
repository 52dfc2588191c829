// ID3v1 trailer: byte layout, reading, writing, removing and the failure rules, on real files.
#include "core/tags/id3v1/Id3v1.h"

#include "Id3v1TrailerBuilder.h"
#include "core/platform/Error.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <set>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <vector>

using namespace velmora::tags;
using namespace velmora::tags::test;
using namespace velmora::test;
using velmora::platform::EFOpenError;

namespace {

using namespace std::string_literals;
using Bytes = std::string;

// Writes only a song name; the other fields empty.
bool WriteSong(const Id3v1& tag, const std::string& path, const Bytes& song,
               TGenre genre = grBlues) {
    return tag.WriteTag(path, song, "", "", "", "", genre);
}

// The text fields joined with "|".
std::string Fields(const Id3v1& t) {
    return t.SongName() + "|" + t.Artist() + "|" + t.Album() + "|" + t.Year() + "|" + t.Comment();
}

class Id3v1Test : public ::testing::Test {
protected:
    std::string Make(const std::string& name, const Bytes& content) const {
        dir_.Write(name, content);
        return dir_ / name;
    }
    static Bytes Load(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

    // A trailer record with the genre right after the song name, as most cases need only these.
    static Bytes Record(const Bytes& song, std::uint8_t genre, const Bytes& artist = "",
                        const Bytes& album = "", const Bytes& year = "", const Bytes& comment = "",
                        char pad = '\0') {
        return Trailer(song, artist, album, year, comment, genre, pad);
    }

    static Bytes Audio(std::size_t n) {
        Bytes b;
        for (std::size_t i = 0; i < n; ++i)
            b += static_cast<char>('a' + i % 26);
        return b;
    }

    velmora::test::TempDir dir_;
};

} // namespace

TEST_F(Id3v1Test, FilesWithoutTrailerOfEverySize) {
    Bytes lowercase = Record("Song", 1); // the identifier is case-sensitive
    lowercase[0] = 't';
    for (const Bytes& audio : {Audio(0), Audio(1), Audio(127), Audio(128), Audio(300), lowercase}) {
        SCOPED_TRACE(audio.size());
        const std::string path = Make("a.mp3", audio);
        Id3v1 tag;
        ASSERT_TRUE(tag.ReadTag(path));
        EXPECT_EQ(Fields(tag), "||||");
        EXPECT_EQ(tag.Genre(), grNone);
        EXPECT_FALSE(tag.TagPresent(path));
        tag.RemoveTag(path);
        EXPECT_EQ(Load(path), audio);

        // A new trailer is appended and holds zeros wherever no value was written, never
        // the audio's bytes.
        ASSERT_TRUE(tag.WriteTag(path, "Song", "Artist", "Album", "1999", "Note", grRock));
        EXPECT_EQ(Load(path), audio + Record("Song", 17, "Artist", "Album", "1999", "Note"));
        EXPECT_TRUE(tag.TagPresent(path));
        ASSERT_TRUE(tag.ReadTag(path));
        EXPECT_EQ(Fields(tag), "Song|Artist|Album|1999|Note");
        EXPECT_EQ(tag.Genre(), grRock);
    }
}

TEST_F(Id3v1Test, ReadsFieldsByteForByte) {
    const Bytes title30 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123";
    const Bytes comment = "Track style" + Bytes(18, '\0') + "\7";
    const Bytes record = Record(title30, 200, "\0Hidden"s, "  Caf\xe9 ", "2001", comment);
    Id3v1 tag;
    ASSERT_TRUE(tag.ReadTag(Make("t.mp3", Audio(50) + record)));
    // A field starting with a zero byte is empty; ISO 8859-1, blanks kept.
    EXPECT_EQ(Fields(tag), title30 + "||  Caf\xc3\xa9 |2001|Track style");
    EXPECT_EQ(static_cast<int>(tag.Genre()), 200);

    // A year field filled to its end is not continued into the comment.
    ASSERT_TRUE(tag.ReadTag(Make("y.mp3", Record("", 0, "", "", "1984", "X"))));
    EXPECT_EQ(tag.Year(), "1984");
}

TEST_F(Id3v1Test, GenreBytesOutsideTheTableSurviveWriteAndRead) {
    const std::string path = Make("g.mp3", Audio(10));
    Id3v1 tag;
    for (int g : {126, 200, 255, 0, 125}) {
        SCOPED_TRACE(g);
        ASSERT_TRUE(WriteSong(tag, path, "", static_cast<TGenre>(g)));
        ASSERT_TRUE(tag.ReadTag(path));
        EXPECT_EQ(static_cast<int>(tag.Genre()), g);
        EXPECT_EQ(Load(path).size(), 138u);
    }
    EXPECT_EQ(Id3v1::GenreToString(static_cast<TGenre>(200)), "");
}

TEST_F(Id3v1Test, WriteThenReadRoundTripsAndCutsLongValues) {
    const std::string path = Make("r.mp3", Audio(1000));
    const Bytes title30(30, 'T');
    Id3v1 tag;
    ASSERT_TRUE(tag.WriteTag(path, title30, "\xc3\x89mile \xc3\xbc", "Album", "2024",
                             Bytes(31, 'c'), grJazzFunk));
    ASSERT_TRUE(tag.ReadTag(path));
    EXPECT_EQ(Fields(tag), title30 + "|\xc3\x89mile \xc3\xbc|Album|2024|" + Bytes(30, 'c'));
    EXPECT_EQ(tag.Genre(), grJazzFunk);
    const Bytes trailer = Load(path).substr(1000);
    EXPECT_EQ(trailer.substr(3, 30), title30) << "a full field has no terminating zero";
    EXPECT_EQ(trailer.substr(33, 8), "\xc9mile \xfc\0"s);

    // Replacing: values longer than the field are cut, the size stays the same.
    ASSERT_TRUE(WriteSong(tag, path, Bytes(40, 'L'), grPop));
    EXPECT_EQ(Load(path).size(), 1128u);
    ASSERT_TRUE(tag.ReadTag(path));
    EXPECT_EQ(tag.SongName(), Bytes(30, 'L'));

    // Characters outside ISO 8859-1 (euro sign, CJK, emoji, an invalid byte) become "?".
    ASSERT_TRUE(tag.WriteTag(path, "5 \xe2\x82\xac", "\xe6\x97\xa5\xe6\x9c\xac", "\xf0\x9f\x8e\xb5",
                             "\xff", "\xc2\xa9 ok", grNone));
    ASSERT_TRUE(tag.ReadTag(path));
    EXPECT_EQ(Fields(tag), "5 ?|??|?|?|\xc2\xa9 ok");
}

TEST_F(Id3v1Test, ReplacingKeepsOldBytesBehindShorterValues) {
    const Bytes oldComment = "Old comment text" + Bytes(13, '\0') + "\x09";
    const Bytes old = Record("Long old song name", 3, "Artist", "Album", "1999", oldComment, 'x');
    const std::string path = Make("k.mp3", Audio(20) + old);
    Id3v1 tag;
    ASSERT_TRUE(tag.WriteTag(path, "New", "Artist", "Album", "05", "Short", grPop));
    const Bytes trailer = Load(path).substr(20);
    ASSERT_EQ(trailer.size(), 128u);
    EXPECT_EQ(trailer.substr(3, 8), "New\0 old"s);
    EXPECT_EQ(trailer.substr(93, 4), "05\0009"s) << "short year keeps one old byte";
    EXPECT_EQ(trailer.substr(125, 2), "\0\x09"s) << "an old track number survives";
    ASSERT_TRUE(tag.ReadTag(path));
    EXPECT_EQ(Fields(tag), "New|Artist|Album|05|Short");

    // A file that is nothing but a trailer is rewritten from zeros.
    const std::string only = Make("only.mp3", old);
    ASSERT_TRUE(WriteSong(tag, only, "A"));
    EXPECT_EQ(Load(only), Record("A", 0));
}

TEST_F(Id3v1Test, RemoveCutsExactlyOneTrailer) {
    const Bytes audio = Audio(500), first = Record("First", 1);
    const std::string path = Make("d.mp3", audio + first + Record("Second", 2));
    Id3v1 tag;
    for (const Bytes& left : {audio + first, audio, audio}) {
        tag.RemoveTag(path);
        EXPECT_EQ(Load(path), left);
    }
    const std::string empty = Make("e.mp3", Record("", 0));
    tag.RemoveTag(empty);
    EXPECT_EQ(Load(empty), "");
}

TEST_F(Id3v1Test, MissingFilesAndDirectoriesAndAssigningAFileName) {
    Id3v1 tag;
    EXPECT_EQ(Fields(tag), "||||") << "a new component is empty with genre 0";
    EXPECT_EQ(tag.Genre(), grBlues);
    const std::string good = Make("good.mp3", Audio(3) + Record("Kept", 5));
    tag.SetFileName(good);
    EXPECT_EQ(tag.FileName(), good);
    EXPECT_EQ(tag.SongName(), "Kept");
    const std::string missing = dir_ / "missing.mp3";
    tag.SetFileName(missing);
    EXPECT_EQ(tag.FileName(), missing);
    EXPECT_FALSE(tag.ReadTag(missing));
    EXPECT_FALSE(tag.ReadTag(dir_.Path()));
    EXPECT_EQ(tag.SongName(), "Kept") << "a failed read keeps the last values";
    EXPECT_EQ(tag.Genre(), grFunk);
    EXPECT_FALSE(tag.TagPresent(missing));
    EXPECT_FALSE(WriteSong(tag, missing, "x"));
    EXPECT_FALSE(std::filesystem::exists(missing)) << "writing never creates a file";
    EXPECT_FALSE(WriteSong(tag, dir_.Path(), "x"));
    EXPECT_THROW(tag.RemoveTag(missing), EFOpenError);
}

TEST_F(Id3v1Test, ReadOnlyFile) {
    const Bytes content = Audio(40) + Record("Locked", 7);
    const std::string path = Make("ro.mp3", content);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    EXPECT_TRUE(RunUnprivileged(dir_.Path(), [&] {
        Id3v1 tag;
        bool ok = tag.ReadTag(path) && tag.SongName() == "Locked" && tag.TagPresent(path) &&
                  !WriteSong(tag, path, "Changed");
        try {
            tag.RemoveTag(path);
            ok = false;
        } catch (const EFOpenError&) {
        }
        return ok;
    }));
    EXPECT_EQ(Load(path), content);
}

TEST_F(Id3v1Test, WriteNeedsExclusiveAccessAndAFailedAppendLeavesTheFileAsItWas) {
    const Bytes audio = Audio(1000);
    const std::string path = Make("busy.mp3", audio);
    int fd = open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(flock(fd, LOCK_EX), 0);
    Id3v1 tag;
    EXPECT_FALSE(WriteSong(tag, path, "x"));
    close(fd);
    EXPECT_EQ(Load(path), audio);

    // The file may grow by 64 bytes only, so the trailer is cut short half-way.
    EXPECT_TRUE(RunInChild([&] {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 1064;
        return setrlimit(RLIMIT_FSIZE, &limit) == 0 && !WriteSong(Id3v1(), path, "Song", grPop);
    }));
    EXPECT_EQ(Load(path), audio);
    EXPECT_TRUE(WriteSong(tag, path, "x"));
}

TEST_F(Id3v1Test, NamedPipesAreNotOpened) {
    const std::string path = dir_ / "pipe.mp3";
    ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
    alarm(20); // opening the pipe would block: end the test instead of hanging
    Id3v1 tag;
    EXPECT_FALSE(tag.ReadTag(path));
    EXPECT_FALSE(tag.TagPresent(path));
    EXPECT_FALSE(WriteSong(tag, path, "x"));
    EXPECT_NO_THROW(tag.RemoveTag(path));
    alarm(0);
}

TEST(Genre, NamesAndEnumerators) {
    // By byte value, and the enumerators that name those bytes.
    const std::pair<int, const char*> genres[] = {
        {0, "Blues"},   {12, "Other"},       {29, "Jazz+Funk"},
        {14, "R&B"},    {67, "Psychadelic"}, {78, "Rock & Roll"},
        {86, "Latin"},  {99, "Acoustic"},    {125, "Dance Hall"},
        {7, "Hip-Hop"}, {60, "Top 40"},      {126, ""},
        {255, ""}};
    EXPECT_EQ((std::vector<int>{grBlues, grHipHop, grRandB, grJazzFunk, grTop40, grPsychadelic,
                                grRockandRoll, grLatin, grAcoustic, grDanceHall, grNone}),
              (std::vector<int>{0, 7, 14, 29, 60, 67, 78, 86, 99, 125, 126}));
    for (auto [genre, name] : genres)
        EXPECT_EQ(GenreToString(static_cast<TGenre>(genre)), name) << genre;
    std::set<std::string> names;
    for (int g = 0; g < GenreCount; ++g)
        names.insert(GenreToString(static_cast<TGenre>(g)));
    EXPECT_EQ(names.size(), 126u);
    EXPECT_EQ(names.count(""), 0u);
}

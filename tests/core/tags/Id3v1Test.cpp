// ID3v1 trailer: byte layout, reading, writing, removing and the failure rules, on real files.
#include "core/tags/Id3v1.h"

#include "core/platform/Error.h"

#include <array>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <string>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace velmora::tags;
using velmora::platform::EFOpenError;

namespace {

using namespace std::string_literals;
using Bytes = std::string;

class Id3v1Test : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/velmora-id3v1-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

    std::string Make(const std::string& name, const Bytes& content) const {
        std::string path = Path(name);
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    static Bytes Load(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

    // A trailer record: "TAG", the fields padded with pad bytes, the genre byte.
    static Bytes Record(const Bytes& song, const Bytes& artist, const Bytes& album,
                        const Bytes& year, const Bytes& comment, std::uint8_t genre,
                        char pad = '\0') {
        auto field = [pad](Bytes v, std::size_t width) {
            v.resize(width, pad);
            return v;
        };
        return "TAG" + field(song, 30) + field(artist, 30) + field(album, 30) + field(year, 4) +
               field(comment, 30) + static_cast<char>(genre);
    }

    static Bytes Audio(std::size_t n) {
        Bytes b;
        for (std::size_t i = 0; i < n; ++i)
            b += static_cast<char>('a' + i % 26);
        return b;
    }

    std::string dir_;
};

// Runs check in a child process (for limits and identities the test must not keep) and
// returns its result.
bool RunInChild(const std::function<bool()>& check) {
    pid_t pid = fork();
    if (pid == 0) _exit(check() ? 0 : 1);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Runs check as a user without the right to write other users' files (root ignores file
// modes). The directory must be reachable by that user.
bool RunUnprivileged(const std::string& dir, const std::function<bool()>& check) {
    if (geteuid() != 0) return check();
    chmod(dir.c_str(), 0755);
    return RunInChild([&] { return setgid(65534) == 0 && setuid(65534) == 0 && check(); });
}

} // namespace

TEST_F(Id3v1Test, NewComponentHoldsEmptyValuesAndGenreZero) {
    Id3v1 tag;
    EXPECT_EQ(tag.SongName(), "");
    EXPECT_EQ(tag.Comment(), "");
    EXPECT_EQ(tag.Genre(), grBlues);
}

TEST_F(Id3v1Test, FilesWithoutTrailerOfEverySize) {
    for (std::size_t size : {0, 1, 127, 128, 300}) {
        SCOPED_TRACE(size);
        const Bytes audio = Audio(size);
        const std::string path = Make("f" + std::to_string(size), audio);
        Id3v1 tag;
        ASSERT_TRUE(tag.ReadTag(path));
        EXPECT_EQ(tag.SongName(), "");
        EXPECT_EQ(tag.Year(), "");
        EXPECT_EQ(tag.Genre(), grNone);
        EXPECT_FALSE(tag.TagPresent(path));
        tag.RemoveTag(path);
        EXPECT_EQ(Load(path), audio);

        // A new trailer is appended and holds zeros wherever no value was written, never
        // the audio's bytes.
        ASSERT_TRUE(tag.WriteTag(path, "Song", "Artist", "Album", "1999", "Note", grRock));
        EXPECT_EQ(Load(path), audio + Record("Song", "Artist", "Album", "1999", "Note", 17));
        EXPECT_TRUE(tag.TagPresent(path));
        ASSERT_TRUE(tag.ReadTag(path));
        EXPECT_EQ(tag.SongName(), "Song");
        EXPECT_EQ(tag.Genre(), grRock);
    }
}

TEST_F(Id3v1Test, ReadsFieldsByteForByte) {
    const Bytes title30 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123";
    const Bytes comment = Bytes("Track style") + Bytes(17, '\0') + Bytes(1, '\0') + Bytes(1, '\7');
    Bytes record = Record(title30, Bytes("\0Hidden", 7), "  Caf\xe9 ", "2001", comment, 200);
    const std::string path = Make("t.mp3", Audio(50) + record);
    Id3v1 tag;
    ASSERT_TRUE(tag.ReadTag(path));
    EXPECT_EQ(tag.SongName(), title30);
    EXPECT_EQ(tag.Artist(), "") << "a field starting with a zero byte is empty";
    EXPECT_EQ(tag.Album(), "  Caf\xc3\xa9 ") << "ISO 8859-1, blanks kept";
    EXPECT_EQ(tag.Year(), "2001");
    EXPECT_EQ(tag.Comment(), "Track style");
    EXPECT_EQ(static_cast<int>(tag.Genre()), 200);

    // A year field filled to its end is not continued into the comment.
    record = Record("", "", "", "1984", "X", 0);
    ASSERT_TRUE(tag.ReadTag(Make("y.mp3", record)));
    EXPECT_EQ(tag.Year(), "1984");
}

TEST_F(Id3v1Test, IdentifierIsCaseSensitive) {
    Bytes record = Record("Song", "", "", "", "", 1);
    record[0] = 't';
    const std::string path = Make("lower.mp3", record);
    Id3v1 tag;
    ASSERT_TRUE(tag.ReadTag(path));
    EXPECT_EQ(tag.SongName(), "");
    EXPECT_EQ(tag.Genre(), grNone);
    EXPECT_FALSE(tag.TagPresent(path));
}

TEST_F(Id3v1Test, GenreBytesOutsideTheTableSurviveWriteAndRead) {
    const std::string path = Make("g.mp3", Audio(10));
    Id3v1 tag;
    for (int g : {126, 200, 255, 0, 125}) {
        SCOPED_TRACE(g);
        ASSERT_TRUE(tag.WriteTag(path, "", "", "", "", "", static_cast<TGenre>(g)));
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
    EXPECT_EQ(tag.SongName(), title30);
    EXPECT_EQ(tag.Artist(), "\xc3\x89mile \xc3\xbc");
    EXPECT_EQ(tag.Comment(), Bytes(30, 'c'));
    EXPECT_EQ(tag.Genre(), grJazzFunk);
    const Bytes trailer = Load(path).substr(1000);
    EXPECT_EQ(trailer.substr(3, 30), title30) << "a full field has no terminating zero";
    EXPECT_EQ(trailer.substr(33, 8), "\xc9mile \xfc\0"s.substr(0, 8));

    // Replacing: values longer than the field are cut, the size stays the same.
    ASSERT_TRUE(tag.WriteTag(path, Bytes(40, 'L'), "", "", "", "", grPop));
    EXPECT_EQ(Load(path).size(), 1128u);
    ASSERT_TRUE(tag.ReadTag(path));
    EXPECT_EQ(tag.SongName(), Bytes(30, 'L'));
}

TEST_F(Id3v1Test, CharactersOutsideLatin1AreWrittenAsQuestionMarks) {
    const std::string path = Make("q.mp3", "");
    Id3v1 tag;
    // Euro sign, two CJK characters, an emoji and an invalid UTF-8 byte.
    ASSERT_TRUE(tag.WriteTag(path, "5 \xe2\x82\xac", "\xe6\x97\xa5\xe6\x9c\xac", "\xf0\x9f\x8e\xb5",
                             "\xff", "\xc2\xa9 ok", grNone));
    ASSERT_TRUE(tag.ReadTag(path));
    EXPECT_EQ(tag.SongName(), "5 ?");
    EXPECT_EQ(tag.Artist(), "??");
    EXPECT_EQ(tag.Album(), "?");
    EXPECT_EQ(tag.Year(), "?");
    EXPECT_EQ(tag.Comment(), "\xc2\xa9 ok");
}

TEST_F(Id3v1Test, ReplacingKeepsOldBytesBehindShorterValues) {
    const Bytes oldComment = Bytes("Old comment text", 16) + Bytes(12, '\0') + "\0\x09"s;
    const Bytes old = Record("Long old song name", "Artist", "Album", "1999", oldComment, 3, 'x');
    const std::string path = Make("k.mp3", Audio(20) + old);
    Id3v1 tag;
    ASSERT_TRUE(tag.WriteTag(path, "New", "Artist", "Album", "05", "Short", grPop));
    const Bytes trailer = Load(path).substr(20);
    ASSERT_EQ(trailer.size(), 128u);
    EXPECT_EQ(trailer.substr(3, 8), Bytes("New\0", 4) + " old");
    EXPECT_EQ(trailer.substr(93, 4), Bytes("05\0", 3) + "9") << "short year keeps one old byte";
    EXPECT_EQ(trailer.substr(125, 2), "\0\x09"s) << "an old track number survives";
    ASSERT_TRUE(tag.ReadTag(path));
    EXPECT_EQ(tag.SongName(), "New");
    EXPECT_EQ(tag.Year(), "05");

    // A file that is nothing but a trailer is rewritten from zeros.
    const std::string only = Make("only.mp3", old);
    ASSERT_TRUE(tag.WriteTag(only, "A", "", "", "", "", grBlues));
    EXPECT_EQ(Load(only), Record("A", "", "", "", "", 0));
}

TEST_F(Id3v1Test, RemoveCutsExactlyOneTrailer) {
    const Bytes audio = Audio(500);
    const Bytes first = Record("First", "", "", "", "", 1);
    const Bytes second = Record("Second", "", "", "", "", 2);
    const std::string path = Make("d.mp3", audio + first + second);
    Id3v1 tag;
    tag.RemoveTag(path);
    EXPECT_EQ(Load(path), audio + first);
    tag.RemoveTag(path);
    EXPECT_EQ(Load(path), audio);
    tag.RemoveTag(path);
    EXPECT_EQ(Load(path), audio);

    const std::string empty = Make("e.mp3", Record("", "", "", "", "", 0));
    tag.RemoveTag(empty);
    EXPECT_EQ(Load(empty), "");
}

TEST_F(Id3v1Test, MissingFilesAndDirectories) {
    Id3v1 tag;
    ASSERT_TRUE(tag.ReadTag(Make("good.mp3", Record("Kept", "", "", "", "", 5))));
    const std::string missing = Path("missing.mp3");
    EXPECT_FALSE(tag.ReadTag(missing));
    EXPECT_FALSE(tag.ReadTag(dir_));
    EXPECT_EQ(tag.SongName(), "Kept") << "a failed read keeps the last values";
    EXPECT_EQ(tag.Genre(), grFunk);
    EXPECT_FALSE(tag.TagPresent(missing));
    EXPECT_FALSE(tag.WriteTag(missing, "x", "", "", "", "", grBlues));
    EXPECT_FALSE(std::filesystem::exists(missing)) << "writing never creates a file";
    EXPECT_FALSE(tag.WriteTag(dir_, "x", "", "", "", "", grBlues));
    EXPECT_THROW(tag.RemoveTag(missing), EFOpenError);
}

TEST_F(Id3v1Test, AssigningFileNameReadsItsTag) {
    const std::string path = Make("n.mp3", Audio(3) + Record("Named", "", "", "", "", 9));
    Id3v1 tag;
    tag.SetFileName(path);
    EXPECT_EQ(tag.FileName(), path);
    EXPECT_EQ(tag.SongName(), "Named");
    tag.SetFileName(Path("gone.mp3"));
    EXPECT_EQ(tag.FileName(), Path("gone.mp3"));
    EXPECT_EQ(tag.SongName(), "Named");
}

TEST_F(Id3v1Test, ReadOnlyFile) {
    const Bytes content = Audio(40) + Record("Locked", "", "", "", "", 7);
    const std::string path = Make("ro.mp3", content);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    EXPECT_TRUE(RunUnprivileged(dir_, [&] {
        Id3v1 tag;
        bool ok = tag.ReadTag(path) && tag.SongName() == "Locked";
        ok = ok && tag.TagPresent(path);
        ok = ok && !tag.WriteTag(path, "Changed", "", "", "", "", grBlues);
        try {
            tag.RemoveTag(path);
            ok = false;
        } catch (const EFOpenError&) {
        }
        return ok;
    }));
    EXPECT_EQ(Load(path), content);
}

TEST_F(Id3v1Test, WriteNeedsExclusiveAccess) {
    const Bytes content = Audio(10);
    const std::string path = Make("busy.mp3", content);
    int fd = open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(flock(fd, LOCK_EX), 0);
    Id3v1 tag;
    EXPECT_FALSE(tag.WriteTag(path, "x", "", "", "", "", grBlues));
    close(fd);
    EXPECT_EQ(Load(path), content);
    EXPECT_TRUE(tag.WriteTag(path, "x", "", "", "", "", grBlues));
}

TEST_F(Id3v1Test, FailedAppendLeavesTheFileAsItWas) {
    const Bytes audio = Audio(1000);
    const std::string path = Make("full.mp3", audio);
    // The file may grow by 64 bytes only, so the trailer is cut short half-way.
    EXPECT_TRUE(RunInChild([&] {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 1064;
        return setrlimit(RLIMIT_FSIZE, &limit) == 0 &&
               !Id3v1().WriteTag(path, "Song", "", "", "", "", grPop);
    }));
    EXPECT_EQ(Load(path), audio);
}

TEST_F(Id3v1Test, NamedPipesAreNotOpened) {
    const std::string path = Path("pipe.mp3");
    ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
    alarm(20); // opening the pipe would block: end the test instead of hanging
    Id3v1 tag;
    EXPECT_FALSE(tag.ReadTag(path));
    EXPECT_FALSE(tag.TagPresent(path));
    EXPECT_FALSE(tag.WriteTag(path, "x", "", "", "", "", grBlues));
    EXPECT_NO_THROW(tag.RemoveTag(path));
    alarm(0);
}

TEST(Genre, NamesAndEnumerators) {
    EXPECT_EQ(GenreToString(grBlues), "Blues");
    EXPECT_EQ(GenreToString(static_cast<TGenre>(12)), "Other");
    EXPECT_EQ(GenreToString(grJazzFunk), "Jazz+Funk");
    EXPECT_EQ(GenreToString(grPsychadelic), "Psychadelic");
    EXPECT_EQ(GenreToString(grRockandRoll), "Rock & Roll");
    EXPECT_EQ(GenreToString(grRandB), "R&B");
    EXPECT_EQ(GenreToString(grLatin), "Latin");
    EXPECT_EQ(GenreToString(grAcoustic), "Acoustic");
    EXPECT_EQ(GenreToString(grDanceHall), "Dance Hall");
    EXPECT_EQ(GenreToString(grNone), "");
    EXPECT_EQ(GenreToString(static_cast<TGenre>(255)), "");
    EXPECT_EQ(grTop40, 60);
    EXPECT_EQ(grHipHop, 7);
    EXPECT_EQ(grNone, 126);
    std::set<std::string> names;
    for (int g = 0; g < GenreCount; ++g)
        names.insert(GenreToString(static_cast<TGenre>(g)));
    EXPECT_EQ(names.size(), 126u);
    EXPECT_EQ(names.count(""), 0u);
}

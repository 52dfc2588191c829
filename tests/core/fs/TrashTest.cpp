// The Trash on real folders: the user's own, a volume's own on a real mount, and the reasons
// given when a file does not go there.
#include "core/fs/Trash.h"

#include "support/ChildProcess.h"
#include "support/FuseVolume.h"
#include "support/TempDir.h"

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <regex>
#include <sched.h>
#include <set>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace velmora::fs;
using velmora::test::RunInChild;
using velmora::test::RunUnprivileged;
using velmora::test::TempDir;

namespace {

struct ScopedEnv {
    const char* name;
    std::optional<std::string> old;
    ScopedEnv(const char* n, const std::string& value) : name(n) {
        if (const char* o = std::getenv(n)) old = o;
        setenv(n, value.c_str(), 1);
        tzset();
    }
    ~ScopedEnv() {
        old ? setenv(name, old->c_str(), 1) : unsetenv(name);
        tzset();
    }
};

std::string RealPath(const std::string& path) {
    char* p = ::realpath(path.c_str(), nullptr);
    std::string s = p ? p : "";
    std::free(p);
    return s;
}

bool IsLink(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

// The failure MoveToTrash raises for path, as "reason" or "no trash: reason"; "moved" when none.
std::string Failure(const std::string& path) {
    try {
        Trash::MoveToTrash(path);
        return "moved";
    } catch (const ETrashError& e) {
        return (e.NoUsableTrash() ? "no trash: " : "") + e.Message();
    }
}

const std::string kLatin1 = "caf\xe9.mp3";
const std::string kLookAlike = "caf\xef\xbf\xbd.mp3"; // U+FFFD where the Latin-1 byte stands

} // namespace

TEST(Trash, InfoTextEscapesThePathAndDatesInLocalTime) {
    ScopedEnv tz("TZ", "UTC");
    EXPECT_EQ(
        Trash::InfoText("/m/line\nbreak 100%.mp3", 0),
        "[Trash Info]\nPath=/m/line%0Abreak%20100%25.mp3\nDeletionDate=1970-01-01T00:00:00\n");
    EXPECT_EQ(Trash::InfoText("Music/" + kLatin1, 86399),
              "[Trash Info]\nPath=Music/caf%E9.mp3\nDeletionDate=1970-01-01T23:59:59\n");
}

TEST(Trash, TheUsersTrashTakesTheExactBytesOfTheName) {
    TempDir d;
    ScopedEnv data("XDG_DATA_HOME", d / "data"); // made by the first move
    const std::string folder = d / "M\xfcsik";   // a Latin-1 folder name too
    std::filesystem::create_directory(folder);
    for (const std::string& name : {kLatin1, kLookAlike, std::string("line\nbreak.mp3")})
        d.Write("M\xfcsik/" + name, name);
    const std::string trash = d / "data/Trash";
    const std::string real = RealPath(d.Path()) + "/";

    EXPECT_EQ(Trash::MoveToTrash(folder + "/" + kLatin1), trash + "/files/" + kLatin1);
    EXPECT_FALSE(d.Exists("M\xfcsik/" + kLatin1));
    EXPECT_EQ(d.Read("M\xfcsik/" + kLookAlike), kLookAlike);
    EXPECT_EQ(d.Read("data/Trash/files/" + kLatin1), kLatin1);
    const std::string info = d.Read("data/Trash/info/" + kLatin1 + ".trashinfo");
    const std::regex form("\\[Trash Info\\]\nPath=(.*)\nDeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:"
                          "\\d\\d:\\d\\d\n");
    std::smatch m;
    ASSERT_TRUE(std::regex_match(info, m, form)) << info;
    EXPECT_EQ(m[1].str(), real + "M%FCsik/caf%E9.mp3");

    // A line break stays inside the one Path value.
    Trash::MoveToTrash(folder + "/line\nbreak.mp3");
    const std::string broken = d.Read("data/Trash/info/line\nbreak.mp3.trashinfo");
    ASSERT_TRUE(std::regex_match(broken, m, form)) << broken;
    EXPECT_EQ(m[1].str(), real + "M%FCsik/line%0Abreak.mp3");

    // The same name again gets a name of its own in the Trash; nothing there is replaced.
    d.Write("M\xfcsik/" + kLatin1, "second");
    EXPECT_EQ(Trash::MoveToTrash(folder + "/" + kLatin1), trash + "/files/caf\xe9.2.mp3");
    EXPECT_EQ(d.Read("data/Trash/files/" + kLatin1), kLatin1);
    EXPECT_EQ(d.Read("data/Trash/files/caf\xe9.2.mp3"), "second");
    EXPECT_TRUE(d.Exists("data/Trash/info/caf\xe9.2.mp3.trashinfo"));

    // A dangling link goes itself; a name too long for its info file is shortened.
    std::filesystem::create_symlink("nowhere.mp3", folder + "/gone.mp3");
    EXPECT_TRUE(IsLink(Trash::MoveToTrash(folder + "/gone.mp3")));
    EXPECT_FALSE(d.Exists("M\xfcsik/gone.mp3"));
    const std::string longName = std::string(NAME_MAX - 4, 'x') + ".mp3";
    d.Write("M\xfcsik/" + longName);
    const std::string where = Trash::MoveToTrash(folder + "/" + longName);
    EXPECT_EQ(where, trash + "/files/" + std::string(NAME_MAX - 14, 'x') + ".mp3");
    EXPECT_TRUE(d.Exists("data/Trash/info/" + where.substr(where.rfind('/') + 1) + ".trashinfo"));
}

TEST(Trash, TheRealReasonAndNoTrashOnlyWhenThereIsNone) {
    TempDir d;
    ScopedEnv data("XDG_DATA_HOME", d / "data");
    EXPECT_EQ(Failure(d / "missing.mp3"), "it no longer exists");
    EXPECT_FALSE(d.Exists("data/Trash/info/missing.mp3.trashinfo"));

    // A folder the user may not change: the Trash is there, the file cannot leave.
    std::filesystem::create_directories(d / "data/Trash");
    std::filesystem::create_directory(d / "ro");
    d.Write("ro/a.mp3");
    ::chmod((d / "ro").c_str(), 0555);
    if (::geteuid() == 0) { // the check runs as nobody, who needs a Trash of its own
        for (const char* p : {"data", "data/Trash"})
            ASSERT_EQ(::chown((d / p).c_str(), 65534, 65534), 0);
    }
    EXPECT_TRUE(RunUnprivileged(d.Path(), [&] {
        return Failure(d / "ro/a.mp3") == "Permission denied" &&
               !std::filesystem::exists(d / "data/Trash/info/a.mp3.trashinfo");
    }));
    EXPECT_TRUE(d.Exists("ro/a.mp3"));

    // No Trash can be made on the file's volume: only now is deleting for good an option.
    d.Write("blocker");
    d.Write("b.mp3");
    ScopedEnv blocked("XDG_DATA_HOME", d / "blocker/data");
    EXPECT_EQ(Failure(d / "b.mp3"),
              "no trash: \"" + d / "blocker/data/Trash" + "\": Not a directory");
    EXPECT_TRUE(d.Exists("b.mp3"));
    // ... unless deleting it would fail the same way.
    EXPECT_TRUE(
        RunUnprivileged(d.Path(), [&] { return Failure(d / "ro/a.mp3") == "Permission denied"; }));
    ::chmod((d / "ro").c_str(), 0755);
}

namespace {

// Runs checks in a child with a private mount namespace. Its report: "" when all held,
// "skip: ..." when the machine does not let it mount, else what failed.
std::string InMountNamespace(const TempDir& d, const std::function<std::string()>& checks) {
    const std::string report = d / "report";
    RunInChild([&] {
        std::string text;
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            text = "skip: no right to mount here";
        else
            text = checks();
        FILE* f = std::fopen(report.c_str(), "w");
        std::fputs(text.c_str(), f);
        std::fclose(f);
        return true;
    });
    return d.Read("report");
}

} // namespace

TEST(Trash, AVolumesOwnTrashKeepsThePathBelowItsTopFolder) {
    TempDir d;
    ScopedEnv data("XDG_DATA_HOME", d / "data");
    for (const char* v : {"vol", "full", "ro"})
        std::filesystem::create_directory(d / v);
    const std::string uid = std::to_string(::getuid());
    const std::string report = InMountNamespace(d, [&]() -> std::string {
        std::string failed;
        auto expect = [&](bool ok, const std::string& what) {
            if (!ok) failed += what + "\n";
        };
        for (const char* v : {"vol", "full", "ro"})
            if (::mount("tmpfs", (d / v).c_str(), "tmpfs", 0, "size=1m,mode=0777") != 0)
                return "skip: tmpfs cannot be mounted here";
        const std::string vol = d / "vol";
        std::filesystem::create_directory(vol + "/Music");
        for (const std::string& n : {kLatin1, kLookAlike})
            d.Write("vol/Music/" + n, n);

        // No shared Trash: ".Trash-UID", made private, the path relative to the top.
        const std::string own = vol + "/.Trash-" + uid;
        expect(Trash::MoveToTrash(vol + "/Music/" + kLatin1) == own + "/files/" + kLatin1,
               "moved into .Trash-UID");
        expect(d.Read("vol/Music/" + kLookAlike) == kLookAlike, "look-alike left alone");
        const std::string info = d.Read("vol/.Trash-" + uid + "/info/" + kLatin1 + ".trashinfo");
        expect(info.find("\nPath=Music/caf%E9.mp3\n") != std::string::npos, "relative: " + info);
        struct stat st {};
        expect(::lstat(own.c_str(), &st) == 0 && (st.st_mode & 07777) == 0700, ".Trash-UID 0700");

        // A shared ".Trash" with the sticky bit holds the user's own folder.
        std::filesystem::create_directory(vol + "/.Trash");
        ::chmod((vol + "/.Trash").c_str(), 01777);
        d.Write("vol/b.mp3");
        expect(Trash::MoveToTrash(vol + "/b.mp3") == vol + "/.Trash/" + uid + "/files/b.mp3",
               "moved into .Trash/UID");
        expect(d.Read("vol/.Trash/" + uid + "/info/b.mp3.trashinfo").find("\nPath=b.mp3\n") !=
                   std::string::npos,
               "relative path in .Trash/UID");
        // Without the sticky bit, or as a link, it is not used.
        ::chmod((vol + "/.Trash").c_str(), 0777);
        d.Write("vol/c.mp3");
        expect(Trash::MoveToTrash(vol + "/c.mp3") == own + "/files/c.mp3", "not sticky");
        std::filesystem::rename(vol + "/.Trash", vol + "/shared");
        ::chmod((vol + "/shared").c_str(), 01777);
        std::filesystem::create_directory_symlink("shared", vol + "/.Trash");
        d.Write("vol/e.mp3");
        expect(Trash::MoveToTrash(vol + "/e.mp3") == own + "/files/e.mp3", "a link to .Trash");

        // A volume whose Trash cannot be made: deleting for good is the offer.
        d.Write("full/.Trash-" + uid, "in the way");
        d.Write("full/f.mp3");
        const std::string none = Failure(d / "full/f.mp3");
        expect(none.rfind("no trash: \"" + d / "full/.Trash-" + uid + "\"", 0) == 0, none);
        // A read-only volume: its real reason, since deleting would fail too.
        d.Write("ro/g.mp3");
        ::mount(nullptr, (d / "ro").c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr);
        const std::string ro = Failure(d / "ro/g.mp3");
        expect(ro == "Read-only file system", ro);
        return failed;
    });
    if (report.rfind("skip: ", 0) == 0) GTEST_SKIP() << report;
    EXPECT_EQ(report, "");
}

// On a case-insensitive FUSE volume a name in the Trash is taken in every spelling: files of
// one name in other letters each get a Trash name of their own, and none replaces another.
TEST(Trash, NamesInOtherLettersOnAFuseVolumeKeepTheirOwnPlaces) {
    TempDir home;
    ScopedEnv data("XDG_DATA_HOME", home / "data");
    velmora::test::OnEachFuseVolume([&](velmora::test::FuseVolume& v, const char* label) {
        SCOPED_TRACE(label);
        const std::string files = v / (".Trash-" + std::to_string(::getuid()) + "/files/");
        std::set<std::string> places;
        int n = 0;
        for (const char* name : {"song.mp3", "song.mp3", "SONG.mp3", "Song.MP3"}) {
            std::ofstream(v / name) << n++;
            std::string where;
            try {
                where = Trash::MoveToTrash(v / name);
            } catch (const ETrashError& e) {
                ADD_FAILURE() << name << ": " << e.what();
                continue;
            }
            EXPECT_EQ(where.rfind(files, 0), 0u) << where;
            EXPECT_TRUE(places.insert(where).second) << where;
        }
        std::multiset<std::string> kept;
        for (const auto& e : std::filesystem::directory_iterator(files))
            kept.insert(std::string(
                std::istreambuf_iterator<char>(std::ifstream(e.path(), std::ios::binary).rdbuf()),
                {}));
        EXPECT_EQ(kept, (std::multiset<std::string>{"0", "1", "2", "3"}));
    });
}

// Start-up argument forms.
#include "core/workspace/CommandLine.h"

#include "core/fs/DirectoryListing.h"
#include "core/fs/PathUtils.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

using velmora::workspace::CommandLine;

namespace {
CommandLine Parse(const std::vector<std::string>& args, const std::string& cwd = "/nowhere") {
    return CommandLine::Parse(args, cwd, &velmora::fs::DirectoryExists,
                              &velmora::fs::IsSymbolicLink);
}
} // namespace

TEST(CommandLine, PathPatternAndSwitchForms) {
    velmora::test::TempDir d;
    CommandLine a = Parse({d.Path() + "/*.mp3", "/X"});
    EXPECT_EQ(a.directory, d.Slash());
    EXPECT_EQ(a.pattern, "*.mp3");
    EXPECT_TRUE(a.excludeExt);

    // A folder given alone (the folder verb) lists all its files.
    CommandLine b = Parse({d.Path(), "-x"});
    EXPECT_EQ(b.directory, d.Slash());
    EXPECT_EQ(b.pattern, "*.*");
    EXPECT_TRUE(b.excludeExt);

    // A file lists just that file, extensions shown.
    CommandLine c = Parse({d.Path() + "/song.mp3"});
    EXPECT_EQ(c.pattern, "song.mp3");
    EXPECT_FALSE(c.excludeExt);

    // The switch alone is still taken as the path, in both spellings, with no directory part.
    for (const char* sw : {"/x", "-X"}) {
        CommandLine e = Parse({sw, "ignored"});
        EXPECT_TRUE(e.present);
        EXPECT_EQ(e.directory, "");
        EXPECT_EQ(e.pattern, sw);
        EXPECT_TRUE(e.excludeExt);
    }
    EXPECT_FALSE(Parse({}).present);
    EXPECT_FALSE(Parse({"song", "-xx", "x", "/y"}).excludeExt);
}

TEST(CommandLine, RelativePathsBecomeAbsoluteWithoutResolvingLinks) {
    velmora::test::TempDir d;
    std::filesystem::create_directory(d / "album");
    std::filesystem::create_directory_symlink(d / "album", d / "link");
    const std::string album = d / "album";
    struct Case {
        std::string arg, cwd, directory, pattern;
    };
    const Case cases[] = {
        {".", d.Path(), d.Slash(), "*.*"},
        {"album/*.mp3", d.Path(), d / "album/", "*.mp3"},
        {"./album//../album/./x.mp3", d.Path(), d / "album/", "x.mp3"},
        {"..", album, d.Slash(), "*.*"},
        {"../", album, d.Slash(), "*.*"},
        {"song.mp3", album, d / "album/", "song.mp3"},
        // A link the user named stays, and ".." after it is left to the file system.
        {"link", d.Path(), d / "link/", "*.*"},
        {"link/../x.mp3", d.Path(), d / "link/../", "x.mp3"},
        {"missing/.", d.Path(), d / "missing/", ""},
        {"missing/", d.Path(), d / "missing/", ""},
        {"../../../../../../../../../../../../../..", "/a", "/", "*.*"},
        {d / "album/*.mp3", "/elsewhere", d / "album/", "*.mp3"},
        // An unknown working directory leaves a relative path as it is.
        {"album/*.mp3", "", "album/", "*.mp3"},
    };
    for (const Case& c : cases) {
        CommandLine cl = Parse({c.arg, "-x"}, c.cwd);
        EXPECT_EQ(cl.directory, c.directory) << c.arg;
        EXPECT_EQ(cl.pattern, c.pattern) << c.arg;
        EXPECT_TRUE(cl.excludeExt);
    }
}

TEST(CommandLine, WorkingDirectoryKeepsTheLinkTheUserCameThrough) {
    velmora::test::TempDir d;
    std::filesystem::create_directory(d / "album");
    std::filesystem::create_directory_symlink(d / "album", d / "link");
    const std::string before = std::filesystem::current_path();
    const char* pwd = std::getenv("PWD");
    const std::string oldPwd = pwd ? pwd : "";
    std::filesystem::current_path(d / "link");
    ::setenv("PWD", (d / "link").c_str(), 1);
    EXPECT_EQ(velmora::fs::CurrentDirectory(), d / "link");
    // A stale or dotted $PWD does not name where we are: the physical path stands.
    for (const std::string& stale : {d.Path(), d / "link/../link"}) {
        ::setenv("PWD", stale.c_str(), 1);
        EXPECT_EQ(velmora::fs::CurrentDirectory(),
                  std::filesystem::canonical(d / "album").string());
    }
    std::filesystem::current_path(before);
    ::setenv("PWD", oldPwd.c_str(), 1);
}

TEST(CommandLine, OptionsDecideInOrderAndDoubleDashEndsThem) {
    using Action = CommandLine::Action;
    struct Case {
        std::vector<std::string> args;
        Action action;
        std::string unknown;
    };
    const Case cases[] = {
        {{"--help"}, Action::Help, ""},
        {{"/music", "-x", "-h"}, Action::Help, ""},
        {{"--version", "--help"}, Action::Version, ""},
        {{"--bogus", "--help"}, Action::UnknownOption, "--bogus"},
        {{"/music", "-xy"}, Action::UnknownOption, "-xy"},
        {{"-H"}, Action::UnknownOption, "-H"},
        {{"-style=fusion", "--platform", "offscreen", "-reverse", "/music"}, Action::Open, ""},
        {{"-style"}, Action::Open, ""}, // a valued option at the end takes nothing
        {{"-reverse=1"}, Action::UnknownOption, "-reverse=1"},
        {{"--", "--help", "-x", "--bogus"}, Action::Open, ""},
        {{"-", "/x"}, Action::Open, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front());
        const CommandLine cl = Parse(c.args);
        EXPECT_EQ(cl.action, c.action);
        EXPECT_EQ(cl.unknownOption, c.unknown);
    }

    // After "--" every argument is a name: the first is the path, no switch counts.
    velmora::test::TempDir d;
    CommandLine named = Parse({"--", d / "-x.mp3", "-x"});
    EXPECT_EQ(named.directory, d.Slash());
    EXPECT_EQ(named.pattern, "-x.mp3");
    EXPECT_FALSE(named.excludeExt);
    CommandLine help = Parse({"--", "--help"}, d.Path());
    EXPECT_EQ(help.action, Action::Open);
    EXPECT_EQ(help.directory, d.Slash());
    EXPECT_EQ(help.pattern, "--help");

    // Toolkit options and their values are not the path; the switch still is when it is first.
    CommandLine styled = Parse({"-style", "fusion", d.Path(), "-X"});
    EXPECT_EQ(styled.directory, d.Slash());
    EXPECT_EQ(styled.pattern, "*.*");
    EXPECT_TRUE(styled.excludeExt);
    CommandLine first = Parse({"-x", d.Path()});
    EXPECT_EQ(first.pattern, "-x");
    EXPECT_EQ(first.directory, "");
    EXPECT_FALSE(Parse({"--"}).present);
    EXPECT_FALSE(Parse({"-platform", "xcb"}).present);
}

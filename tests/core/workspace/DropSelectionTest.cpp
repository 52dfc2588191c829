// The drop rules over real folders and files.
#include "core/workspace/DropSelection.h"

#include "core/fs/DirectoryListing.h"
#include "core/platform/Error.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

using velmora::test::TempDir;
using velmora::workspace::DropSelection;

TEST(DropSelection, DirectoryAndPattern) {
    TempDir d;
    for (const char* folder : {"Music", "My.Music", "Other"})
        std::filesystem::create_directories(d / folder);
    const std::string longName = std::string(140, 'n') + ".flac";
    for (const char* file : {"a.mp3", "b.mp3", "c.MP3", "d.wma", "README", "Music/x.mp3"})
        d.Write(file);
    d.Write(longName);
    const std::string D = d.Path();
    const struct {
        std::vector<std::string> paths;
        std::string dir, pattern;
    } cases[] = {
        {{D + "/a.mp3", D + "/b.mp3"}, D, "*.mp3"},
        {{D + "/a.mp3", D + "/b.mp3", D + "/c.MP3"}, D, "*.*"}, // extensions compare exactly
        {{D + "/a.mp3", D + "/d.wma", D + "/b.mp3"}, D, "*.*"},
        {{D + "/README"}, D, "*.*"}, // a file without a dot is a file
        {{D + "/Music"}, D + "/Music", "*.*"},
        {{D + "/My.Music/"}, D + "/My.Music", "*.*"}, // a folder with a dot is still the folder
        {{D + "/" + longName}, D, "*.flac"},
        {{D + "/Music/x.mp3"}, D + "/Music", "*.mp3"},
        {{}, "", "*.*"},
        {{"/"}, "/", "*.*"},
    };
    for (const auto& c : cases) {
        DropSelection s = DropSelection::FromPaths(c.paths, &velmora::fs::DirectoryExists);
        EXPECT_EQ(s.directory, c.dir) << c.paths.size();
        EXPECT_EQ(s.pattern, c.pattern) << c.dir;
    }
}

TEST(DropSelection, OnlyOneDirectory) {
    TempDir d;
    std::filesystem::create_directories(d / "Music");
    std::filesystem::create_directories(d / "Other");
    d.Write("Music/x.mp3");
    d.Write("a.mp3");
    const std::vector<std::vector<std::string>> refused = {
        {d / "Music", d / "Other"},       // two folders
        {d / "Music", d / "Music/x.mp3"}, // a folder and a file inside it
        {d / "a.mp3", d / "Music/x.mp3"},
    };
    for (const auto& paths : refused) {
        try {
            DropSelection::FromPaths(paths, &velmora::fs::DirectoryExists);
            ADD_FAILURE() << paths[1];
        } catch (const velmora::platform::Exception& e) {
            EXPECT_EQ(e.Message(), "You can only drop files from one directory.");
        }
    }
}

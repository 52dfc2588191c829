// Reading tags from real files by assigning FileName.
#include "Id3v2TagBuilder.h"
#include "core/platform/Error.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace velmora::tags;
using namespace velmora::tags::test;
using namespace velmora::test;
using namespace std::string_literals;

namespace {
class Id3v2File : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const Bytes& bytes) {
        dir_.Write(name, bytes);
        return dir_ / name;
    }
    velmora::test::TempDir dir_;
};
} // namespace

TEST_F(Id3v2File, AssigningFileNameReadsTheTagAndAudioAfterItIsIgnored) {
    // The tag is read in large pieces; a cover bigger than one of them spans several.
    Bytes cover(200000, '\xAB');
    Bytes frames = Text3("TIT2", "Title") + Frame3("APIC", "\0image/none\0\x03\0"s + cover) +
                   Text3("TALB", "Album");
    std::string f =
        Write("song.mp3", Tag(3, frames, 0, 100) + "\xFF\xFB\x90\x00TIT2"s + Bytes(5000, '\x55'));
    Id3v2 tag;
    tag.SetFileName(f);
    EXPECT_EQ(tag.FileName(), f);
    EXPECT_TRUE(tag.TagPresent());
    EXPECT_EQ(tag.Texts().ContentDescription, "Title");
    EXPECT_EQ(tag.Texts().Album, "Album");
    EXPECT_EQ(tag.Frames()[1].DataLen, cover.size());
    EXPECT_EQ(tag.Frames().size(), 3u);
}

TEST_F(Id3v2File, UnsynchronisedTagFromAFileMatchesTheSameTagFromMemory) {
    Bytes text(3000, 'q');
    std::uint32_t pairs = 0;
    for (std::size_t i = 40; i + 1 < text.size(); i += 97, ++pairs) {
        text[i] = '\xFF';
        text[i + 1] = '\0';
    }
    Bytes data = Latin1Text(text);
    Bytes bytes = Tag(3, "TIT2" + BigEndian32(data.size() - pairs) + Flags(0) + data, 0x80);
    Id3v2 fromFile, fromMemory;
    fromFile.SetFileName(Write("u.mp3", bytes));
    Read(fromMemory, bytes);
    EXPECT_EQ(fromFile.Texts().ContentDescription, fromMemory.Texts().ContentDescription);
    // Each FF 00 pair became one "\xC3\xBF": as many bytes as the text had.
    EXPECT_EQ(fromFile.Texts().ContentDescription.size(), text.size());
}

TEST_F(Id3v2File, MissingFilesDirectoriesAndUnreadableFilesClearEverything) {
    Id3v2 tag;
    for (const std::string& name : {dir_ / "missing.mp3", dir_.Path(), Write("empty.mp3", "")}) {
        tag.SetFileName(Write("a.mp3", Tag(3, Text3("TIT2", "Title"))));
        ASSERT_TRUE(tag.TagPresent());
        tag.SetFileName(name);
        EXPECT_FALSE(tag.TagPresent()) << name;
        EXPECT_EQ(tag.Texts().ContentDescription, "");
        EXPECT_EQ(tag.TagSize(), 0);
    }
    // A file that cannot be opened raises the open error.
    std::string f = Write("locked.mp3", Tag(3, Text3("TIT2", "Title")));
    ASSERT_EQ(::chmod(f.c_str(), 0), 0);
    EXPECT_TRUE(RunUnprivileged(dir_.Path(), [&] {
        Id3v2 tag;
        Read(tag, Tag(3, Text3("TALB", "old")));
        try {
            tag.SetFileName(f);
            return false;
        } catch (const velmora::platform::EFOpenError&) {
        }
        return tag.Texts().Album.empty() && !tag.TagPresent();
    }));
}

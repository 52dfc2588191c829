// Reading tags from real files by assigning FileName.
#include "Id3v2TagBuilder.h"
#include "core/platform/Error.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace velmora::tags;
using namespace velmora::tags::test;
namespace fs = std::filesystem;

namespace {
class Id3v2File : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("velmora-id3v2-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir_ / "locked.mp3", fs::perms::owner_all, ec);
        fs::remove_all(dir_, ec);
    }
    std::string Write(const std::string& name, const Bytes& bytes) {
        fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary) << bytes;
        return p.string();
    }
    fs::path dir_;
};
} // namespace

TEST_F(Id3v2File, AssigningFileNameReadsTheTagAndAudioAfterItIsIgnored) {
    // The tag is read in large pieces; a cover bigger than one of them spans several.
    Bytes cover(200000, '\xAB');
    std::string f =
        Write("song.mp3", Tag(3,
                              Frame3("TIT2", Latin1Text("Title")) +
                                  Frame3("APIC", Bytes("\0image/none\0\x03\0", 14) + cover) +
                                  Frame3("TALB", Latin1Text("Album")),
                              0, 100) +
                              Bytes("\xFF\xFB\x90\x00TIT2", 8) + Bytes(5000, '\x55'));
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
    for (std::size_t i = 40; i + 1 < text.size(); i += 97) {
        text[i] = '\xFF';
        text[i + 1] = '\0';
    }
    Bytes data = Latin1Text(text);
    std::size_t pairs = 0;
    for (std::size_t i = 40; i + 1 < text.size(); i += 97)
        ++pairs;
    Bytes body =
        "TIT2" + BigEndian32(static_cast<std::uint32_t>(data.size() - pairs)) + Flags(0) + data;
    Bytes bytes = Tag(3, body, 0x80);
    Id3v2 fromFile, fromMemory;
    fromFile.SetFileName(Write("u.mp3", bytes));
    Read(fromMemory, bytes);
    EXPECT_EQ(fromFile.Texts().ContentDescription, fromMemory.Texts().ContentDescription);
    // Each FF 00 pair became one "\xC3\xBF": as many bytes as the text had.
    EXPECT_EQ(fromFile.Texts().ContentDescription.size(), text.size());
}

TEST_F(Id3v2File, MissingFilesAndDirectoriesClearEverything) {
    Id3v2 tag;
    tag.SetFileName(Write("a.mp3", Tag(3, Frame3("TIT2", Latin1Text("Title")))));
    ASSERT_TRUE(tag.TagPresent());
    tag.SetFileName((dir_ / "missing.mp3").string());
    EXPECT_FALSE(tag.TagPresent());
    EXPECT_EQ(tag.Texts().ContentDescription, "");
    EXPECT_EQ(tag.TagSize(), 0);
    tag.SetFileName(dir_.string());
    EXPECT_FALSE(tag.TagPresent());
    tag.SetFileName(Write("empty.mp3", ""));
    EXPECT_FALSE(tag.TagPresent());
}

TEST_F(Id3v2File, AFileThatCannotBeOpenedRaisesTheOpenError) {
    if (::geteuid() == 0) GTEST_SKIP() << "root can open any file";
    std::string f = Write("locked.mp3", Tag(3, Frame3("TIT2", Latin1Text("Title"))));
    ASSERT_EQ(::chmod(f.c_str(), 0), 0);
    Id3v2 tag;
    Read(tag, Tag(3, Frame3("TALB", Latin1Text("old"))));
    EXPECT_THROW(tag.SetFileName(f), velmora::platform::EFOpenError);
    EXPECT_EQ(tag.Texts().Album, "");
    EXPECT_FALSE(tag.TagPresent());
}

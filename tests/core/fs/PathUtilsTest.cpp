// Wildcard matching and path helpers.
#include "core/fs/PathUtils.h"

#include <gtest/gtest.h>

using namespace velmora::fs;

TEST(MatchesMask, ClassicWildcardRules) {
    EXPECT_TRUE(MatchesMask("README", "*.*"));
    EXPECT_TRUE(MatchesMask("a.b.c", "*.*"));
    EXPECT_TRUE(MatchesMask("Song.MP3", "*.mp3"));
    EXPECT_TRUE(MatchesMask("song.mp3", "*.MP3"));
    EXPECT_FALSE(MatchesMask("song.mp3.bak", "*.mp3"));
    EXPECT_TRUE(MatchesMask("a1.mp3", "a?.mp3"));
    EXPECT_FALSE(MatchesMask("a.mp3", "a?.mp3"));
    EXPECT_TRUE(MatchesMask("track", "tr*.*"));
    EXPECT_TRUE(MatchesMask("\xc3\x84rger.mp3", "\xc3\xa4*")); // case folding beyond ASCII
    EXPECT_TRUE(MatchesMask("x[1].mp3", "x[1].mp3"));          // no bracket expressions
    EXPECT_FALSE(MatchesMask("x1.mp3", "x[1].mp3"));
    EXPECT_TRUE(MatchesMask("bad\xff.mp3", "bad?.mp3")); // an invalid byte is one character
    EXPECT_FALSE(MatchesMask("song.mp3", ""));
    EXPECT_TRUE(MatchesMask(std::string(200, 'a') + "b", "*a*a*a*a*a*a*a*a*b")); // no blow-up
}

TEST(PathUtils, ExtensionsAndParents) {
    EXPECT_EQ(ExtractFileExt("song.live.mp3"), ".mp3");
    EXPECT_EQ(ExtractFileExt("README"), "");
    EXPECT_EQ(ExtractFileExt("dir.d/name"), "");
    EXPECT_EQ(ChangeFileExtEmpty("song.live.mp3"), "song.live");
    EXPECT_EQ(ChangeFileExtEmpty("README"), "README");
    EXPECT_EQ(ParentPath("/a/b"), "/a");
    EXPECT_EQ(ParentPath("/a/b/"), "/a");
    EXPECT_EQ(ParentPath("/a"), "/");
    EXPECT_EQ(ParentPath("/"), "/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/a"), "/a/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/"), "/");
}

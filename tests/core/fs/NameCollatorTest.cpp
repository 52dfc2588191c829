// Names in the order of a language: accents and case below the letters, digits by value, bytes
// as the last word; the same order for the file list and the folder tree.
#include "core/fs/NameCollator.h"

#include "core/dirtree/FolderScan.h"
#include "core/fs/DirectoryListing.h"
#include "core/fs/NaturalOrder.h"
#include "support/TempDir.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>

using velmora::fs::NameCollator;
using velmora::fs::NaturalOrder;
using Names = std::vector<std::string>;

namespace {

// The listing uses the collator of the user's locale, made on first use: these tests expect the
// root collation's order, whatever locale they are started in.
const bool kRootLocale = [] {
    ::setenv("LC_ALL", "C.UTF-8", 1);
    return true;
}();

Names Sorted(Names names, const NameCollator& collator) {
    std::mt19937 rng(3);
    std::shuffle(names.begin(), names.end(), rng);
    NaturalOrder::Sort(names, collator);
    return names;
}

// Names in the root collation's order, and the same names shuffled.
const Names kSingers = {"Abba", "Åse", "Björk", "Édith Piaf", "Elvis",
                        "Zaz",  "Ежи", "Ёлка",  "Кино"};
const Names kShuffled = {"Zaz",  "Кино", "Åse",   "Abba", "Édith Piaf",
                         "Ёлка", "Ежи",  "Elvis", "Björk"};

} // namespace

TEST(NameCollator, AccentedLettersSortBesideTheirBaseLetters) {
    const NameCollator root("C");
    EXPECT_EQ(root.Language(), "root");
    EXPECT_EQ(Sorted(kShuffled, root), kSingers);
    // The user's language decides: in Swedish Å, Ä and Ö are letters of their own after Z.
    const NameCollator swedish("sv_SE.UTF-8");
    EXPECT_EQ(swedish.Language(), "sv");
    EXPECT_EQ(Sorted(kShuffled, swedish),
              (Names{"Abba", "Björk", "Édith Piaf", "Elvis", "Zaz", "Åse", "Ежи", "Ёлка", "Кино"}));
}

TEST(NameCollator, AccentsThenCaseThenDigitsByValueThenBytes) {
    const NameCollator root("POSIX");
    // The letters first, then the accents (fewer first), then case (small first).
    EXPECT_EQ(Sorted({"Été", "ete", "Ete", "été", "etf", "étE"}, root),
              (Names{"ete", "Ete", "étE", "été", "Été", "etf"}));
    EXPECT_EQ(Sorted({"track 10.mp3", "Track 9.mp3", "track 9.mp3", "track 100.mp3", "track.mp3",
                      "track 009.mp3", "1 b", "a", "_x"},
                     root),
              (Names{"_x", "1 b", "a", "track 009.mp3", "track 9.mp3", "Track 9.mp3",
                     "track 10.mp3", "track 100.mp3", "track.mp3"}));
    // Equal to the collation ("009" is 9): the raw bytes decide, so the order is total.
    EXPECT_TRUE(NaturalOrder::Less("x007", "x7", root));
    EXPECT_FALSE(NaturalOrder::Less("x7", "x007", root));
    EXPECT_TRUE(NaturalOrder::Less("99999999999999999999999", "100000000000000000000000", root));
}

TEST(NameCollator, BytesThatAreNotUtf8SortAfterTheLettersAndStayApart) {
    const NameCollator root("");
    // A Latin-1 "é" and the replacement character in its place collate alike; bytes part them.
    const std::string latin1 = "caf\xE9.mp3", lookAlike = "caf\xEF\xBF\xBD.mp3";
    EXPECT_EQ(Sorted({lookAlike, "cag.mp3", latin1, "cafz.mp3", "café.mp3", "caf\xFF.mp3"}, root),
              (Names{"café.mp3", "cafz.mp3", latin1, lookAlike, "caf\xFF.mp3", "cag.mp3"}));
    std::string key;
    root.AppendKey(key, "\xFF\xFE\x80");
    EXPECT_FALSE(key.empty());
    EXPECT_EQ(key.find('\0'), std::string::npos);
}

TEST(NameCollator, LocaleComesFromLcAllThenLcCollateThenLang) {
    EXPECT_EQ(NameCollator::LocaleOf(nullptr, nullptr, nullptr), "root");
    EXPECT_EQ(NameCollator::LocaleOf("", "", ""), "root");
    EXPECT_EQ(NameCollator::LocaleOf(nullptr, nullptr, "C.UTF-8"), "root");
    EXPECT_EQ(NameCollator::LocaleOf("POSIX", "sv_SE.UTF-8", nullptr), "root");
    EXPECT_EQ(NameCollator::LocaleOf(nullptr, "sv_SE.UTF-8", "en_US.UTF-8"), "sv_SE");
    EXPECT_EQ(NameCollator::LocaleOf("", nullptr, "de_DE.UTF-8@euro"), "de_DE");
    EXPECT_EQ(NameCollator::LocaleOf("ru_RU.UTF-8", "C", "C"), "ru_RU");
    // A language without a collation of its own gets the root collation, not byte order.
    const NameCollator unknown("xx_YY.UTF-8");
    EXPECT_EQ(unknown.Language(), "root");
    EXPECT_EQ(Sorted({"b", "ä", "a", "B"}, unknown), (Names{"a", "ä", "b", "B"}));
}

TEST(NameCollator, FileListAndFolderTreeShareTheOrder) {
    velmora::test::TempDir dir;
    ASSERT_EQ(NameCollator::User().Language(), "root");
    std::filesystem::create_directories(dir / "files");
    for (const std::string& n : kShuffled) {
        dir.Write("files/" + n + ".mp3");
        std::filesystem::create_directories(dir / ("folders/" + n));
    }
    Names listed;
    ASSERT_TRUE(velmora::fs::ListMatchingFiles(dir / "files", "*.mp3",
                                               [&](const std::string& n) { listed.push_back(n); }));
    Names files;
    for (const std::string& n : kSingers)
        files.push_back(n + ".mp3");
    EXPECT_EQ(listed, files);
    Names folders;
    for (const auto& e : velmora::dirtree::ScanFolder(dir / "folders").entries)
        folders.push_back(e.name);
    EXPECT_EQ(folders, kSingers);
}

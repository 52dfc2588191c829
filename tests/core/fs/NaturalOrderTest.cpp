// Name order: digit runs by value, then case and accents, raw bytes as the last word.
#include "core/fs/NaturalOrder.h"

#include "core/fs/DirectoryListing.h"
#include "core/fs/NameCollator.h"
#include "support/TempDir.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

using velmora::fs::NameCollator;
using velmora::fs::NaturalOrder;

namespace {
const NameCollator& Root() {
    static const NameCollator root("C");
    return root;
}
} // namespace

TEST(NaturalOrder, OrdersPairs) {
    const std::pair<const char*, const char*> pairs[] = {
        {"track 9.mp3", "track 10.mp3"},   // digit runs by value
        {"track 2.mp3", "Track 3.mp3"},    // letters before case
        {"a.mp3", "B.mp3"},                //
        {"_x", "A"},                       // punctuation before letters
        {"x7", "x007b"},                   // leading zeros carry no value
        {"x7", "x08"},                     //
        {"x007", "x7"},                    // equal value and key: raw bytes decide
        {"a.mp3", "A.mp3"},                // small letters first
        {"disc1 track2", "disc1 track10"}, // every run on its own
        {"v2.9", "v2.10"},                 //
        {"99999999999999999999999", "100000000000000000000000"}, // longer than any integer
        {"song", "song 1"},                                      // a prefix first
        {"1 b", "a"},                                // digits are characters before letters
        {"\xc3\xa9t\xc3\xa9", "\xc3\x89T\xc3\x89Z"}, // accents below the letters ("été" "ÉTÉZ")
        {"\xc3\xa9t\xc3\xa9", "\xc3\x89T\xc3\x89"},  // and case below the accents
        {"\xc3\xa4", "Zeta"},                        // "ä" beside "a"
        {"cafz", "caf\xe9.mp3"},                     // a byte that is not UTF-8 sorts after letters
    };
    for (auto [before, after] : pairs) {
        EXPECT_TRUE(NaturalOrder::Less(before, after, Root())) << before << " < " << after;
        EXPECT_FALSE(NaturalOrder::Less(after, before, Root())) << after << " > " << before;
    }
    EXPECT_FALSE(NaturalOrder::Less("same", "same", Root()));
}

TEST(NaturalOrder, SortIsATotalOrderOnShuffledNames) {
    std::vector<std::string> sorted = {"01 intro", "1 intro", "2 song",           "2 Song",
                                       "10 song",  "Album",   "album 2",          "album 10",
                                       "caf\xe9",  "caf\xff", "\xc3\xa9t\xc3\xa9"};
    std::vector<std::string> names = sorted;
    std::mt19937 rng(7);
    for (int round = 0; round < 20; ++round) {
        std::shuffle(names.begin(), names.end(), rng);
        NaturalOrder::Sort(names, Root());
        ASSERT_EQ(names, sorted);
    }
}

TEST(NaturalOrder, FoldersListInNameOrderWhateverReaddirReturns) {
    velmora::test::TempDir dir;
    // Enough names that a hashed directory returns them out of order.
    std::vector<std::string> expected(120);
    for (int i = 120; i >= 1; --i)
        dir.Write(expected[i - 1] = "Track " + std::to_string(i) + ".mp3");
    dir.Write("cover.jpg");
    std::vector<std::string> listed;
    ASSERT_TRUE(velmora::fs::ListMatchingFiles(dir.Path(), "*.MP3",
                                               [&](const std::string& n) { listed.push_back(n); }));
    EXPECT_EQ(listed, expected);
}

TEST(NaturalOrder, SortAgreesWithThePairwiseOrderOnRandomNames) {
    // Shared beginnings longer than eight key bytes, long digit runs (whose length bytes include
    // zeros), letter case and bytes that are not UTF-8.
    const std::vector<std::string> parts = {"track ",       "Track ",     "TRACK 0", "a",    "A",
                                            "\xc3\xa9",     "\xe9",       "0",       "7",    "12",
                                            "000000000123", "9999999999", "-",       ".mp3", " "};
    std::mt19937 rng(11);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::string> names;
        for (int i = 0; i < 40; ++i) {
            std::string n;
            for (int k = 1 + static_cast<int>(rng() % 5); k > 0; --k)
                n += parts[rng() % parts.size()];
            names.push_back(n);
        }
        std::vector<std::string> expected = names;
        std::sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
            return NaturalOrder::Less(a, b);
        });
        NaturalOrder::Sort(names);
        ASSERT_EQ(names, expected) << round;
    }
}

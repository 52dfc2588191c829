// The search routines: windows in both directions, verdicts, and the fast search against the
// plain one.
#include "core/workspace/SearchStrings.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

using namespace velmora::workspace;

namespace {

struct Case {
    const char32_t* text;
    const char32_t* find;
    int start;
    int window;
    int pos; // -1: not found
    bool wholeWord;
    bool matchCase;
};

// Runs every case with the plain and with the fast search.
template <std::size_t N> void Check(const Case (&cases)[N], bool forward) {
    for (std::size_t i = 0; i < N; ++i) {
        const Case& c = cases[i];
        for (bool fast : {false, true}) {
            SCOPED_TRACE(testing::Message() << "case " << i << (fast ? " fast" : " plain"));
            SearchResult r;
            (forward ? SearchForward : SearchBackward)(c.text, c.find, c.start, r, fast, c.window);
            EXPECT_EQ(r.Pos, c.pos);
            EXPECT_EQ(r.Len, static_cast<int>(std::u32string(c.find).size()));
            if (c.pos < 0) continue;
            EXPECT_EQ(r.WholeWord, c.wholeWord);
            EXPECT_EQ(r.MatchCase, c.matchCase);
        }
    }
}

} // namespace

TEST(SearchStrings, ForwardFindsTheLeftmostOccurrenceInsideTheWindow) {
    const Case cases[] = {
        {U"cat dog cat", U"cat", 0, 11, 0, true, true},
        {U"cat dog cat", U"cat", 1, 10, 8, true, true},
        {U"cat dog cat", U"CAT", 0, 11, 0, true, false},  // case never stops the search
        {U"cat dog cat", U"cat", 1, 9, -1, false, false}, // the occurrence sticks out
        {U"cat dog cat", U"cat", 11, 5, -1, false, false},
        {U"xcat cat", U"cat", 0, 8, 1, false, true}, // word character before
        {U"a cat.", U"cat", 0, 6, 2, true, true},    // "." is no word character
        {U"cat_1", U"cat", 0, 5, 0, false, true},    // "_" is one
        {U"0cat", U"cat", 0, 4, 1, false, true},     // so are "0" and "9"
        {U"cat9", U"cat", 0, 4, 0, false, true},
        {U"\u00e9t\u00e9cat", U"cat", 0, 6, 3, true, true},         // accented letters are not
        {U"\u00c9T\u00c9", U"\u00e9t\u00e9", 0, 3, 0, true, false}, // folded beyond ASCII
        {U"a\r\nb", U"a\r\nb", 0, 4, 0, true, true},                // breaks are characters
        {U"abc", U"", 0, 3, -1, false, false},                      // an empty text is never found
        {U"ab", U"abc", 0, 2, -1, false, false},
        {U"aaa", U"a", -5, 99, 0, false, true}, // start and window clamped
    };
    Check(cases, true);
}

TEST(SearchStrings, BackwardFindsTheRightmostOccurrenceBeforeTheStart) {
    // start counts from the end: the occurrence lies within the first length - start characters.
    const Case cases[] = {
        {U"cat dog cat", U"cat", 0, 11, 8, true, true},
        {U"cat dog cat", U"cat", 1, 11, 0, true, true}, // "ca" is left of the end: too short
        {U"cat dog cat", U"cat", 8, 11, 0, true, true},
        {U"cat dog cat", U"cat", 9, 11, -1, false, false},
        {U"cat dog cat", U"cat", 0, 2, -1, false, false}, // window of the last two characters
        {U"cat dog cat", U"Cat", 0, 3, 8, true, false},
        {U"ab cat x", U"cat", 2, 8, 3, true, true}, // caret two after "cat"
        {U"aaaa", U"aa", 0, 4, 2, false, true},
        {U"abc", U"", 0, 3, -1, false, false},
    };
    Check(cases, false);
}

TEST(SearchStrings, FastSearchAgreesWithPlainSearchOnRandomTexts) {
    std::mt19937 rng(2024);
    // Few letters make many near misses; the wide characters share low bytes with "a" and "b".
    const std::u32string alphabet = U"abAB \u0161\u0160\u0161\u0261\u0162";
    auto pick = [&](int n) {
        std::u32string s;
        for (int i = 0; i < n; ++i)
            s += alphabet[rng() % alphabet.size()];
        return s;
    };
    for (int round = 0; round < 3000; ++round) {
        const std::u32string text = pick(static_cast<int>(rng() % 40));
        const std::u32string find = pick(1 + static_cast<int>(rng() % 4));
        const int start = static_cast<int>(rng() % 45) - 2;
        const int window = static_cast<int>(rng() % 45);
        SearchResult plain, fast;
        SearchForward(text, find, start, plain, false, window);
        SearchForward(text, find, start, fast, true, window);
        ASSERT_EQ(fast.Pos, plain.Pos) << round;
        SearchBackward(text, find, start, plain, false, window);
        SearchBackward(text, find, start, fast, true, window);
        ASSERT_EQ(fast.Pos, plain.Pos) << round;
    }
    // The shift of the mismatching character would skip this one.
    SearchResult r;
    SearchForward(U"BAA", U"AA", 0, r, true, 3);
    EXPECT_EQ(r.Pos, 1);
}

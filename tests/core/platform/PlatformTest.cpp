// String list, formatter, UTF-8 round trips and case mapping.
#include "core/platform/CaseMap.h"
#include "core/platform/Error.h"
#include "core/platform/StringList.h"
#include "core/platform/Utf8.h"

#include <gtest/gtest.h>

using namespace velmora::platform;

TEST(Format, FillsPlaceholdersInOrderAndKeepsExtras) {
    EXPECT_EQ(Format("Maximum of %d items allowed", {std::int64_t{64}}),
              "Maximum of 64 items allowed");
    EXPECT_EQ(Format("%s [%s]", {std::string("No space"), std::string("/x")}), "No space [/x]");
    EXPECT_EQ(Format("100%% %s %d", {std::string("a")}), "100% a %d");
}

TEST(StringList, TextSplitsAtEveryLineBreakKindAndKeepsEmptyLines) {
    StringList l;
    l.SetTextStr("a\r\nb\rc\n\nd");
    ASSERT_EQ(l.Count(), 5);
    EXPECT_EQ(l[3], "");
    EXPECT_EQ(l.GetTextStr(), "a\r\nb\r\nc\r\n\r\nd\r\n");
    l.SetTextStr("x\r\n");
    EXPECT_EQ(l.Count(), 1);
    EXPECT_THROW(l.Get(1), EStringListError);
    EXPECT_THROW(l.Insert(3, "y"), EStringListError);
}

TEST(StringList, UpdateStateOnlyOnOutermostTransitions) {
    struct Probe : StringList {
        int calls = 0;
        void SetUpdateState(bool) override { ++calls; }
    } p;
    p.BeginUpdate();
    p.BeginUpdate();
    p.EndUpdate();
    EXPECT_EQ(p.calls, 1);
    p.EndUpdate();
    EXPECT_EQ(p.calls, 2);
    p.EndUpdate(); // unbalanced end is ignored
    EXPECT_EQ(p.calls, 2);
}

TEST(Utf8, InvalidBytesRoundTripExactly) {
    const std::string names[] = {
        "plain.mp3",     "caf\xc3\xa9.mp3",  "latin1-\xe9t\xe9.mp3",  "\xff\xfe",
        "trunc\xe2\x82", "overlong\xc0\xaf", "surrogate\xed\xa0\x80", "\xf0\x9f\x8e\xb5.flac"};
    for (const auto& n : names)
        EXPECT_EQ(EncodeUtf8(DecodeUtf8(n)), n) << n;
    EXPECT_EQ(DecodeUtf8("caf\xc3\xa9"), U"caf\u00e9");
    EXPECT_EQ(DecodeUtf8("\xe9"), std::u32string(1, 0xDCE9));
    EXPECT_FALSE(IsValidUtf8("\xe9"));
    // The ASCII run first, then the rest: an unpaired surrogate after it still becomes U+FFFD.
    EXPECT_EQ(EncodeUtf8(U""), "");
    EXPECT_EQ(EncodeUtf8(std::u32string{U'a', char32_t{0xD800}, U'b'}), "a\xef\xbf\xbd"
                                                                        "b");
    EXPECT_EQ(EncodeUtf8(std::u32string{U'x', char32_t{0xDCE9}}), "x\xe9");
}

TEST(CaseMap, UnicodeSimpleMappingAndAsciiOnlyComparison) {
    EXPECT_EQ(ToUpper(U"stra\u00dfe \u00e4\u0101"), U"STRA\u00dfE \u00c4\u0100");
    EXPECT_EQ(ToLower(U"\u00c4Z\u0100"), U"\u00e4z\u0101");
    EXPECT_EQ(ToLower(char32_t{0xDCE9}), char32_t{0xDCE9});
    EXPECT_TRUE(SameTextAscii("Song.MP3", "song.mp3"));
    EXPECT_FALSE(SameTextAscii("\xc3\xa4.mp3", "\xc3\x84.mp3"));
}

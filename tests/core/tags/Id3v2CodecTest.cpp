// Text decoding by encoding byte, unsynchronisation and capped inflation.
#include "Id3v2TagBuilder.h"
#include "core/tags/id3v2/Id3Inflate.h"
#include "core/tags/id3v2/Id3TextCodec.h"
#include "core/tags/id3v2/Id3Unsync.h"

#include <gtest/gtest.h>

using namespace velmora::tags;
using namespace velmora::tags::test;

namespace {
using Strings = std::vector<std::string>;
const Bytes kReplacement = "\xEF\xBF\xBD";
} // namespace

TEST(Id3TextCodec, EachEncodingDecodesToUtf8) {
    const struct {
        int enc;
        Bytes in, out;
    } cases[] = {
        {0, "Caf\xE9", "Caf\xC3\xA9"},
        {1, kBomLe + Le(u"Caf\u00E9 \u65E5"), "Caf\xC3\xA9 \xE6\x97\xA5"},
        {1, kBomBe + Be(u"\u65E5x"), "\xE6\x97\xA5x"},
        {2, Be(u"\u0141\u00F3d\u017A"), "\xC5\x81\xC3\xB3\x64\xC5\xBA"},
        {3, "\xC5\x81\xC3\xB3\x64z", "\xC5\x81\xC3\xB3\x64z"},
        {7, "A\xFF", "A\xC3\xBF"}, // unknown encoding bytes read as single bytes
        // UTF-16 without a mark is little-endian; a mark wins over encoding 2's default order.
        {1, Le(u"ab"), "ab"},
        {2, kBomLe + Le(u"ab"), "ab"},
        {1, kBomLe + Le(u"\U0001F3B5"), "\xF0\x9F\x8E\xB5"}, // a surrogate pair
        // Unpaired surrogates and a half unit never produce invalid UTF-8.
        {1, kBomLe + Le(u"\xD800\x61"), kReplacement + "a"},
        {1, kBomLe + Le(u"\xDC00"), kReplacement},
        {1, kBomLe + Le(u"a") + "b", "a"},
        {3, "a\xFF\x62\xC3", "a" + kReplacement + "b" + kReplacement},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Id3TextCodec(c.enc).Decode(U(c.in), c.in.size()), c.out) << c.enc << c.out;
}

TEST(Id3TextCodec, ListsSplitAtAlignedTerminatorsAndDropTheTrailingOnes) {
    const struct {
        int enc;
        Bytes in;
        Strings out;
    } cases[] = {
        {0, Bytes("a\0b\0", 4), {"a", "b"}},
        {0, Bytes("a\0\0b", 4), {"a", "", "b"}},
        {0, Bytes("a\0\0\0", 4), {"a"}},
        {0, Bytes("\0\0", 2), {""}},
        {0, "", {""}},
        {1, kBomLe + Le(u"a") + kZero16 + kZero16 + Bytes(1, '\0'), {"a"}},
        {3, Bytes("x\0", 2), {"x"}},
        // U+0100 U+0001 is 00 01 01 00 in little-endian: the zero bytes straddle units and are
        // no terminator.
        {1,
         kBomLe + Le(u"\u0100\u0001") + kZero16 + kBomBe + Be(u"z") + kZero16,
         {"\xC4\x80\x01", "z"}},
        // A string without its own mark keeps the order of the one before.
        {1, kBomBe + Be(u"a") + kZero16 + Be(u"b"), {"a", "b"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Id3TextCodec(c.enc).DecodeList(U(c.in), c.in.size()), c.out) << c.enc;
}

TEST(Id3TextCodec, ReadTerminatedMovesPastTheTerminator) {
    Bytes b = Bytes("\x01", 1) + kBomLe + Le(u"d") + kZero16 + "rest";
    std::size_t pos = 1;
    EXPECT_EQ(Id3TextCodec(1).ReadTerminated(U(b), b.size(), pos), "d");
    EXPECT_EQ(b.substr(pos), "rest");
    Bytes open = "abc";
    pos = 0;
    EXPECT_EQ(Id3TextCodec(0).ReadTerminated(U(open), open.size(), pos), "abc");
    EXPECT_EQ(pos, 3u);
    EXPECT_EQ(Id3TextCodec(0).ReadTerminated(U(open), open.size(), pos), "");
}

TEST(Id3Unsync, ResultDoesNotDependOnBlockBoundaries) {
    Bytes in("\xFF\x00\x00\xFF\xFF\x00\xE0\xFF\x00\xFF", 10);
    std::vector<std::uint8_t> whole = Id3Unsync::Undo(U(in), in.size());
    EXPECT_EQ(Bytes(whole.begin(), whole.end()), Bytes("\xFF\x00\xFF\xFF\xE0\xFF\xFF", 7));
    for (std::size_t cut = 0; cut <= in.size(); ++cut) {
        for (std::size_t cut2 = cut; cut2 <= in.size(); ++cut2) {
            std::vector<std::uint8_t> out;
            Id3Unsync u;
            u.Feed(U(in), cut, out);
            u.Feed(U(in) + cut, cut2 - cut, out);
            u.Feed(U(in) + cut2, in.size() - cut2, out);
            u.Finish(out);
            EXPECT_EQ(out, whole) << cut << "," << cut2;
        }
    }
}

TEST(Id3Inflate, InflatesAtMostTheAskedBytesAndRefusesBrokenStreams) {
    Bytes text(5000, 'x');
    for (std::size_t i = 0; i < text.size(); i += 7)
        text[i] = static_cast<char>('a' + i % 26);
    Bytes z = Compress(text);
    std::vector<std::uint8_t> out;
    ASSERT_TRUE(Id3Inflate::Run(U(z), z.size(), out, 5000));
    EXPECT_EQ(Bytes(out.begin(), out.end()), text);
    // Only the first bytes of a stream are produced when no more are wanted.
    ASSERT_TRUE(Id3Inflate::Run(U(z), z.size(), out, 100));
    EXPECT_EQ(Bytes(out.begin(), out.end()), text.substr(0, 100));
    // A bomb: 16 MiB of zeros from some 16 KiB, of which a reader wants 64000 bytes.
    Bytes bomb = Compress(Bytes(16 << 20, '\0'));
    ASSERT_TRUE(Id3Inflate::Run(U(bomb), bomb.size(), out, 64000));
    EXPECT_EQ(out.size(), 64000u);
    EXPECT_LE(out.capacity(), std::size_t{128} << 10);

    EXPECT_FALSE(Id3Inflate::Run(U(z), z.size() / 2, out, 5000));
    Bytes junk = "not zlib at all";
    EXPECT_FALSE(Id3Inflate::Run(U(junk), junk.size(), out, 5000));
    EXPECT_FALSE(Id3Inflate::Run(U(z), z.size(), out, 0));
}

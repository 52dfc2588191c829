// Text decoding by encoding byte, unsynchronisation and capped inflation.
#include "Id3v2TagBuilder.h"
#include "core/tags/Id3Inflate.h"
#include "core/tags/Id3TextCodec.h"
#include "core/tags/Id3Unsync.h"

#include <gtest/gtest.h>
#include <zlib.h>

using namespace velmora::tags;
using namespace velmora::tags::test;

namespace {
const std::uint8_t* U(const Bytes& b) {
    return reinterpret_cast<const std::uint8_t*>(b.data());
}
std::string Decode(int enc, const Bytes& b) {
    return Id3TextCodec(enc).Decode(U(b), b.size());
}
std::vector<std::string> List(int enc, const Bytes& b) {
    return Id3TextCodec(enc).DecodeList(U(b), b.size());
}
} // namespace

TEST(Id3TextCodec, EachEncodingDecodesToUtf8) {
    EXPECT_EQ(Decode(0, "Caf\xE9"), "Caf\xC3\xA9");
    EXPECT_EQ(Decode(1, kBomLe + Le(u"Caf\u00E9 \u65E5")), "Caf\xC3\xA9 \xE6\x97\xA5");
    EXPECT_EQ(Decode(1, kBomBe + Be(u"\u65E5x")), "\xE6\x97\xA5x");
    EXPECT_EQ(Decode(2, Be(u"\u0141\u00F3d\u017A")), "\xC5\x81\xC3\xB3"
                                                     "d\xC5\xBA");
    EXPECT_EQ(Decode(3, "\xC5\x81\xC3\xB3"
                        "dz"),
              "\xC5\x81\xC3\xB3"
              "dz");
    // Unknown encoding bytes read as single bytes.
    EXPECT_EQ(Decode(7, "A\xFF"), "A\xC3\xBF");
}

TEST(Id3TextCodec, Utf16WithoutMarkIsLittleEndianAndPairsCombine) {
    EXPECT_EQ(Decode(1, Le(u"ab")), "ab");
    // A mark wins over encoding 2's default order.
    EXPECT_EQ(Decode(2, kBomLe + Le(u"ab")), "ab");
    // U+1F3B5 as a surrogate pair.
    EXPECT_EQ(Decode(1, kBomLe + Le(u"\U0001F3B5")), "\xF0\x9F\x8E\xB5");
    // Unpaired surrogates and a half unit never produce invalid UTF-8.
    EXPECT_EQ(Decode(1, kBomLe + Le(u"\xD800"
                                    u"a")),
              "\xEF\xBF\xBD"
              "a");
    EXPECT_EQ(Decode(1, kBomLe + Le(u"\xDC00")), "\xEF\xBF\xBD");
    EXPECT_EQ(Decode(1, kBomLe + Le(u"a") + "b"), "a");
    EXPECT_EQ(Decode(3, "a\xFF"
                        "b\xC3"),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD");
}

TEST(Id3TextCodec, ListsSplitAtAlignedTerminatorsAndDropTheTrailingOnes) {
    EXPECT_EQ(List(0, Bytes("a\0b\0", 4)), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(List(0, Bytes("a\0\0b", 4)), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(List(0, Bytes("a\0\0\0", 4)), (std::vector<std::string>{"a"}));
    EXPECT_EQ(List(0, Bytes("\0\0", 2)), (std::vector<std::string>{""}));
    EXPECT_EQ(List(0, ""), (std::vector<std::string>{""}));
    EXPECT_EQ(List(1, kBomLe + Le(u"a") + kZero16 + kZero16 + "\0"),
              (std::vector<std::string>{"a"}));
    EXPECT_EQ(List(3, Bytes("x\0", 2)), (std::vector<std::string>{"x"}));
    // U+0100 U+0001 is 00 01 01 00 in little-endian: the zero bytes straddle units and are no
    // terminator.
    EXPECT_EQ(List(1, kBomLe + Le(u"\u0100\u0001") + kZero16 + kBomBe + Be(u"z") + kZero16),
              (std::vector<std::string>{"\xC4\x80\x01", "z"}));
    // A string without its own mark keeps the order of the one before.
    EXPECT_EQ(List(1, kBomBe + Be(u"a") + kZero16 + Be(u"b")),
              (std::vector<std::string>{"a", "b"}));
}

TEST(Id3TextCodec, ReadTerminatedMovesPastTheTerminator) {
    Bytes b = Bytes("\x01", 1) + kBomLe + Le(u"d") + kZero16 + "rest";
    Id3TextCodec c(1);
    std::size_t pos = 1;
    EXPECT_EQ(c.ReadTerminated(U(b), b.size(), pos), "d");
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

namespace {
Bytes Compress(const Bytes& in) {
    uLongf n = compressBound(in.size());
    Bytes out(n, '\0');
    EXPECT_EQ(compress(reinterpret_cast<Bytef*>(out.data()), &n, U(in), in.size()), Z_OK);
    out.resize(n);
    return out;
}
} // namespace

TEST(Id3Inflate, InflatesWithinTheCapAndRefusesBombsAndBrokenStreams) {
    Bytes text(5000, 'x');
    for (std::size_t i = 0; i < text.size(); i += 7)
        text[i] = static_cast<char>('a' + i % 26);
    Bytes z = Compress(text);
    std::vector<std::uint8_t> out;
    ASSERT_TRUE(Id3Inflate::Run(U(z), z.size(), out));
    EXPECT_EQ(Bytes(out.begin(), out.end()), text);
    // A megabyte of zeros compresses about a thousand times: beyond 64 times its size.
    Bytes bomb = Compress(Bytes(1 << 20, '\0'));
    EXPECT_FALSE(Id3Inflate::Run(U(bomb), bomb.size(), out));
    EXPECT_LE(out.size(), Id3Inflate::Limit(bomb.size()));
    EXPECT_FALSE(Id3Inflate::Run(U(z), z.size() / 2, out));
    Bytes junk = "not zlib at all";
    EXPECT_FALSE(Id3Inflate::Run(U(junk), junk.size(), out));
    EXPECT_EQ(Id3Inflate::Limit(10), 640u);
    EXPECT_EQ(Id3Inflate::Limit(std::size_t{1} << 30), Id3Inflate::kMaxBytes);
}

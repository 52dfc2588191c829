// The ID3v2 reader's tag structure: header, versions, unsynchronisation, extended headers,
// frame flags, padding and hostile sizes.
#include "Id3v2TagBuilder.h"

#include <gtest/gtest.h>

using namespace velmora::tags;
using namespace velmora::tags::test;
using namespace std::string_literals;

TEST(Id3v2Header, NoTagLeavesEverythingEmpty) {
    for (const Bytes& bytes : {"ID4\x03" + Bytes(20, '\0'), Bytes("ID3\x03"), Bytes()}) {
        Id3v2 tag;
        Read(tag, Tag(3, Text3("TIT2", "Song")));
        ASSERT_TRUE(tag.TagPresent());
        Read(tag, bytes);
        EXPECT_FALSE(tag.TagPresent()) << bytes;
        EXPECT_EQ(tag.Texts().ContentDescription, "");
        EXPECT_EQ(tag.TagSize(), 0);
        EXPECT_EQ(tag.Version(), 0.0);
        EXPECT_TRUE(tag.Frames().empty());
    }
}

TEST(Id3v2Header, VersionFlagsAndSevenBitsPerSizeByte) {
    Id3v2 tag;
    // Size zero: version and flags but no frames, even with frames after the header.
    Read(tag, "ID3\x03\x01\xE0\0\0\0\0"s + Text3("TIT2", "after"));
    EXPECT_TRUE(tag.TagPresent());
    EXPECT_DOUBLE_EQ(tag.Version(), 3.01);
    EXPECT_EQ(tag.MajorVersion(), 3);
    EXPECT_EQ(tag.Revision(), 1);
    EXPECT_TRUE(tag.Unsynchronisation());
    EXPECT_TRUE(tag.ExtendedHeader());
    EXPECT_TRUE(tag.Experimental());
    EXPECT_FALSE(tag.Footer());
    EXPECT_EQ(tag.TagSize(), 0);
    EXPECT_TRUE(tag.Frames().empty());
    EXPECT_EQ(tag.Texts().ContentDescription, "");
    // The footer is a version 2.4 flag.
    Read(tag, "ID3\x04\x00\x10\x01\x02\x03\x04"s);
    EXPECT_EQ(tag.TagSize(), (1 << 21) | (2 << 14) | (3 << 7) | 4);
    EXPECT_TRUE(tag.Footer());
    EXPECT_DOUBLE_EQ(tag.Version(), 4.0);
    EXPECT_FALSE(tag.Unsynchronisation() || tag.ExtendedHeader() || tag.Experimental());
    Read(tag, "ID3\x03\x00\x10\x00\x00\x00\x00"s);
    EXPECT_FALSE(tag.Footer());
}

TEST(Id3v2Frames, PaddingAndTheLastTenBytesOfATagAreNeverAFrame) {
    Id3v2 tag;
    Read(tag, Tag(3, Text3("TIT2", "Title") + Text3("TALB", "Album"), 0, 300));
    EXPECT_EQ(tag.Texts().ContentDescription + tag.Texts().Album, "TitleAlbum");
    ASSERT_EQ(tag.Frames().size(), 2u);
    EXPECT_EQ(tag.Frames()[1].Id, "TALB");
    // A zero-size frame header fills the last 10 bytes exactly: the loop stops before it.
    Read(tag, Tag(3, Text3("TIT2", "T") + Frame3("TALB", "")));
    EXPECT_EQ(tag.Frames().size(), 1u);
    // With one more byte it is a frame (without even an encoding byte: nothing is stored).
    Read(tag, Tag(3, Text3("TIT2", "T") + Frame3("TALB", "") + Bytes(1, '\0')));
    ASSERT_EQ(tag.Frames().size(), 2u);
    EXPECT_EQ(tag.Frames()[1].Kind, Id3FrameKind::Unknown);
    EXPECT_EQ(tag.Texts().Album, "");
}

TEST(Id3v2Unsync, PairsAreUndoneAcrossBlockBoundariesOnlyWhenFlagged) {
    // The frame data starts at tag offset 10; FF 00 pairs straddle the tag offsets 499/500 and
    // 999/1000 where the 500-byte blocks meet.
    Bytes text(1200, 'a');
    auto put = [&](std::size_t tagOffset) {
        std::size_t i = tagOffset - 10 - 1; // data offset minus the encoding byte
        text[i] = '\xFF';
        text[i + 1] = '\0';
    };
    put(499);
    put(999);
    Bytes frameData = Latin1Text(text);
    // The frame size counts the bytes after the scheme is undone.
    Bytes body = "TIT2" + BigEndian32(static_cast<std::uint32_t>(frameData.size() - 2)) + Flags(0) +
                 frameData;
    Id3v2 tag;
    Read(tag, Tag(3, body, 0x80));
    const std::string& title = tag.Texts().ContentDescription;
    EXPECT_EQ(title.size(), 1198u + 2u); // two 'ÿ' of two UTF-8 bytes each
    EXPECT_EQ(title.find('\0'), std::string::npos);
    EXPECT_EQ(title.substr(487, 3), "a\xC3\xBF");
    // Without the flag the zero bytes stay: the text ends at the first one.
    Read(tag, Tag(3, Frame3("TIT2", frameData)));
    EXPECT_EQ(tag.Texts().ContentDescription.size(), 488u + 2u);
}

TEST(Id3v2Unsync, Version4UndoesItPerFrameNotOverHeaders) {
    Bytes raw = Latin1Text("x\xFF\x00y"s);
    Id3v2 tag;
    // Frame flag 0x0002; the size counts the stored (unsynchronised) bytes.
    Read(tag, Tag(4, Frame4("TIT2", raw, 0x0002) + Text4("TALB", "A\xFF")));
    EXPECT_EQ(tag.Frames()[0].Text, (std::vector<std::string>{"x\xC3\xBFy"}));
    EXPECT_EQ(tag.Texts().Album, "A\xC3\xBF");
    // Without the flag the zero byte is a separator of version 2.4 values.
    Read(tag, Tag(4, Frame4("TIT2", raw)));
    EXPECT_EQ(tag.Frames()[0].Text, (std::vector<std::string>{"x\xC3\xBF", "y"}));
    // The tag flag applies to the data of every frame, never to frame headers.
    Bytes big(0x7F * 2 + 0x7F + 1, 'b');
    Read(tag, Tag(4, Frame4("TIT2", raw) + Text4("TALB", big), 0x80));
    EXPECT_EQ(tag.Frames()[0].Text, (std::vector<std::string>{"x\xC3\xBFy"}));
    EXPECT_EQ(tag.Texts().Album, big);
}

TEST(Id3v2Versions, Version22UsesShortHeadersAndMapsIds) {
    Bytes body = Frame2("TT2", Latin1Text("Title")) + Frame2("TP1", Latin1Text("A/B")) +
                 Frame2("TAL", Latin1Text("Album")) + Frame2("TYE", Latin1Text("1999")) +
                 Frame2("TCO", Latin1Text("(17)")) + Frame2("TXX", Latin1Text("k\0v"s)) +
                 Frame2("WAR", "http://x") + Frame2("CNT", BigEndian32(7)) +
                 Frame2("POP", "m\0\x80"s) + Frame2("COM", "ignored");
    Id3v2 tag;
    Read(tag, Tag(2, body, 0, 20));
    EXPECT_DOUBLE_EQ(tag.Version(), 2.0);
    const Id3Text& x = tag.Texts();
    ASSERT_EQ(x.Performers.Count(), 2);
    EXPECT_EQ((std::vector<std::string>{x.ContentDescription, x.Performers[1], x.Album, x.Year,
                                        x.ContentGroup, tag.UserDefinedText().Value(),
                                        tag.Web().OfficialArtist}),
              (std::vector<std::string>{"Title", "B", "Album", "1999", "(17)", "v", "http://x"}));
    EXPECT_EQ(tag.PlayCounter(), 7u);
    EXPECT_EQ(tag.Popularimeter().Rating, 0x80);
    ASSERT_EQ(tag.Frames().size(), 10u);
    EXPECT_EQ(tag.Frames()[0].Id, "TT2");
    EXPECT_EQ(tag.Frames()[9].Kind, Id3FrameKind::Unknown);
    EXPECT_EQ(tag.Frames()[9].DataLen, 7u);
}

TEST(Id3v2Versions, Version22CompressionAndUnknownMajorVersionsReportTheHeaderOnly) {
    for (const Bytes& bytes :
         {Tag(2, Frame2("TT2", Latin1Text("Title")), 0x40), Tag(5, Text3("TIT2", "Title"))}) {
        Id3v2 tag;
        Read(tag, bytes);
        EXPECT_TRUE(tag.TagPresent());
        EXPECT_DOUBLE_EQ(tag.Version(), bytes[3]);
        EXPECT_TRUE(tag.Frames().empty());
        EXPECT_EQ(tag.Texts().ContentDescription, "");
    }
}

TEST(Id3v2Versions, Version4SizesAreSyncsafeAndVersion3SizesPlain) {
    Bytes title = Latin1Text(Bytes(200, 't'));
    for (const Bytes& bytes : {Tag(4, Frame4("TIT2", title) + Text4("TALB", "A"), 0, 50),
                               Tag(3, Frame3("TIT2", title) + Text3("TALB", "A"))}) {
        Id3v2 tag;
        Read(tag, bytes);
        EXPECT_EQ(tag.Texts().ContentDescription, Bytes(200, 't'));
        EXPECT_EQ(tag.Texts().Album, "A");
    }
}

TEST(Id3v2Versions, Version4PlainSizesAreRecognisedForTheWholeTag) {
    // 200 bytes of private data with a frame-like "TALB" where the syncsafe reading of the size
    // (0xC8 read as 0x48 = 72) would put the next frame: that reading finds a frame there too,
    // but then loses its way, while the plain reading ends cleanly on the padding.
    Bytes data(200, 'd');
    data.replace(72, 8, "TALB\0\0\0\x05"s);
    Bytes body =
        Frame4("PRIV", data, 0, true) + Frame4("TPE1", Latin1Text(Bytes(130, 'p')), 0, true);
    Id3v2 tag;
    Read(tag, Tag(4, body, 0, 40));
    EXPECT_EQ(tag.Texts().Album, "");
    ASSERT_EQ(tag.Texts().Performers.Count(), 1);
    EXPECT_EQ(tag.Texts().Performers[0], Bytes(130, 'p'));
    ASSERT_EQ(tag.Frames().size(), 2u);
    EXPECT_EQ(tag.Frames()[0].DataLen, 200u);
    // Small frames read the same either way; syncsafe is kept.
    Read(tag, Tag(4, Text4("TIT2", "x") + Text4("TALB", "y")));
    EXPECT_EQ(tag.Texts().Album, "y");
}

TEST(Id3v2ExtendedHeader, SkippedBySizeInEachVersionAndToleratedWhenMissing) {
    const Bytes frames = Text3("TIT2", "Title");
    const Bytes frames4 = Text4("TIT2", "Title");
    const Bytes tags[] = {
        // Version 2.3: size 6 not counting itself, then flags and padding size; 10 with CRC.
        Tag(3, BigEndian32(6) + Bytes(6, '\0') + frames, 0x40),
        Tag(3, BigEndian32(10) + "\x80\0\0\0\0\0\xAB\xCD\xEF\x01"s + frames, 0x40),
        // Version 2.4: syncsafe size counting itself.
        Tag(4, Syncsafe32(6) + "\x01\0"s + frames4, 0x40),
        Tag(4, Syncsafe32(12) + "\x01\x20\x05\x01\x02\x03\x04\x05"s + frames4, 0x40),
        // The flag without the header: frames start right after the tag header.
        Tag(3, frames, 0x40), Tag(4, frames4, 0x40)};
    for (const Bytes& bytes : tags) {
        Id3v2 tag;
        Read(tag, bytes);
        EXPECT_TRUE(tag.ExtendedHeader());
        EXPECT_EQ(tag.Texts().ContentDescription, "Title") << bytes.substr(10, 14);
    }
    // An impossible size is no extended header either.
    Id3v2 tag;
    Read(tag, Tag(3, BigEndian32(0x7FFFFFFF) + frames, 0x40));
    EXPECT_EQ(tag.Frames().size(), 1u);
}

TEST(Id3v2FrameFlags, Version3CompressedGroupedAndEncryptedFrames) {
    Bytes text = Latin1Text(Bytes(300, 'c'));
    Bytes z = Compress(text);
    Id3v2 tag;
    // Compression: decompressed size, then (with grouping) the group id, then the zlib data.
    Read(tag,
         Tag(3, Frame3("TIT2", BigEndian32(static_cast<std::uint32_t>(text.size())) + z, 0x0080) +
                    Frame3("TALB", BigEndian32(5) + "\x07"s + Compress(Latin1Text("Al")), 0x00A0) +
                    Frame3("TPE1", "\x01"s + Latin1Text("group"), 0x0020) +
                    Frame3("TCOM", "\x02"s + Latin1Text("secret"), 0x0040) +
                    Text3("TYER", "2001")));
    const Id3Text& x = tag.Texts();
    ASSERT_EQ(x.Performers.Count(), 1);
    EXPECT_EQ((std::vector<std::string>{x.ContentDescription, x.Album, x.Performers[0], x.Year}),
              (std::vector<std::string>{Bytes(300, 'c'), "Al", "group", "2001"}));
    EXPECT_EQ(x.Composer.Count(), 0);
    EXPECT_EQ(tag.Frames()[3].Kind, Id3FrameKind::Unknown);
}

TEST(Id3v2FrameFlags, Version4ExtraBytesInTheirOrderAndFrameUnsync) {
    Bytes text = Latin1Text("Compressed title");
    Bytes z = Compress(text);
    Bytes dli = Syncsafe32(static_cast<std::uint32_t>(text.size()));
    Id3v2 tag;
    Read(tag,
         Tag(4, Frame4("TIT2", dli + z, 0x0009) +
                    // group id, then data-length indicator
                    Frame4("TALB", "\x05"s + Syncsafe32(3) + Latin1Text("Al"), 0x0041) +
                    // group id, encryption method: skipped
                    Frame4("TPE1", "\x05\x01"s + Latin1Text("x"), 0x0044) + Text4("TYER", "2002")));
    const Id3Text& x = tag.Texts();
    EXPECT_EQ((std::vector<std::string>{x.ContentDescription, x.Album, x.Year}),
              (std::vector<std::string>{"Compressed title", "Al", "2002"}));
    EXPECT_EQ(x.Performers.Count(), 0);
}

TEST(Id3v2Hostile, BrokenCompressionIsSkippedAndBombsAreReadWithinTheCapacity) {
    // The first 'x' is the encoding byte (unknown: ISO 8859-1); 64000 bytes of text follow.
    Bytes bomb = Compress(Bytes(4 << 20, 'x'));
    Id3v2 tag;
    Read(tag, Tag(3, Frame3("TIT2", BigEndian32(4 << 20) + bomb, 0x0080) +
                         Frame3("TALB", BigEndian32(100) + "garbage", 0x0080) +
                         Frame3("TPE1", BigEndian32(1), 0x0080) +
                         Frame3("TPE2", Bytes(2, 'x'), 0x0080) + Text3("TYER", "2003")));
    const Id3Text& x = tag.Texts();
    EXPECT_EQ(x.ContentDescription, Bytes(Id3v2::kTextCapacity, 'x'));
    EXPECT_EQ(x.Album + x.Band, "");
    EXPECT_EQ(x.Year, "2003");
    EXPECT_EQ(tag.Frames().size(), 5u);
}

TEST(Id3v2Hostile, SizesBeyondTheDataReadWhatIsThere) {
    // A frame running past the tag is dropped; earlier values stay.
    Id3v2 tag;
    Read(tag, Tag(3, Text3("TIT2", "Title") + "TALB" + BigEndian32(0xFFFFFFF0) + Flags(0) +
                         Latin1Text("Album")));
    EXPECT_EQ(tag.Texts().ContentDescription, "Title");
    EXPECT_EQ(tag.Texts().Album, "");
    ASSERT_EQ(tag.Frames().size(), 2u);
    EXPECT_EQ(tag.Frames()[1].Kind, Id3FrameKind::Unknown);
    EXPECT_EQ(tag.Frames()[1].DataLen, 0xFFFFFFF0u);
    // A tag claiming 256 MiB.
    Bytes t = Tag(3, Text3("TIT2", "Title"));
    t[6] = t[7] = t[8] = t[9] = '\x7F';
    Read(tag, t);
    EXPECT_EQ(tag.TagSize(), 0x0FFFFFFF);
    EXPECT_EQ(tag.Texts().ContentDescription, "Title");
}

TEST(Id3v2Hostile, AtMost50000FramesPerTag) {
    Bytes one = Text3("TPE1", "p");
    Bytes body;
    body.reserve(one.size() * 50010);
    for (int i = 0; i < 50010; ++i)
        body += one;
    Id3v2 tag;
    Read(tag, Tag(3, body));
    EXPECT_EQ(tag.Frames().size(), 50000u);
    EXPECT_EQ(tag.Texts().Performers.Count(), 50000);
}

TEST(Id3v2Hostile, ZeroSizedAndTinyFramesStoreNothing) {
    Id3v2 tag;
    Read(tag, Tag(3, Frame3("TIT2", "") + Frame3("TXXX", "") + Frame3("WXXX", "") +
                         Frame3("IPLS", "") + Frame3("APIC", "") + Frame3("APIC", "\0image/png"s) +
                         Frame3("OWNE", "") + Frame3("ETCO", "") + Frame3("POPM", "") +
                         Frame3("PCNT", "\x01") + Frame3("MCDI", "") + Text3("TALB", "ok")));
    EXPECT_EQ(tag.Texts().Album, "ok");
    EXPECT_EQ(tag.UserDefinedText().ItemCount() + tag.UserDefinedWeb().ItemCount() +
                  tag.InvolvedPeople().ItemCount() + tag.PlayCounter(),
              0u);
    EXPECT_EQ(tag.Frames().size(), 12u);
}

// The ID3v2 frame decoders and what each stores in the tag's data objects.
#include "Id3v2TagBuilder.h"
#include "JpegEncode.h"
#include "core/platform/Error.h"
#include "core/platform/PictureRegistry.h"
#include "core/tags/picture/JpegImage.h"

#include <gtest/gtest.h>

using namespace velmora::tags;
using namespace velmora::tags::test;
using namespace std::string_literals;
using velmora::platform::Picture;
using velmora::platform::PictureLoader;
using velmora::platform::PictureRegistry;

namespace {

using Strings = std::vector<std::string>;

Strings Items(const velmora::platform::StringList& l) {
    Strings v;
    for (int i = 0; i < l.Count(); ++i)
        v.push_back(l[i]);
    return v;
}

// Test image kind: width = first byte, height = second byte.
struct SizeBytesLoader : PictureLoader {
    velmora::platform::PictureSize ReadSize(const std::uint8_t* data,
                                            std::size_t size) const override {
        if (size < 2) throw velmora::platform::Exception("short picture");
        return {data[0], data[1]};
    }
    Picture Load(const std::uint8_t* data, std::size_t size, std::int64_t) const override {
        auto [width, height] = ReadSize(data, size);
        Picture p;
        p.Width = width;
        p.Height = height;
        p.Pixels.assign(static_cast<std::size_t>(p.Width) * p.Height, 0xFF000000u);
        return p;
    }
};

// The registry is process-wide: test kinds get names no real loader uses.
class Id3v2Picture : public ::testing::Test {
protected:
    void SetUp() override {
        auto loader = std::make_shared<SizeBytesLoader>();
        PictureRegistry::Instance().Register("x-velmora-test", "Test image", loader);
        PictureRegistry::Instance().Register("xvt", "Test image", loader);
    }
};

// A grey JPEG of the given size.
Bytes MakeJpeg(int width, int height) {
    auto jpeg =
        EncodeJpeg(width, height, JCS_GRAYSCALE, 1,
                   std::vector<std::uint8_t>(static_cast<std::size_t>(width * height), 0x80));
    return Bytes(jpeg.begin(), jpeg.end());
}

// "type:WxH description;" for each picture type with a picture or a description; "-" for no
// picture.
std::string Shown(const IdImages& im) {
    std::string out;
    for (int type = 0; type < kPictureTypeCount; ++type) {
        const IdPicture& p = im.Pictures.Get(type);
        if (p.Empty() && im.Infos.Get(type).empty()) continue;
        out += std::to_string(type) + ":" +
               (p.Empty() ? "-" : std::to_string(p.Width()) + "x" + std::to_string(p.Height())) +
               " " + im.Infos.Get(type) + ";";
    }
    return out;
}

Bytes Apic(std::uint8_t type, const Bytes& desc, const Bytes& data,
           const Bytes& mime = "image/x-velmora-test", std::uint8_t enc = 0) {
    return Bytes(1, static_cast<char>(enc)) + mime + Bytes(1, '\0') +
           Bytes(1, static_cast<char>(type)) + desc + data;
}

} // namespace

TEST(Id3v2Text, EveryEncodingByteOfATextFrameAndTerminatorsEndTheValue) {
    Id3v2 t =
        Read3(Text3("TIT2", "Ol\xE9") + Frame3("TALB", "\x01" + kBomLe + Le(u"\u00C5lbum \u03A9")) +
              Frame3("TPE2", "\x01" + kBomBe + Be(u"Band \u65E5")) +
              Frame3("TPE3", "\x01" + Le(u"NoMark")) +
              Frame3("TPE4", "\x02" + Be(u"\u0141\u00F3d\u017A")) +
              Frame3("TPUB", "\x03Pub \xE2\x82\xAC"));
    const Id3Text& x = t.Texts();
    EXPECT_EQ(
        (Strings{x.ContentDescription, x.Album, x.Band, x.Conductor, x.ModifiedBy, x.Publisher}),
        (Strings{"Ol\u00E9", "\u00C5lbum \u03A9", "Band \u65E5", "NoMark", "\u0141\u00F3d\u017A",
                 "Pub \u20AC"}));

    // Two letters after a little-endian mark, then a terminating zero unit: the two letters.
    t = Read3(Frame3("TIT2", "\x01" + kBomLe + Le(u"ab") + kZero16) +
              Text3("TALB", "Album\0junk"s));
    EXPECT_EQ(t.Texts().ContentDescription, "ab");
    EXPECT_EQ(t.Texts().Album, "Album");
    EXPECT_EQ(t.Frames()[0].Text, Strings{"ab"});
    EXPECT_EQ(t.Frames()[1].Text, (Strings{"Album", "junk"}));
}

TEST(Id3v2Text, EveryFieldIsFilledByItsFrame) {
    // Each string field holds its frame's id as the value.
    using T = Id3Text;
    const std::pair<const char*, std::string T::*> strings[] = {
        {"TCOP", &T::Copyright},     {"TENC", &T::EncodedBy},     {"TDAT", &T::Date},
        {"TIME", &T::Time},          {"TKEY", &T::InitialKey},    {"TIT3", &T::SubTitle},
        {"TLEN", &T::Length},        {"TOAL", &T::OriginalTitle}, {"TOFN", &T::OriginalFileName},
        {"TOWN", &T::FileOwner},     {"TPOS", &T::PartOf},        {"TRCK", &T::TrackNumber},
        {"TRDA", &T::RecordingDate}, {"TSRC", &T::ISRC},          {"TSSE", &T::EncodingSoftware},
        {"TYER", &T::Year}};
    Bytes f;
    for (const char* id : {"TORY", "TRSN", "TRSO"})
        f += Text3(id, id);
    for (auto [id, field] : strings)
        f += Text3(id, id);
    const std::pair<const char*, const char*> others[] = {
        {"TBPM", "120"}, {"TDLY", "-15"},     {"TSIZ", "123456"}, {"TEXT", "l1/l2"},
        {"TOLY", "ol"},  {"TOPE", "oa1/oa2"}, {"TCOM", "c1"},     {"TZZZ", "dropped"}};
    for (auto [id, value] : others)
        f += Text3(id, value);
    Id3v2 t = Read3(f);
    const Id3Text& x = t.Texts();
    for (auto [id, field] : strings)
        EXPECT_EQ(x.*field, id);
    EXPECT_EQ((Strings{x.OriginalReleaseYear, x.InternetRadioName, x.InternetRadioOwner}),
              (Strings{"TORY", "TRSN", "TRSO"}));
    EXPECT_EQ(x.BPM, 120);
    EXPECT_EQ(x.PlaylistDelay, -15);
    EXPECT_EQ(x.Size, 123456);
    EXPECT_EQ(Items(x.Lyricists), (Strings{"l1", "l2"}));
    EXPECT_EQ(Items(x.OriginalLyricists), Strings{"ol"});
    EXPECT_EQ(Items(x.OriginalArtist), (Strings{"oa1", "oa2"}));
    EXPECT_EQ(Items(x.Composer), Strings{"c1"});
    EXPECT_EQ(t.Frames().back().Text, Strings{"dropped"});
}

TEST(Id3v2Text, ListsSplitAtSlashAndGrowWithRepeatedFrames) {
    Id3v2 t = Read3(Text3("TPE1", "A/B/C") + Text3("TCOM", "X/") + Text3("TEXT", "") +
                    Text3("TPE1", "D") + Text3("TALB", "first") + Text3("TALB", "second"));
    EXPECT_EQ(Items(t.Texts().Performers), (Strings{"A", "B", "C", "D"}));
    EXPECT_EQ(Items(t.Texts().Composer), (Strings{"X", ""}));
    EXPECT_EQ(Items(t.Texts().Lyricists), Strings{""});
    EXPECT_EQ(t.Texts().Album, "second");
    // Version 2.3 ignores what follows the terminator.
    t = Read3(Text3("TPE1", "A\0B"s));
    EXPECT_EQ(Items(t.Texts().Performers), Strings{"A"});
    // Version 2.4 splits at zeros as well as slashes.
    Read(t, Tag(4, Text4("TPE1", "A\0B/C\0"s) + Frame4("TCON", Utf8Text("Rock\0Pop"s)) +
                       Frame4("TCOM", "\x01" + kBomLe + Le(u"x") + kZero16 + kBomLe + Le(u"y"))));
    EXPECT_EQ(Items(t.Texts().Performers), (Strings{"A", "B", "C"}));
    EXPECT_EQ(t.Texts().ContentGroup, "Rock/Pop");
    EXPECT_EQ(Items(t.Texts().Composer), (Strings{"x", "y"}));
}

TEST(Id3v2Text, Version4RecordingTimeFillsYearDateAndTime) {
    Id3v2 t;
    Read(t, Tag(4, Frame4("TDRC", Utf8Text("2004-07-09T21:05:33")) +
                       Frame4("TDOR", Utf8Text("1971"))));
    EXPECT_EQ(t.Texts().Year + t.Texts().Date + t.Texts().Time, "200409072105");
    EXPECT_EQ(t.Texts().OriginalReleaseYear, "1971");
    Read(t, Tag(4, Frame4("TDRC", Utf8Text("circa 2004"))));
    EXPECT_EQ(t.Texts().Year, "");
}

TEST(Id3v2Text, TIT1AndTCONShareOneFieldTheLaterWins) {
    Id3v2 t = Read3(Text3("TIT1", "group") + Text3("TCON", "(17)"));
    EXPECT_EQ(t.Texts().ContentGroup, "(17)");
    EXPECT_EQ(t.Texts().Content(), "(17)");
    t = Read3(Text3("TCON", "(17)") + Text3("TIT1", "group"));
    EXPECT_EQ(t.Texts().Content(), "group");
}

TEST(Id3v2Text, BadIntegersKeepTheResetValueAndReadingGoesOn) {
    Id3v2 t = Read3(Text3("TBPM", "128"));
    EXPECT_EQ(t.Texts().BPM, 128);
    t = Read3(Text3("TBPM", "120 bpm") + Text3("TSIZ", "") + Text3("TDLY", "99999999999") +
              Text3("TALB", "A"));
    EXPECT_EQ(t.Texts().BPM, 0);
    EXPECT_EQ(t.Texts().Size, 0);
    EXPECT_EQ(t.Texts().PlaylistDelay, 0);
    EXPECT_EQ(t.Texts().Album, "A");
}

TEST(Id3v2Text, MediaFileTypeAndLanguageTables) {
    const struct {
        Bytes med, flt;
        int media;
        ID3FileType file;
    } cases[] = {{"CD/DD", "MPG/3", mtCD_DDD, ftMPG3},
                 {"cd", "MPG/3 ", mtUNKNOWN, ftUNKNOWN},
                 {"DAT/4", "MPG/3\0"s, 67, ftMPG3}};
    for (const auto& c : cases) {
        Id3v2 t = Read3(Text3("TMED", c.med) + Text3("TFLT", c.flt));
        EXPECT_EQ(static_cast<int>(t.Texts().MediaType), c.media) << c.med;
        EXPECT_EQ(t.Texts().FileType, c.file) << c.flt;
    }
    // Languages three letters at a time.
    Id3v2 t = Read3(Text3("TLAN", "engfre") + Text3("TLAN", "ENG") + Text3("TLAN", "xyz") +
                    Text3("TLAN", "") + Text3("TLAN", "gerde"));
    EXPECT_EQ(Items(t.Texts().Languages),
              (Strings{"English", "French", "English", "", "", "German", ""}));
}

TEST(Id3v2UserText, DescriptionAndValueInEachEncoding) {
    Id3v2 t = Read3(
        Text3("TXXX", "d\0"s + "7") +
        Frame3("TXXX", "\x01" + kBomLe + Le(u"D\u00E9") + kZero16 + kBomBe + Be(u"V") + kZero16));
    ID3UDText& u = t.UserDefinedText();
    ASSERT_EQ(u.ItemCount(), 2);
    EXPECT_EQ(u.ItemIndex(), 0);
    EXPECT_EQ(u.Description() + "|" + u.Value(), "d|7");
    u.SetItemIndex(1);
    EXPECT_EQ(u.Description() + "|" + u.Value(), "D\xC3\xA9|V");
    u.SetItemIndex(5);
    EXPECT_EQ(u.Description() + "|" + u.Value(), "|");
    EXPECT_EQ(t.Frames()[1].Description, "D\xC3\xA9");
    EXPECT_EQ(t.Frames()[1].Text, Strings{"V"});
}

TEST(Id3v2Url, WholeDataIsTheUrlAndTheNextFrameFollows) {
    Id3v2 t = Read3(Frame3("WOAR", "http://artist") + Frame3("WOAF", "http://f\0"s) +
                    Frame3("WORS", "r") + Frame3("WPUB", "p") + Frame3("WOAS", "s") +
                    Frame3("WPAY", "pay") + Frame3("WCOP", "c") + Frame3("WCOM", "com") +
                    Frame3("WZZZ", "dropped") + Text3("TALB", "A"));
    const Id3Web& w = t.Web();
    EXPECT_EQ((Strings{w.OfficialArtist, w.OfficialAudio, w.InternetRadioStation, w.Publishers,
                       w.OfficialAudioSource, w.Payment, w.LegalInfo, w.CommercialInfo}),
              (Strings{"http://artist", "http://f", "r", "p", "s", "pay", "c", "com"}));
    EXPECT_EQ(t.Frames()[8].Url, "dropped");
    EXPECT_EQ(t.Texts().Album, "A");

    // User-defined URLs with single-byte and Unicode descriptions.
    t = Read3(Frame3("WXXX", "\0home\0http://h"s) +
              Frame3("WXXX", "\x01" + kBomLe + Le(u"\u00DC") + kZero16 + "http://u"));
    ASSERT_EQ(t.UserDefinedWeb().ItemCount(), 2);
    EXPECT_EQ(t.UserDefinedWeb().Description() + "|" + t.UserDefinedWeb().URL(), "home|http://h");
    t.UserDefinedWeb().SetItemIndex(1);
    EXPECT_EQ(t.UserDefinedWeb().Description() + "|" + t.UserDefinedWeb().URL(),
              "\xC3\x9C|http://u");
}

TEST(Id3v2People, PairsOfJobAndPersonInEachEncoding) {
    Id3v2 t = Read3(
        Text3("IPLS", Bytes("guitar\0Ann\0drums\0Bob\0bass", 26)) +
        Frame3("IPLS", "\x01" + kBomLe + Le(u"mix") + kZero16 + kBomLe + Le(u"Cy") + kZero16));
    const IdIpl& p = t.InvolvedPeople();
    ASSERT_EQ(p.ItemCount(), 4);
    EXPECT_EQ(Items(p.Jobs()), (Strings{"guitar", "drums", "bass", "mix"}));
    EXPECT_EQ(Items(p.Persons()), (Strings{"Ann", "Bob", "", "Cy"}));
    EXPECT_EQ(p.Job(), "guitar");
    EXPECT_EQ(t.Frames()[0].People.size(), 3u);
    // Version 2.4 credits.
    Read(t, Tag(4, Frame4("TIPL", Utf8Text("producer\0Di\0"s)) +
                       Frame4("TMCL", Utf8Text("piano\0Ed"s))));
    EXPECT_EQ(Items(t.InvolvedPeople().Jobs()), (Strings{"producer", "piano"}));
    EXPECT_EQ(Items(t.InvolvedPeople().Persons()), (Strings{"Di", "Ed"}));
}

TEST_F(Id3v2Picture, PictureTypeSelectsPictureAndDescriptionAndTheLaterOfATypeWins) {
    Id3v2 t = Read3(Frame3("APIC", Apic(3, "one\0"s, "\x09\x09")) +
                    Frame3("APIC", Apic(3, "Front\0"s, "\x04\x02")) +
                    Frame3("APIC", Apic(4, kBomLe + Le(u"B\u00E4ck") + kZero16, "\x07\x01pixels",
                                        "image/x-velmora-test", 1)) +
                    Frame3("APIC", Apic(21, "\0"s, "\x01\x01")) + Text3("TALB", "A"));
    EXPECT_EQ(Shown(t.Images()), "3:4x2 Front;4:7x1 B\u00E4ck;");
    // The bytes stay as the tag carries them, with the format's extension, for saving.
    const IdPicture& back = t.Images().Pictures.Get(4);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(back.Data()), back.DataSize()),
              "\x07\x01pixels");
    EXPECT_EQ(back.Extension(), "x-velmora-test");
    EXPECT_EQ(t.Images().Pictures.Get(21).Data(), nullptr);
    EXPECT_EQ(t.Frames()[2].DataLen, 8u);
    EXPECT_EQ(t.Frames()[2].Mime, "image/x-velmora-test");
    EXPECT_EQ(t.Frames()[3].PictureType, 21);
    EXPECT_EQ(t.Texts().Album, "A");
}

TEST_F(Id3v2Picture, UnknownKindsAndBrokenDataLeaveThePictureEmptyAndReadingGoesOn) {
    Id3v2 t = Read3(Frame3("APIC", Apic(3, "png\0"s, "\x89PNG", "image/png")) +
                    Frame3("APIC", Apic(4, "short\0"s, "\x01")) +
                    Frame3("APIC", Apic(5, "link\0"s, "http://pic", "-->")) + Text3("TALB", "A"));
    EXPECT_EQ(Shown(t.Images()), "3:- png;4:- short;5:- link;");
    EXPECT_EQ(t.Texts().Album, "A");
}

TEST_F(Id3v2Picture, JpegPicturesDecodeThroughTheRegisteredLoader) {
    RegisterJpegImage();
    Bytes jpeg = MakeJpeg(5, 3);
    Id3v2 t = Read3(Frame3("APIC", Apic(3, "front\0"s, jpeg, "image/JPEG")) +
                    Frame3("APIC", Apic(4, "back\0"s, MakeJpeg(2, 7), "image/jpg")) +
                    Frame3("APIC", Apic(5, "cut\0"s, jpeg.substr(0, 20), "image/jpeg")) +
                    Text3("TALB", "A"));
    // libjpeg refuses data cut inside the header: the picture stays empty, the tag goes on.
    EXPECT_EQ(Shown(t.Images()), "3:5x3 front;4:2x7 back;5:- cut;");
    EXPECT_EQ(t.Texts().Album, "A");
    // Reading takes only the headers; the pixels come when asked for.
    const Picture front = t.Images().Pictures.CoverFront().Decode();
    ASSERT_EQ(front.Pixels.size(), 15u);
    EXPECT_EQ(front.Pixels[7] & 0xF0F0F0, 0x808080u);
    EXPECT_EQ(t.Images().Pictures.Get(4).Decode().Height, 7);
    EXPECT_TRUE(t.Images().Pictures.Get(5).Decode().Empty());
}

TEST_F(Id3v2Picture, DecodingCanBeSwitchedOffAndVersion22ImageFormatChoosesTheLoader) {
    Id3v2 t;
    t.SetDecodePictures(false);
    Read(t, Tag(3, Frame3("APIC", Apic(3, "d\0"s, "\x04\x02"))));
    EXPECT_EQ(Shown(t.Images()), "3:- d;");
    EXPECT_EQ(t.Frames()[0].DataLen, 2u);

    Id3v2 v2;
    Read(v2, Tag(2, Frame2("PIC", "\0XVT\x03"s + "cover\0\x05\x06"s)));
    EXPECT_EQ(Shown(v2.Images()), "3:5x6 cover;");
    EXPECT_EQ(v2.Frames()[0].Mime, "XVT");
    EXPECT_EQ(v2.Frames()[0].Id, "PIC");
}

TEST(Id3v2Counters, PlayCounterAndPopularimeter) {
    Id3v2 t = Read3(Frame3("PCNT", "\0\0\x01\0"s) + Frame3("POPM", "a@b\0\xFF\0\0\x01\x02"s));
    EXPECT_EQ(t.PlayCounter(), 256u);
    EXPECT_EQ(t.Popularimeter().UserEmail, "a@b");
    EXPECT_EQ(t.Popularimeter().Rating, 255);
    EXPECT_EQ(t.Popularimeter().Counter, 258u);
    EXPECT_EQ(t.Frames()[1].Count, 258u);
    // Counters grown beyond 4 bytes read in full, up to 64 bits; wider ones keep the reset value.
    t = Read3(Frame3("PCNT", "\0\0\0\x01\0"s));
    EXPECT_EQ(t.PlayCounter(), 256u);
    t = Read3(Frame3("PCNT", "\x01\0\0\0\0"s) + Frame3("POPM", "m\0\x80\x01\0\0\0\0"s));
    EXPECT_EQ(t.PlayCounter(), 0x100000000u);
    EXPECT_EQ(t.Frames()[0].Count, 0x100000000u);
    EXPECT_EQ(t.Popularimeter().Counter, 0x100000000u);
    t = Read3(Frame3("POPM", "m\0\x80\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF"s) +
              Frame3("PCNT", "\x01\0\0\0\0\0\0\0\0"s));
    EXPECT_EQ(t.Popularimeter().Counter, UINT64_MAX);
    EXPECT_EQ(t.PlayCounter(), 0u);
    // Too short for a counter: nothing, and the next frame is read.
    t = Read3(Frame3("PCNT", "\x01\x02"s) + Frame3("POPM", "m\0\x10"s));
    EXPECT_EQ(t.PlayCounter(), 0u);
    EXPECT_FALSE(t.Frames()[0].Count.has_value());
    EXPECT_EQ(t.Popularimeter().Rating, 0x10);
    EXPECT_EQ(t.Popularimeter().Counter, 0u);
    EXPECT_FALSE(t.Frames()[1].Count.has_value());
}

TEST(Id3v2Ownership, PriceDateAndSeller) {
    Id3v2 t = Read3(Frame3("OWNE", "\0USD9.99\0"s + "20231231Shop"));
    EXPECT_EQ(t.Owner().Price, "USD9.99");
    EXPECT_EQ(t.Owner().DatePurchased, (Id3Date{2023, 12, 31}));
    EXPECT_EQ(t.Owner().Seller, "Shop");
    EXPECT_EQ(t.Frames()[0].Date, "20231231");
    t = Read3(Frame3("OWNE", "\x01"s + "EUR1\0"s + "20230230" + kBomLe + Le(u"S\u00F8") + kZero16) +
              Text3("TALB", "A"));
    EXPECT_EQ(t.Owner().DatePurchased, (Id3Date{1900, 1, 1}));
    EXPECT_EQ(t.Owner().Seller, "S\xC3\xB8");
    EXPECT_EQ(t.Texts().Album, "A");
    t = Read3(Frame3("OWNE", "\0p\0"s + "2O231231x"));
    EXPECT_EQ(t.Owner().DatePurchased, (Id3Date{1900, 1, 1}));
    t = Read3(Frame3("OWNE", "\0p\0"s + "2023"));
    EXPECT_EQ(t.Owner().Price, "p");
    EXPECT_EQ(t.Frames()[0].Date, "2023");
}

TEST(Id3v2EventTiming, EventsAreStoredAndCheckEventFiresEachOnce) {
    Bytes data = "\x02"s + "\x03" + BigEndian32(100) + "\xFD" + BigEndian32(5000) + "\x80" +
                 BigEndian32(300) + "\xFE" + BigEndian32(9000) + "xx";
    Id3v2 t = Read3(Frame3("ETCO", data));
    EXPECT_EQ(t.TimeStampFormat(), 2);
    std::vector<int> types;
    for (const auto& e : t.Events())
        types.push_back(e.Type);
    EXPECT_EQ(types, (std::vector<int>{3, 21, 0, 22}));
    EXPECT_EQ(t.Frames()[0].Events[2], (std::pair<std::uint8_t, std::uint32_t>{0x80, 300}));

    std::vector<std::uint32_t> fired;
    t.OnEventTiming = [&](Id3v2&, std::uint32_t time, std::uint8_t) { fired.push_back(time); };
    for (std::uint32_t time : {100, 4999, 5000, 20000})
        t.CheckEvent(time);
    EXPECT_EQ(fired, (std::vector<std::uint32_t>{100, 300, 5000, 9000}));
    fired.clear();
    t.CheckEvent(200); // went back: starts again from 0
    EXPECT_EQ(fired, std::vector<std::uint32_t>{100});

    // At most 1001 events are kept.
    data = Bytes(1, '\x01');
    for (int i = 0; i < 1100; ++i)
        data += "\x01" + BigEndian32(static_cast<std::uint32_t>(i));
    t = Read3(Frame3("ETCO", data));
    EXPECT_EQ(t.Events().size(), 1001u);
    // The frame is read within the capacity of the event list.
    EXPECT_EQ(t.Frames()[0].Events.size(), 1001u);
}

TEST(Id3v2CdIdentifier, RawDataUpTo804Bytes) {
    Id3v2 t = Read3(Frame3("MCDI", "\x00\x01\xFE"s));
    EXPECT_EQ(t.CdIdentifier(), (std::vector<std::uint8_t>{0, 1, 0xFE}));
    t = Read3(Frame3("MCDI", Bytes(900, '\x07')));
    EXPECT_EQ(t.CdIdentifier().size(), 804u);
    EXPECT_EQ(t.Frames()[0].Data.size(), 804u);
    EXPECT_EQ(t.Frames()[0].DataLen, 900u);
}

TEST(Id3v2Reset, ASecondTagLeavesNothingOfTheFirst) {
    Id3v2 t = Read3(Text3("TXXX", "d\0v"s) + Frame3("WXXX", "\0d\0u"s) + Text3("IPLS", "j\0p"s) +
                    Text3("TPE1", "A") + Frame3("PCNT", BigEndian32(5)) + Frame3("MCDI", "cd") +
                    Frame3("ETCO", "\x01\x01\0\0\0\x01"s) + Frame3("OWNE", "\0p\0"s + "20200101s"));
    Read(t, Tag(3, Text3("TALB", "B")));
    EXPECT_EQ(t.UserDefinedText().ItemCount() + t.UserDefinedWeb().ItemCount() +
                  t.InvolvedPeople().ItemCount() + t.Texts().Performers.Count(),
              0);
    EXPECT_EQ(t.UserDefinedText().Value() + t.Owner().Price, "");
    EXPECT_EQ(t.PlayCounter(), 0u);
    EXPECT_TRUE(t.CdIdentifier().empty());
    EXPECT_TRUE(t.Events().empty());
    EXPECT_EQ(t.Owner().DatePurchased, (Id3Date{1900, 1, 1}));
    EXPECT_EQ(t.Texts().Album, "B");
    EXPECT_EQ(t.Frames().size(), 1u);
}

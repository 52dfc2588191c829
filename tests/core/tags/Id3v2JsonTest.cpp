// The JSON writer and the JSON form of read tags printed by id3dump.
#include "core/tags/Id3v2Json.h"

#include "Id3v2TagBuilder.h"

#include <gtest/gtest.h>

using namespace velmora::tags;
using namespace velmora::tags::test;
using namespace std::string_literals;

TEST(JsonWriter, CommasNestingAndEscapes) {
    JsonWriter w;
    w.BeginObject();
    w.Key("a");
    w.BeginArray();
    w.Int(-1);
    w.UInt(18446744073709551615u);
    w.Bool(true);
    w.Null();
    w.BeginObject();
    w.EndObject();
    w.EndArray();
    w.Key("s\"");
    w.String("q\"\\\n\r\t\x01\x1F/\xC3\xA9");
    w.Key("bad");
    w.String("a\xFF"
             "b\xC3");
    w.EndObject();
    EXPECT_EQ(w.Text(), "{\"a\":[-1,18446744073709551615,true,null,{}],\"s\\\"\":"
                        "\"q\\\"\\\\\\n\\r\\t\\u0001\\u001f/\xC3\xA9\",\"bad\":\"a\xEF\xBF\xBD"
                        "b\xEF\xBF\xBD\"}");
}

TEST(Id3v2Json, AbsentTagIsNull) {
    Id3v2 tag;
    JsonWriter w;
    Id3v2Json::Write(w, tag);
    EXPECT_EQ(w.Text(), "null");
}

TEST(Id3v2Json, HeaderAndEveryFrameKind) {
    Bytes frames = Frame4("TIT2", Latin1Text(Bytes("A\0B\0", 4))) +
                   Frame4("TXXX", Latin1Text(Bytes("d\0v", 3))) + Frame4("WOAR", "http://a") +
                   Frame4("WXXX", Bytes("\0h\0http://h", 11)) +
                   Frame4("TIPL", Latin1Text(Bytes("mix\0Al", 6))) +
                   Frame4("APIC", "\0image/jpeg\0\x03"s + "c\0\x01\x02\x03"s) +
                   Frame4("PCNT", BigEndian32(9)) + Frame4("POPM", Bytes("e\0\x05", 3)) +
                   Frame4("OWNE", "\0"s + "1\0"s + "20200102s") +
                   Frame4("ETCO", Bytes("\x02\x03\0\0\0\x10", 6)) +
                   Frame4("MCDI", Bytes("\x00\xAB", 2)) + Frame4("PRIV", "xyz");
    Id3v2 tag;
    tag.SetDecodePictures(false);
    Read(tag, Tag(4, frames, 0x10));
    JsonWriter w;
    Id3v2Json::Write(w, tag);
    const std::string& s = w.Text();
    EXPECT_EQ(s.rfind("{\"version\":[4,0],\"size\":", 0), 0u) << s;
    EXPECT_NE(s.find("\"flags\":{\"unsynchronisation\":false,\"extended_header\":false,"
                     "\"experimental\":false,\"footer\":true}"),
              std::string::npos);
    const char* expected =
        "\"frames\":[{\"id\":\"TIT2\",\"text\":[\"A\",\"B\"]},"
        "{\"id\":\"TXXX\",\"description\":\"d\",\"text\":[\"v\"]},"
        "{\"id\":\"WOAR\",\"url\":\"http://a\"},"
        "{\"id\":\"WXXX\",\"description\":\"h\",\"url\":\"http://h\"},"
        "{\"id\":\"TIPL\",\"people\":[[\"mix\",\"Al\"]]},"
        "{\"id\":\"APIC\",\"mime\":\"image/jpeg\",\"picture_type\":3,\"description\":\"c\","
        "\"data_len\":3},"
        "{\"id\":\"PCNT\",\"count\":9},"
        "{\"id\":\"POPM\",\"email\":\"e\",\"rating\":5,\"count\":null},"
        "{\"id\":\"OWNE\",\"price\":\"1\",\"date\":\"20200102\",\"seller\":\"s\"},"
        "{\"id\":\"ETCO\",\"format\":2,\"events\":[[3,16]]},"
        "{\"id\":\"MCDI\",\"data_hex\":\"00ab\"},"
        "{\"id\":\"PRIV\",\"data_len\":3}],\"model\":{";
    EXPECT_NE(s.find(expected), std::string::npos) << s;
    EXPECT_NE(s.find("\"ContentDescription\":\"A/B\""), std::string::npos);
    EXPECT_NE(s.find("\"CoverFront\":{\"Description\":\"c\",\"Width\":0,\"Height\":0}"),
              std::string::npos);
    EXPECT_NE(s.find("\"InvolvedPeople\":[{\"Job\":\"mix\",\"Person\":\"Al\"}]"),
              std::string::npos);
    EXPECT_NE(s.find("\"DatePurchased\":\"2020-01-02\""), std::string::npos);
    EXPECT_NE(s.find("\"FileType\":\"ftUNKNOWN\""), std::string::npos);
    EXPECT_EQ(s.back(), '}');
}

TEST(Id3v2Json, Version3FlagsHaveNoFooterAndVersion22IdsStayAsStored) {
    Id3v2 tag;
    Read(tag, Tag(2, Frame2("TT2", Latin1Text("t")), 0x80));
    JsonWriter w;
    Id3v2Json::Write(w, tag);
    EXPECT_NE(
        w.Text().find("\"flags\":{\"unsynchronisation\":true,\"extended_header\":false,"
                      "\"experimental\":false},\"frames\":[{\"id\":\"TT2\",\"text\":[\"t\"]}]"),
        std::string::npos)
        << w.Text();
}

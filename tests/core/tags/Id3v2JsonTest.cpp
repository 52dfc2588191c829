// The JSON writer and the JSON form of read tags printed by id3dump.
#include "core/tags/id3v2/Id3v2Json.h"

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
    w.String("a\xFF\x62\xC3"); // invalid UTF-8 around a "b"
    w.EndObject();
    EXPECT_EQ(w.Text(), "{\"a\":[-1,18446744073709551615,true,null,{}],\"s\\\"\":"
                        "\"q\\\"\\\\\\n\\r\\t\\u0001\\u001f/\xC3\xA9\",\"bad\":\"a\xEF\xBF\xBD"
                        "b\xEF\xBF\xBD\"}");
}

namespace {
std::string Json(const Id3v2& tag) {
    JsonWriter w;
    Id3v2Json::Write(w, tag);
    return w.Text();
}
} // namespace

TEST(Id3v2Json, HeaderAndEveryFrameKind) {
    Bytes frames = Text4("TIT2", "A\0B\0"s) + Text4("TXXX", "d\0v"s) + Frame4("WOAR", "http://a") +
                   Frame4("WXXX", "\0h\0http://h"s) + Text4("TIPL", "mix\0Al"s) +
                   Frame4("APIC", "\0image/jpeg\0\x03"s + "c\0\x01\x02\x03"s) +
                   Frame4("PCNT", BigEndian32(9)) + Frame4("POPM", "e\0\x05"s) +
                   Frame4("OWNE", "\0"s + "1\0"s + "20200102s") +
                   Frame4("ETCO", "\x02\x03\0\0\0\x10"s) + Frame4("MCDI", "\x00\xAB"s) +
                   Frame4("PRIV", "xyz");
    Id3v2 tag;
    tag.SetDecodePictures(false);
    Read(tag, Tag(4, frames, 0x10));
    const std::string s = Json(tag);
    EXPECT_EQ(s.rfind(R"({"version":[4,0],"size":)", 0), 0u) << s;
    const char* expected =
        R"("flags":{"unsynchronisation":false,"extended_header":false,"experimental":false,)"
        R"("footer":true},"frames":[{"id":"TIT2","text":["A","B"]},)"
        R"({"id":"TXXX","description":"d","text":["v"]},{"id":"WOAR","url":"http://a"},)"
        R"({"id":"WXXX","description":"h","url":"http://h"},{"id":"TIPL","people":[["mix","Al"]]},)"
        R"({"id":"APIC","mime":"image/jpeg","picture_type":3,"description":"c","data_len":3},)"
        R"({"id":"PCNT","count":9},{"id":"POPM","email":"e","rating":5,"count":null},)"
        R"({"id":"OWNE","price":"1","date":"20200102","seller":"s"},)"
        R"({"id":"ETCO","format":2,"events":[[3,16]]},{"id":"MCDI","data_hex":"00ab"},)"
        R"({"id":"PRIV","data_len":3}],"model":{)";
    EXPECT_NE(s.find(expected), std::string::npos) << s;
    for (const char* part : {R"("ContentDescription":"A/B")",
                             R"("CoverFront":{"Description":"c","Width":0,"Height":0})",
                             R"("InvolvedPeople":[{"Job":"mix","Person":"Al"}])",
                             R"("DatePurchased":"2020-01-02")", R"("FileType":"ftUNKNOWN")"})
        EXPECT_NE(s.find(part), std::string::npos) << part;
    EXPECT_EQ(s.back(), '}');
}

TEST(Id3v2Json, AbsentTagIsNullVersion3FlagsHaveNoFooterAndVersion22IdsStayAsStored) {
    EXPECT_EQ(Json(Id3v2()), "null");
    Id3v2 tag;
    Read(tag, Tag(2, Frame2("TT2", Latin1Text("t")), 0x80));
    EXPECT_NE(Json(tag).find(R"("flags":{"unsynchronisation":true,"extended_header":false,)"
                             R"("experimental":false},"frames":[{"id":"TT2","text":["t"]}])"),
              std::string::npos)
        << Json(tag);
}

// The frame data model: code tables, language names, item lists, dates and pictures.
#include "core/tags/id3v2/ID3UDText.h"
#include "core/tags/id3v2/ID3UDUrl.h"
#include "core/tags/id3v2/Id3FileType.h"
#include "core/tags/id3v2/Id3Language.h"
#include "core/tags/id3v2/Id3MediaType.h"
#include "core/tags/id3v2/Id3Owner.h"
#include "core/tags/id3v2/IdIpl.h"
#include "core/tags/picture/IdImages.h"

#include <gtest/gtest.h>
#include <set>

using namespace velmora::tags;

TEST(Id3CodeTables, FileAndMediaTypeCodesCompareExactlyAndWholly) {
    const std::pair<const char*, ID3FileType> files[] = {
        {"MPG", ftMPG}, {"MPG/3", ftMPG3},    {"MPG/2.5", ftMPG2_5}, {"MPG/AAC", ftMPG_AAC},
        {"PCM", ftPCM}, {"mpg/3", ftUNKNOWN}, {"MPG/3 ", ftUNKNOWN}, {"", ftUNKNOWN}};
    for (auto [code, type] : files)
        EXPECT_EQ(FileTypeFromCode(code), type) << code;
    EXPECT_EQ(FileTypeName(ftMPG2_5), "ftMPG2_5");

    const std::pair<const char*, int> media[] = {
        {"CD/DD", mtCD_DDD}, {"DAT/4", 67},     {"DAT/5", 27},  {"TEL/I", mtTEL_ISDN},
        {"REE/IV", 66},      {"cd", mtUNKNOWN}, {"", mtUNKNOWN}};
    for (auto [code, value] : media)
        EXPECT_EQ(static_cast<int>(MediaTypeFromCode(code)), value) << code;
    EXPECT_EQ(MediaTypeFromCode("DAT/5"), mtDAT_44KHZ_16B);
    EXPECT_EQ(MediaTypeFromCode("REE/IV"), mtREE_IV);
    EXPECT_EQ(MediaTypeFromCode("DAT/4"), mtDAT_32KHZ_12B_4CH);
    // Every value 1..67 has a distinct code that maps back to it.
    std::set<std::string_view> codes;
    for (int v = 1; v <= 67; ++v) {
        auto type = static_cast<ID3MediaType>(v);
        std::string_view code = MediaTypeCode(type);
        EXPECT_FALSE(code.empty()) << v;
        EXPECT_EQ(MediaTypeFromCode(code), type) << code;
        codes.insert(code);
    }
    EXPECT_EQ(codes.size(), 67u);
    EXPECT_EQ(MediaTypeName(mtVID_SVHS), "mtVID_SVHS");
}

TEST(Id3Language, SortedUniqueTableAndCaseInsensitiveLookupOfBothCodeKinds) {
    auto table = LanguageTable();
    ASSERT_EQ(table.size(), 424u);
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].Code.size(), 3u);
        EXPECT_FALSE(table[i].Name.empty()) << table[i].Code;
        EXPECT_TRUE(i == 0 || table[i - 1].Code < table[i].Code) << table[i].Code;
    }
    EXPECT_EQ(LanguageName("deu"), LanguageName("ger"));
    // Includes rows whose names are easily misspelt ("sun" is the language of West Java).
    const std::pair<const char*, const char*> names[] = {
        {"eng", "English"},      {"ENG", "English"},        {"fra", "French"},
        {"fre", "French"},       {"zho", "Chinese"},        {"gdh", "Gaelic (Scots)"},
        {"iri", "Irish"},        {"mak", "Macedonian"},     {"ssw", "Siswant"},
        {"und", "Undetermined"}, {"vol", "Volap\xC3\xBCk"}, {"sun", "Sundanese"},
        {"tiv", "Tiv"},          {"ndo", "Ndonga"},         {"yap", "Yapese"}};
    for (const char* code : {"xyz", "en", "engl"})
        EXPECT_EQ(LanguageName(code), "") << code;
    for (auto [code, name] : names)
        EXPECT_EQ(LanguageName(code), name) << code;
    EXPECT_EQ(LanguageName("ang"), "English, Old (ca. 450-1100)");
    EXPECT_EQ(LanguageName("enm"), "English, Middle (ca. 1100-1500)");
    EXPECT_EQ(LanguageName("ine"), "Indo-European (Other)");
    EXPECT_EQ(LanguageName("mul"), "Multiple Languages");
    EXPECT_EQ(LanguageName("mkh"), "Mon-Khmer (Other)");
}

TEST(Id3PairList, SelectionIndexOutsideAndReset) {
    ID3UDText t;
    t.Add("one", "1");
    t.Add("two", "2");
    EXPECT_EQ(t.ItemCount(), 2);
    EXPECT_EQ(t.ItemIndex(), 0);
    EXPECT_EQ(t.Description() + t.Value(), "one1");
    t.SetItemIndex(1);
    EXPECT_EQ(t.Description(), "two");
    EXPECT_EQ(t.Values()[1], "2");
    t.SetItemIndex(5);
    EXPECT_EQ(t.ItemIndex(), 5);
    EXPECT_EQ(t.Description() + t.Value(), "");
    t.SetItemIndex(-1);
    EXPECT_EQ(t.Value(), "");

    // Reset leaves nothing of the earlier items visible.
    ID3UDUrl u;
    u.Add("home", "http://a");
    IdIpl p;
    p.Add("guitar", "Ann");
    EXPECT_EQ(p.Job(), "guitar");
    EXPECT_EQ(p.Persons()[0], "Ann");
    EXPECT_EQ(u.URL(), "http://a");
    u.Reset();
    p.Reset();
    EXPECT_EQ(u.ItemCount() + p.ItemCount() + p.Jobs().Count(), 0);
    EXPECT_EQ(u.Description() + u.URL() + p.Person(), "");
}

TEST(Id3Date, ValidOnlyForRealCalendarDaysAndOwnerResetsToTheFirstOf1900) {
    for (Id3Date d : {Id3Date{2023, 12, 31}, Id3Date{2024, 2, 29}, Id3Date{2000, 2, 29}})
        EXPECT_TRUE(d.Valid()) << d.Year << "-" << d.Month << "-" << d.Day;
    for (Id3Date d : {Id3Date{1900, 2, 29}, Id3Date{2023, 2, 29}, Id3Date{2023, 4, 31},
                      Id3Date{2023, 13, 1}, Id3Date{2023, 0, 1}, Id3Date{0, 1, 1}})
        EXPECT_FALSE(d.Valid()) << d.Year << "-" << d.Month << "-" << d.Day;
    Id3Owner o;
    o.Price = "x";
    o.DatePurchased = {2020, 5, 5};
    o.Reset();
    EXPECT_EQ(o.DatePurchased, (Id3Date{1900, 1, 1}));
    EXPECT_EQ(o.Price, "");
}

TEST(IdImages, PicturesAndDescriptionsPerTypeWithNamedAccess) {
    IdImages images;
    const IdPicture p("jpg", std::make_shared<const std::vector<std::uint8_t>>(5, 0), 3, 2);
    images.Pictures.Set(3, p);
    images.Infos.Set(3, "front");
    images.Pictures.Set(21, p); // not a picture type
    images.Infos.Set(-1, "x");
    EXPECT_EQ(images.Pictures.CoverFront().Width(), 3);
    EXPECT_EQ(images.Pictures.DataSize(), 5u);
    EXPECT_EQ(images.Infos.CoverFront(), "front");
    EXPECT_TRUE(images.Pictures.Get(21).Empty());
    EXPECT_EQ(images.Infos.Get(21), "");
    images.Pictures.SetrecordingLocation(p);
    EXPECT_EQ(images.Pictures.Get(13).Height(), 2);
    EXPECT_EQ(images.Pictures.DataSize(), 10u);
    EXPECT_EQ(PictureTypeName(13), "recordingLocation");
    EXPECT_EQ(PictureTypeName(17), "ColouredFish");
    EXPECT_EQ(PictureTypeName(21), "");
    images.Reset();
    for (int t = 0; t < kPictureTypeCount; ++t) {
        EXPECT_TRUE(images.Pictures.Get(t).Empty());
        EXPECT_EQ(images.Pictures.Get(t).Width(), 0);
        EXPECT_EQ(images.Infos.Get(t), "");
    }
}

// The frame data model: code tables, language names, item lists, dates and pictures.
#include "core/tags/ID3UDText.h"
#include "core/tags/ID3UDUrl.h"
#include "core/tags/Id3FileType.h"
#include "core/tags/Id3Language.h"
#include "core/tags/Id3MediaType.h"
#include "core/tags/Id3Owner.h"
#include "core/tags/IdImages.h"
#include "core/tags/IdIpl.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

using namespace velmora::tags;

TEST(Id3FileType, CodesCompareExactlyAndWholly) {
    EXPECT_EQ(FileTypeFromCode("MPG"), ftMPG);
    EXPECT_EQ(FileTypeFromCode("MPG/3"), ftMPG3);
    EXPECT_EQ(FileTypeFromCode("MPG/2.5"), ftMPG2_5);
    EXPECT_EQ(FileTypeFromCode("MPG/AAC"), ftMPG_AAC);
    EXPECT_EQ(FileTypeFromCode("PCM"), ftPCM);
    EXPECT_EQ(FileTypeFromCode("mpg/3"), ftUNKNOWN);
    EXPECT_EQ(FileTypeFromCode("MPG/3 "), ftUNKNOWN);
    EXPECT_EQ(FileTypeFromCode(""), ftUNKNOWN);
    EXPECT_EQ(FileTypeName(ftMPG2_5), "ftMPG2_5");
    EXPECT_EQ(static_cast<int>(ftPCM), 8);
}

TEST(Id3MediaType, EveryCodeMapsToItsValueAndDat4IsLast) {
    EXPECT_EQ(MediaTypeFromCode("CD/DD"), mtCD_DDD);
    EXPECT_EQ(MediaTypeFromCode("cd"), mtUNKNOWN);
    EXPECT_EQ(MediaTypeFromCode("DAT/4"), mtDAT_32KHZ_12B_4CH);
    EXPECT_EQ(static_cast<int>(MediaTypeFromCode("DAT/4")), 67);
    EXPECT_EQ(MediaTypeFromCode("DAT/5"), mtDAT_44KHZ_16B);
    EXPECT_EQ(static_cast<int>(MediaTypeFromCode("DAT/5")), 27);
    EXPECT_EQ(MediaTypeFromCode("TEL/I"), mtTEL_ISDN);
    EXPECT_EQ(MediaTypeFromCode("REE/IV"), mtREE_IV);
    EXPECT_EQ(static_cast<int>(mtREE_IV), 66);
    EXPECT_EQ(MediaTypeFromCode(""), mtUNKNOWN);
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

TEST(Id3Language, TableHas424SortedUniqueCodesWithNames) {
    auto table = LanguageTable();
    ASSERT_EQ(table.size(), 424u);
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].Code.size(), 3u);
        EXPECT_FALSE(table[i].Name.empty()) << table[i].Code;
        if (i) {
            EXPECT_LT(table[i - 1].Code, table[i].Code);
        }
    }
}

TEST(Id3Language, LookupIsCaseInsensitiveAndKnowsBothCodeKinds) {
    EXPECT_EQ(LanguageName("eng"), "English");
    EXPECT_EQ(LanguageName("ENG"), "English");
    EXPECT_EQ(LanguageName("ang"), "English, Old (ca. 450-1100)");
    EXPECT_EQ(LanguageName("enm"), "English, Middle (ca. 1100-1500)");
    EXPECT_EQ(LanguageName("fra"), "French");
    EXPECT_EQ(LanguageName("fre"), "French");
    EXPECT_EQ(LanguageName("deu"), LanguageName("ger"));
    EXPECT_EQ(LanguageName("zho"), "Chinese");
    EXPECT_EQ(LanguageName("gdh"), "Gaelic (Scots)");
    EXPECT_EQ(LanguageName("iri"), "Irish");
    EXPECT_EQ(LanguageName("mak"), "Macedonian");
    EXPECT_EQ(LanguageName("ine"), "Indo-European (Other)");
    EXPECT_EQ(LanguageName("ssw"), "Siswant");
    EXPECT_EQ(LanguageName("mul"), "Multiple Languages");
    EXPECT_EQ(LanguageName("und"), "Undetermined");
    EXPECT_EQ(LanguageName("vol"), "Volap\xC3\xBCk");
    // Rows whose names are easily misspelt: the language of West Java, not of Sudan.
    EXPECT_EQ(LanguageName("sun"), "Sundanese");
    EXPECT_EQ(LanguageName("tiv"), "Tiv");
    EXPECT_EQ(LanguageName("mkh"), "Mon-Khmer (Other)");
    EXPECT_EQ(LanguageName("ndo"), "Ndonga");
    EXPECT_EQ(LanguageName("yap"), "Yapese");
    EXPECT_EQ(LanguageName("xyz"), "");
    EXPECT_EQ(LanguageName("en"), "");
    EXPECT_EQ(LanguageName("engl"), "");
}

TEST(Id3PairList, AddingSelectsTheFirstItemAndIndexOutsideEmpties) {
    ID3UDText t;
    t.Add("one", "1");
    t.Add("two", "2");
    EXPECT_EQ(t.ItemCount(), 2);
    EXPECT_EQ(t.ItemIndex(), 0);
    EXPECT_EQ(t.Description(), "one");
    EXPECT_EQ(t.Value(), "1");
    t.SetItemIndex(1);
    EXPECT_EQ(t.Description(), "two");
    EXPECT_EQ(t.Values()[1], "2");
    t.SetItemIndex(5);
    EXPECT_EQ(t.ItemIndex(), 5);
    EXPECT_EQ(t.Description(), "");
    EXPECT_EQ(t.Value(), "");
    t.SetItemIndex(-1);
    EXPECT_EQ(t.Value(), "");
}

TEST(Id3PairList, ResetLeavesNothingOfTheEarlierItemsVisible) {
    ID3UDUrl u;
    u.Add("home", "http://a");
    IdIpl p;
    p.Add("guitar", "Ann");
    EXPECT_EQ(p.Job(), "guitar");
    EXPECT_EQ(p.Persons()[0], "Ann");
    EXPECT_EQ(u.URL(), "http://a");
    u.Reset();
    p.Reset();
    EXPECT_EQ(u.ItemCount(), 0);
    EXPECT_EQ(u.Description(), "");
    EXPECT_EQ(u.URL(), "");
    EXPECT_EQ(p.ItemCount(), 0);
    EXPECT_EQ(p.Person(), "");
    EXPECT_EQ(p.Jobs().Count(), 0);
}

TEST(Id3Date, ValidOnlyForRealCalendarDays) {
    EXPECT_TRUE((Id3Date{2023, 12, 31}.Valid()));
    EXPECT_TRUE((Id3Date{2024, 2, 29}.Valid()));
    EXPECT_TRUE((Id3Date{2000, 2, 29}.Valid()));
    EXPECT_FALSE((Id3Date{1900, 2, 29}.Valid()));
    EXPECT_FALSE((Id3Date{2023, 2, 29}.Valid()));
    EXPECT_FALSE((Id3Date{2023, 4, 31}.Valid()));
    EXPECT_FALSE((Id3Date{2023, 13, 1}.Valid()));
    EXPECT_FALSE((Id3Date{2023, 0, 1}.Valid()));
    EXPECT_FALSE((Id3Date{0, 1, 1}.Valid()));
    Id3Owner o;
    o.Price = "x";
    o.DatePurchased = {2020, 5, 5};
    o.Reset();
    EXPECT_EQ(o.DatePurchased, (Id3Date{1900, 1, 1}));
    EXPECT_EQ(o.Price, "");
}

TEST(IdImages, PicturesAndDescriptionsPerTypeWithNamedAccess) {
    IdImages images;
    velmora::platform::Picture p;
    p.Width = 3;
    p.Height = 2;
    p.Pixels.assign(6, 0xFF000000u);
    images.Pictures.Set(3, p);
    images.Infos.Set(3, "front");
    images.Pictures.Set(21, p); // not a picture type
    images.Infos.Set(-1, "x");
    EXPECT_EQ(images.Pictures.CoverFront().Width, 3);
    EXPECT_EQ(images.Infos.CoverFront(), "front");
    EXPECT_TRUE(images.Pictures.Get(21).Empty());
    EXPECT_EQ(images.Infos.Get(21), "");
    images.Pictures.SetrecordingLocation(p);
    EXPECT_EQ(images.Pictures.Get(13).Height, 2);
    EXPECT_EQ(PictureTypeName(13), "recordingLocation");
    EXPECT_EQ(PictureTypeName(17), "ColouredFish");
    EXPECT_EQ(PictureTypeName(21), "");
    images.Reset();
    for (int t = 0; t < kPictureTypeCount; ++t) {
        EXPECT_TRUE(images.Pictures.Get(t).Empty());
        EXPECT_EQ(images.Pictures.Get(t).Width, 0);
        EXPECT_EQ(images.Infos.Get(t), "");
    }
}

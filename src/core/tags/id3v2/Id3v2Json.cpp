// Serialising the ID3v2 reader's results for the id3dump tool.
#include "core/tags/id3v2/Id3v2Json.h"

#include <cstdio>

namespace velmora::tags {

namespace {

void StringMember(JsonWriter& w, std::string_view key, const std::string& value) {
    w.Key(key);
    w.String(value);
}

void ListMember(JsonWriter& w, std::string_view key, const platform::StringList& list) {
    w.Key(key);
    w.BeginArray();
    for (int i = 0; i < list.Count(); ++i)
        w.String(list.Get(i));
    w.EndArray();
}

void PairsMember(JsonWriter& w, std::string_view key, std::string_view first,
                 std::string_view second, const platform::StringList& firsts,
                 const platform::StringList& seconds) {
    w.Key(key);
    w.BeginArray();
    for (int i = 0; i < firsts.Count(); ++i) {
        w.BeginObject();
        StringMember(w, first, firsts.Get(i));
        StringMember(w, second, seconds.Get(i));
        w.EndObject();
    }
    w.EndArray();
}

std::string Hex(const std::vector<std::uint8_t>& bytes) {
    static const char kHex[] = "0123456789abcdef";
    std::string s;
    s.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) {
        s += kHex[b >> 4];
        s += kHex[b & 0xF];
    }
    return s;
}

std::string DateText(const Id3Date& d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.Year, d.Month, d.Day);
    return buf;
}

} // namespace

void Id3v2Json::Write(JsonWriter& w, const Id3v2& tag) {
    if (!tag.TagPresent()) {
        w.Null();
        return;
    }
    w.BeginObject();
    w.Key("version");
    w.BeginArray();
    w.Int(tag.MajorVersion());
    w.Int(tag.Revision());
    w.EndArray();
    w.Key("size");
    w.Int(tag.TagSize());
    w.Key("flags");
    w.BeginObject();
    w.Key("unsynchronisation");
    w.Bool(tag.Unsynchronisation());
    w.Key("extended_header");
    w.Bool(tag.ExtendedHeader());
    w.Key("experimental");
    w.Bool(tag.Experimental());
    if (tag.MajorVersion() == 4) {
        w.Key("footer");
        w.Bool(tag.Footer());
    }
    w.EndObject();
    w.Key("frames");
    w.BeginArray();
    for (const Id3Frame& f : tag.Frames())
        WriteFrame(w, f);
    w.EndArray();
    w.Key("model");
    WriteModel(w, tag);
    w.EndObject();
}

void Id3v2Json::WriteFrame(JsonWriter& w, const Id3Frame& f) {
    w.BeginObject();
    StringMember(w, "id", f.Id);
    auto textList = [&] {
        w.Key("text");
        w.BeginArray();
        for (const auto& s : f.Text)
            w.String(s);
        w.EndArray();
    };
    switch (f.Kind) {
    case Id3FrameKind::Unknown:
        w.Key("data_len");
        w.UInt(f.DataLen);
        break;
    case Id3FrameKind::Text:
        textList();
        break;
    case Id3FrameKind::UserText:
        StringMember(w, "description", f.Description);
        textList();
        break;
    case Id3FrameKind::Url:
        StringMember(w, "url", f.Url);
        break;
    case Id3FrameKind::UserUrl:
        StringMember(w, "description", f.Description);
        StringMember(w, "url", f.Url);
        break;
    case Id3FrameKind::People:
        w.Key("people");
        w.BeginArray();
        for (const auto& [role, name] : f.People) {
            w.BeginArray();
            w.String(role);
            w.String(name);
            w.EndArray();
        }
        w.EndArray();
        break;
    case Id3FrameKind::Picture:
        StringMember(w, "mime", f.Mime);
        w.Key("picture_type");
        w.UInt(f.PictureType);
        StringMember(w, "description", f.Description);
        w.Key("data_len");
        w.UInt(f.DataLen);
        break;
    case Id3FrameKind::PlayCounter:
        w.Key("count");
        if (f.Count)
            w.UInt(*f.Count);
        else
            w.Null();
        break;
    case Id3FrameKind::Popularimeter:
        StringMember(w, "email", f.Email);
        w.Key("rating");
        w.UInt(f.Rating);
        w.Key("count");
        if (f.Count)
            w.UInt(*f.Count);
        else
            w.Null();
        break;
    case Id3FrameKind::Ownership:
        StringMember(w, "price", f.Price);
        StringMember(w, "date", f.Date);
        StringMember(w, "seller", f.Seller);
        break;
    case Id3FrameKind::EventTiming:
        w.Key("format");
        w.UInt(f.TimeStampFormat);
        w.Key("events");
        w.BeginArray();
        for (const auto& [type, time] : f.Events) {
            w.BeginArray();
            w.UInt(type);
            w.UInt(time);
            w.EndArray();
        }
        w.EndArray();
        break;
    case Id3FrameKind::CdIdentifier:
        StringMember(w, "data_hex", Hex(f.Data));
        break;
    }
    w.EndObject();
}

void Id3v2Json::WriteModel(JsonWriter& w, const Id3v2& tag) {
    const Id3Text& t = tag.Texts();
    w.BeginObject();
    w.Key("BPM");
    w.Int(t.BPM);
    StringMember(w, "Album", t.Album);
    ListMember(w, "Composer", t.Composer);
    w.Key("PlaylistDelay");
    w.Int(t.PlaylistDelay);
    StringMember(w, "Copyright", t.Copyright);
    StringMember(w, "EncodedBy", t.EncodedBy);
    StringMember(w, "Date", t.Date);
    ListMember(w, "Lyricists", t.Lyricists);
    StringMember(w, "FileType", std::string(FileTypeName(t.FileType)));
    StringMember(w, "Time", t.Time);
    StringMember(w, "InitialKey", t.InitialKey);
    StringMember(w, "ContentGroup", t.ContentGroup);
    StringMember(w, "SubTitle", t.SubTitle);
    StringMember(w, "ContentDescription", t.ContentDescription);
    ListMember(w, "Languages", t.Languages);
    StringMember(w, "Length", t.Length);
    StringMember(w, "MediaType", std::string(MediaTypeName(t.MediaType)));
    StringMember(w, "OriginalTitle", t.OriginalTitle);
    StringMember(w, "OriginalFileName", t.OriginalFileName);
    ListMember(w, "OriginalLyricists", t.OriginalLyricists);
    ListMember(w, "OriginalArtist", t.OriginalArtist);
    StringMember(w, "FileOwner", t.FileOwner);
    StringMember(w, "OriginalReleaseYear", t.OriginalReleaseYear);
    ListMember(w, "Performers", t.Performers);
    StringMember(w, "Conductor", t.Conductor);
    StringMember(w, "ModifiedBy", t.ModifiedBy);
    StringMember(w, "Band", t.Band);
    StringMember(w, "PartOf", t.PartOf);
    StringMember(w, "Publisher", t.Publisher);
    StringMember(w, "TrackNumber", t.TrackNumber);
    StringMember(w, "RecordingDate", t.RecordingDate);
    StringMember(w, "InternetRadioName", t.InternetRadioName);
    StringMember(w, "InternetRadioOwner", t.InternetRadioOwner);
    w.Key("Size");
    w.Int(t.Size);
    StringMember(w, "ISRC", t.ISRC);
    StringMember(w, "EncodingSoftware", t.EncodingSoftware);
    StringMember(w, "Year", t.Year);

    const Id3Web& web = tag.Web();
    StringMember(w, "OfficialAudio", web.OfficialAudio);
    StringMember(w, "InternetRadioStation", web.InternetRadioStation);
    StringMember(w, "Publishers", web.Publishers);
    StringMember(w, "OfficialAudioSource", web.OfficialAudioSource);
    StringMember(w, "Payment", web.Payment);
    StringMember(w, "LegalInfo", web.LegalInfo);
    StringMember(w, "CommercialInfo", web.CommercialInfo);
    StringMember(w, "OfficialArtist", web.OfficialArtist);

    PairsMember(w, "UserDefinedText", "Description", "Value", tag.UserDefinedText().Descriptions(),
                tag.UserDefinedText().Values());
    PairsMember(w, "UserDefinedWeb", "Description", "URL", tag.UserDefinedWeb().Descriptions(),
                tag.UserDefinedWeb().URLs());
    PairsMember(w, "InvolvedPeople", "Job", "Person", tag.InvolvedPeople().Jobs(),
                tag.InvolvedPeople().Persons());

    w.Key("Images");
    w.BeginObject();
    for (int type = 0; type < kPictureTypeCount; ++type) {
        const IdPicture& p = tag.Images().Pictures.Get(type);
        w.Key(PictureTypeName(type));
        w.BeginObject();
        StringMember(w, "Description", tag.Images().Infos.Get(type));
        w.Key("Width");
        w.Int(p.Width());
        w.Key("Height");
        w.Int(p.Height());
        w.EndObject();
    }
    w.EndObject();

    StringMember(w, "Seller", tag.Owner().Seller);
    StringMember(w, "Price", tag.Owner().Price);
    StringMember(w, "DatePurchased", DateText(tag.Owner().DatePurchased));
    w.Key("Rating");
    w.UInt(tag.Popularimeter().Rating);
    w.Key("Counter");
    w.UInt(tag.Popularimeter().Counter);
    StringMember(w, "UserEmail", tag.Popularimeter().UserEmail);
    w.Key("PlayCounter");
    w.UInt(tag.PlayCounter());
    w.Key("EventTiming");
    w.BeginObject();
    w.Key("TimeStampFormat");
    w.UInt(tag.TimeStampFormat());
    w.Key("Events");
    w.BeginArray();
    for (const auto& e : tag.Events()) {
        w.BeginArray();
        w.UInt(e.Type);
        w.UInt(e.TimeStamp);
        w.EndArray();
    }
    w.EndArray();
    w.EndObject();
    StringMember(w, "CdIdentifier", Hex(tag.CdIdentifier()));
    w.EndObject();
}

} // namespace velmora::tags

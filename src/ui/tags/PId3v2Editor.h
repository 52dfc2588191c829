// The ID3v2 viewer's values by group: each entry reads and writes the text of one shown value.
#pragma once

#include <QString>
#include <QStringList>

class QComboBox;
class QLineEdit;

namespace velmora::ui {

// A single-valued row.
class TextValue {
public:
    TextValue() = default;
    explicit TextValue(QLineEdit* edit) : edit_(edit) {}
    QString Text() const;
    void SetText(const QString& text) const;
    QLineEdit* Widget() const { return edit_; }

private:
    QLineEdit* edit_ = nullptr;
};

// A list-valued row: setting the items selects the first one.
class ListValue {
public:
    ListValue() = default;
    explicit ListValue(QComboBox* box) : box_(box) {}
    QStringList Items() const;
    void SetItems(const QStringList& items) const;
    QComboBox* Widget() const { return box_; }

private:
    QComboBox* box_ = nullptr;
};

struct PInformation {
    TextValue FileName, TagPresent, TagSize, Unsynchro, Experimental, Extended, TagVersion;
};

struct PMisc {
    ListValue InvolvedPersons;
    TextValue Seller, Price, PurchasedThe, Counter, Rating, UserEmail;
};

struct PText1 {
    TextValue Creation, Title, SubTitle;
    ListValue Artists;
    TextValue Band, Conductor, RemixedBy;
    ListValue Composers, Lyricists, Languages;
};

struct PText2 {
    TextValue ContentType, Album, Part, Track, ISRC, Year, Date, Time, recordedAt, MediaType;
};

struct PText3 {
    TextValue BPM, Copyright, Publisher, EncodedBy, Encoder, OriginalFileName, Length, Size, Delay,
        InitialKey;
};

struct PText4 {
    TextValue OriginalAlbum;
    ListValue OriginalArtists, OriginalLyricists;
    TextValue OriginalYear, FileOwner, FileType, RadioName, RadioOwner;
    ListValue UserDefined;
};

struct PTexts {
    PText1 Text1;
    PText2 Text2;
    PText3 Text3;
    PText4 Text4;
};

struct PUrls {
    ListValue UserDefined;
    TextValue Commercial, Copyright, AudioFile, ArtistPage, AudioSource, RadioStation, Payment,
        Publishers;
};

struct PId3v2Editor {
    PInformation Informations;
    PMisc Misc;
    PTexts Texts;
    PUrls Urls;
};

} // namespace velmora::ui

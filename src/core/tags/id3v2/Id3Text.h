// The values of an ID3v2 tag's text frames.
#pragma once

#include "core/platform/StringList.h"
#include "core/tags/id3v2/Id3FileType.h"
#include "core/tags/id3v2/Id3MediaType.h"

#include <cstdint>
#include <string>

namespace velmora::tags {

// One field per understood text frame (the frame id is noted per field). Strings are UTF-8.
class Id3Text {
public:
    std::int32_t BPM = 0;                   // TBPM
    std::string Album;                      // TALB
    platform::StringList Composer;          // TCOM
    std::int32_t PlaylistDelay = 0;         // TDLY, milliseconds
    std::string Copyright;                  // TCOP
    std::string EncodedBy;                  // TENC
    std::string Date;                       // TDAT
    platform::StringList Lyricists;         // TEXT
    ID3FileType FileType = ftUNKNOWN;       // TFLT
    std::string Time;                       // TIME
    std::string InitialKey;                 // TKEY
    std::string ContentGroup;               // TIT1 and TCON, the later frame wins
    std::string SubTitle;                   // TIT3
    std::string ContentDescription;         // TIT2, the song title
    platform::StringList Languages;         // TLAN
    std::string Length;                     // TLEN
    ID3MediaType MediaType = mtUNKNOWN;     // TMED
    std::string OriginalTitle;              // TOAL
    std::string OriginalFileName;           // TOFN
    platform::StringList OriginalLyricists; // TOLY
    platform::StringList OriginalArtist;    // TOPE
    std::string FileOwner;                  // TOWN
    std::string OriginalReleaseYear;        // TORY
    platform::StringList Performers;        // TPE1
    std::string Conductor;                  // TPE3
    std::string ModifiedBy;                 // TPE4
    std::string Band;                       // TPE2
    std::string PartOf;                     // TPOS
    std::string Publisher;                  // TPUB
    std::string TrackNumber;                // TRCK
    std::string RecordingDate;              // TRDA
    std::string InternetRadioName;          // TRSN
    std::string InternetRadioOwner;         // TRSO
    std::int32_t Size = 0;                  // TSIZ, bytes
    std::string ISRC;                       // TSRC
    std::string EncodingSoftware;           // TSSE
    std::string Year;                       // TYER

    // TIT1 and TCON share one field, known under both names.
    const std::string& Content() const { return ContentGroup; }

    void Reset();
};

} // namespace velmora::tags

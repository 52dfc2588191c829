// The URLs of an ID3v2 tag's URL frames.
#pragma once

#include <string>

namespace velmora::tags {

class Id3Web {
public:
    std::string OfficialAudio;        // WOAF
    std::string InternetRadioStation; // WORS
    std::string Publishers;           // WPUB
    std::string OfficialAudioSource;  // WOAS
    std::string Payment;              // WPAY
    std::string LegalInfo;            // WCOP
    std::string CommercialInfo;       // WCOM
    std::string OfficialArtist;       // WOAR

    void Reset() { *this = Id3Web(); }
};

} // namespace velmora::tags

// What one frame of a read tag held, in file order, for inspection tools.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velmora::tags {

enum class Id3FrameKind : std::uint8_t {
    Unknown,       // not understood, encrypted, undecodable or cut off: only Id and DataLen
    Text,          // T*** except TXXX, TIPL, TMCL
    UserText,      // TXXX
    Url,           // W*** except WXXX
    UserUrl,       // WXXX
    People,        // IPLS, TIPL, TMCL
    Picture,       // APIC, PIC
    PlayCounter,   // PCNT
    Popularimeter, // POPM
    Ownership,     // OWNE
    EventTiming,   // ETCO
    CdIdentifier,  // MCDI
};

struct Id3Frame {
    std::string Id; // as stored (three characters in version 2.2 tags)
    Id3FrameKind Kind = Id3FrameKind::Unknown;
    std::uint32_t DataLen = 0; // the frame size from its header; for pictures the image bytes

    std::vector<std::string> Text;                              // Text, UserText
    std::string Description;                                    // UserText, UserUrl, Picture
    std::string Url;                                            // Url, UserUrl
    std::vector<std::pair<std::string, std::string>> People;    // People: (role, name)
    std::string Mime;                                           // Picture (v2.2: image format)
    std::uint8_t PictureType = 0;                               // Picture
    std::optional<std::uint64_t> Count;                         // PlayCounter, Popularimeter
    std::string Email;                                          // Popularimeter
    std::uint8_t Rating = 0;                                    // Popularimeter
    std::string Price, Date, Seller;                            // Ownership
    std::uint8_t TimeStampFormat = 0;                           // EventTiming
    std::vector<std::pair<std::uint8_t, std::uint32_t>> Events; // EventTiming: (type, time)
    std::vector<std::uint8_t> Data;                             // CdIdentifier
};

} // namespace velmora::tags

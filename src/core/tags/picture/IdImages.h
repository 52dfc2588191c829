// Attached pictures (APIC frames): one picture and one description per picture type.
#pragma once

#include "core/tags/picture/IdPicture.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::tags {

// The 21 picture types of the APIC picture-type byte, as (byte, property name).
#define VELMORA_ID3_PICTURE_TYPES(X)                                                               \
    X(0, Other)                                                                                    \
    X(1, FileIcon)                                                                                 \
    X(2, OtherIcon)                                                                                \
    X(3, CoverFront)                                                                               \
    X(4, CoverBack)                                                                                \
    X(5, Leaflet)                                                                                  \
    X(6, Media)                                                                                    \
    X(7, LeadArtist)                                                                               \
    X(8, Artist)                                                                                   \
    X(9, Conductor)                                                                                \
    X(10, Band)                                                                                    \
    X(11, Composer)                                                                                \
    X(12, Lyricist)                                                                                \
    X(13, recordingLocation)                                                                       \
    X(14, DuringRecording)                                                                         \
    X(15, DuringPerformance)                                                                       \
    X(16, MovieCapture)                                                                            \
    X(17, ColouredFish)                                                                            \
    X(18, Illustration)                                                                            \
    X(19, BandLogo)                                                                                \
    X(20, PublisherLogo)

inline constexpr int kPictureTypeCount = 21;

// The property name of a picture type byte ("CoverFront"); empty above 20.
std::string_view PictureTypeName(int type);

// One picture per type; a type above 20 is never stored.
class IdPictures {
public:
    const IdPicture& Get(int type) const;
    void Set(int type, IdPicture picture);
    void Reset();
    // The encoded bytes held by all pictures together.
    std::size_t DataSize() const;

#define VELMORA_ID3_PICTURE_ACCESSORS(n, Name)                                                     \
    const IdPicture& Name() const {                                                                \
        return items_[n];                                                                          \
    }                                                                                              \
    void Set##Name(const IdPicture& p) {                                                           \
        items_[n] = p;                                                                             \
    }
    VELMORA_ID3_PICTURE_TYPES(VELMORA_ID3_PICTURE_ACCESSORS)
#undef VELMORA_ID3_PICTURE_ACCESSORS

private:
    std::array<IdPicture, kPictureTypeCount> items_;
};

// One description per picture type.
class IdPicturesDesc {
public:
    const std::string& Get(int type) const;
    void Set(int type, const std::string& description);
    void Reset();

#define VELMORA_ID3_PICTURE_ACCESSORS(n, Name)                                                     \
    const std::string& Name() const {                                                              \
        return items_[n];                                                                          \
    }                                                                                              \
    void Set##Name(const std::string& s) {                                                         \
        items_[n] = s;                                                                             \
    }
    VELMORA_ID3_PICTURE_TYPES(VELMORA_ID3_PICTURE_ACCESSORS)
#undef VELMORA_ID3_PICTURE_ACCESSORS

private:
    std::array<std::string, kPictureTypeCount> items_;
};

class IdImages {
public:
    IdPictures Pictures;
    IdPicturesDesc Infos;

    void Reset() {
        Pictures.Reset();
        Infos.Reset();
    }
};

} // namespace velmora::tags

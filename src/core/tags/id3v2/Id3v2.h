// The ID3v2 tag reader: header, frames and their decoding into the tag's data objects.
#pragma once

#include "core/platform/FileStream.h"
#include "core/tags/id3v2/ID3UDText.h"
#include "core/tags/id3v2/ID3UDUrl.h"
#include "core/tags/id3v2/Id3Frame.h"
#include "core/tags/id3v2/Id3Owner.h"
#include "core/tags/id3v2/Id3Popularimeter.h"
#include "core/tags/id3v2/Id3ReadBudget.h"
#include "core/tags/id3v2/Id3Text.h"
#include "core/tags/id3v2/Id3Web.h"
#include "core/tags/id3v2/IdIpl.h"
#include "core/tags/picture/IdImages.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::tags {

// One entry of the event timing codes (ETCO). Types 0-20 keep their byte, 253 ("audio end")
// is 21, 254 ("audio file ends") is 22; any other byte has no defined meaning and reads as 0.
struct Id3EventTiming {
    std::uint32_t TimeStamp = 0;
    std::uint8_t Type = 0;
};

class Id3v2 {
public:
    static constexpr int kMaxFrames = 50000;
    static constexpr int kMaxEvents = 1001;
    static constexpr std::size_t kCdIdentifierSize = 804;
    // What is decoded of a frame: the data after the encoding byte of text and involved-people
    // frames, the whole data of URL frames; the rest of a longer frame is skipped.
    static constexpr std::size_t kTextCapacity = 64000;
    static constexpr std::size_t kUrlCapacity = 64001;
    // At most this much of a tag is read into memory; frames beyond it are not read.
    static constexpr std::size_t kMaxTagBytes = std::size_t{32} << 20;
    // The encoded bytes all kept pictures may hold together; a picture beyond it is not kept.
    static constexpr std::size_t kMaxPictureBytes = std::size_t{32} << 20;

    using EventTimingEvent =
        std::function<void(Id3v2& sender, std::uint32_t timeStamp, std::uint8_t eventType)>;

    Id3v2();

    const std::string& FileName() const { return fileName_; }
    // Clears every value and reads the tag of the named regular file, when it exists. A file
    // that exists but cannot be opened raises the stream's EFOpenError.
    void SetFileName(const std::string& fileName);

    // Reads one tag from the stream's current position. Running out of memory ends the read
    // quietly with what was read so far; no std::bad_alloc escapes.
    void LoadFromStream(platform::FileStream& stream);
    // Reads one tag from bytes in memory (the start of a file).
    void LoadFromMemory(const std::uint8_t* data, std::size_t size);

    // Fires OnEventTiming for every stored event whose time stamp lies after the value of the
    // previous call and up to value; a value below the previous one starts again from 0.
    void CheckEvent(std::uint32_t value);
    EventTimingEvent OnEventTiming;

    // Pictures are kept (their headers read through the picture registry, their pixels decoded
    // on demand, see IdPicture) unless this is switched off; the descriptions are read either way.
    bool DecodePictures() const { return decodePictures_; }
    void SetDecodePictures(bool on) { decodePictures_ = on; }

    bool TagPresent() const { return tagPresent_; }
    double Version() const { return majorVersion_ + revision_ / 100.0; }
    int MajorVersion() const { return majorVersion_; }
    int Revision() const { return revision_; }
    bool Unsynchronisation() const { return unsynchronisation_; }
    bool ExtendedHeader() const { return extendedHeader_; }
    bool Experimental() const { return experimental_; }
    // Header flag bit 4 of version 2.4 tags.
    bool Footer() const { return footer_; }
    std::int32_t TagSize() const { return tagSize_; }

    const Id3Text& Texts() const { return texts_; }
    const ID3UDText& UserDefinedText() const { return userDefinedText_; }
    ID3UDText& UserDefinedText() { return userDefinedText_; }
    const Id3Web& Web() const { return web_; }
    const ID3UDUrl& UserDefinedWeb() const { return userDefinedWeb_; }
    ID3UDUrl& UserDefinedWeb() { return userDefinedWeb_; }
    const IdIpl& InvolvedPeople() const { return involvedPeople_; }
    IdIpl& InvolvedPeople() { return involvedPeople_; }
    const IdImages& Images() const { return images_; }
    const Id3Owner& Owner() const { return owner_; }
    const Id3Popularimeter& Popularimeter() const { return popularimeter_; }
    std::uint64_t PlayCounter() const { return playCounter_; }

    std::uint8_t TimeStampFormat() const { return timeStampFormat_; }
    const std::vector<Id3EventTiming>& Events() const { return events_; }
    // Raw data of the MCDI frame, at most kCdIdentifierSize bytes.
    const std::vector<std::uint8_t>& CdIdentifier() const { return cdIdentifier_; }

    // Every frame of the last tag read, in file order.
    const std::vector<Id3Frame>& Frames() const { return frames_; }

private:
    using Source = std::function<std::size_t(std::uint8_t*, std::size_t)>;

    void Reset();
    void Load(const Source& read, std::size_t sizeHint);
    // Reads the tag after its header into memory and decodes its frames.
    void ReadTag(const Source& read, std::size_t sizeHint);
    std::size_t SkipExtendedHeader(const std::vector<std::uint8_t>& tag) const;
    bool SizesAreSyncsafe(const std::vector<std::uint8_t>& tag, std::size_t start) const;
    void ReadFrames(const std::vector<std::uint8_t>& tag, std::size_t pos);
    void DecodeFrame(Id3Frame& frame, std::uint16_t flags, const std::uint8_t* p, std::size_t n);
    // Charges what a frame record keeps to the budget, dropping what no longer fits.
    void KeepRecord(Id3Frame& frame);
    // Adds a pair to a pair list when the budget allows.
    void AddPair(Id3PairList& list, const std::string& first, const std::string& second);
    // A frame decoder: the frame's id (version 2.3 form), its data, and the buffer the data
    // lies in when it is a copy the decoder may take over (own).
    using Decoder = void (Id3v2::*)(Id3Frame& frame, const std::string& id, const std::uint8_t* p,
                                    std::size_t n, std::vector<std::uint8_t>* own);
    struct FrameRule {
        std::string_view id;
        std::size_t capacity; // the most of the frame's data that is read
        Decoder decode;       // none: the frame is only listed
    };
    static const FrameRule& FindFrameRule(std::string_view id);
    void DecodeText(Id3Frame&, const std::string&, const std::uint8_t*, std::size_t,
                    std::vector<std::uint8_t>*);
    void DecodeUserText(Id3Frame&, const std::string&, const std::uint8_t*, std::size_t,
                        std::vector<std::uint8_t>*);
    void DecodeUrl(Id3Frame&, const std::string&, const std::uint8_t*, std::size_t,
                   std::vector<std::uint8_t>*);
    void DecodeUserUrl(Id3Frame&, const std::string&, const std::uint8_t*, std::size_t,
                       std::vector<std::uint8_t>*);
    void DecodePeople(Id3Frame&, const std::string&, const std::uint8_t*, std::size_t,
                      std::vector<std::uint8_t>*);
    void DecodePicture(Id3Frame&, const std::string&, const std::uint8_t*, std::size_t,
                       std::vector<std::uint8_t>*);
    IdPicture KeepPicture(int type, const std::string& ext, const std::uint8_t* data,
                          std::size_t size, std::vector<std::uint8_t>* own);
    void DecodePlayCounter(Id3Frame&, const std::string&, const std::uint8_t*, std::size_t,
                           std::vector<std::uint8_t>*);
    void DecodePopularimeter(Id3Frame&, const std::string&, const std::uint8_t*, std::size_t,
                             std::vector<std::uint8_t>*);
    void DecodeOwnership(Id3Frame&, const std::string&, const std::uint8_t*, std::size_t,
                         std::vector<std::uint8_t>*);
    void DecodeEventTiming(Id3Frame&, const std::string&, const std::uint8_t*, std::size_t,
                           std::vector<std::uint8_t>*);
    void DecodeCdIdentifier(Id3Frame&, const std::string&, const std::uint8_t*, std::size_t,
                            std::vector<std::uint8_t>*);
    // The value of a single-valued text field: the first string, or in version 2.4, where
    // strings are a list, all of them joined by "/".
    std::string SingleValue(const std::vector<std::string>& items) const;

    std::string fileName_;
    bool decodePictures_ = true;
    bool tagPresent_ = false;
    int majorVersion_ = 0;
    int revision_ = 0;
    bool unsynchronisation_ = false;
    bool extendedHeader_ = false;
    bool experimental_ = false;
    bool footer_ = false;
    std::int32_t tagSize_ = 0;

    Id3Text texts_;
    ID3UDText userDefinedText_;
    Id3Web web_;
    ID3UDUrl userDefinedWeb_;
    IdIpl involvedPeople_;
    IdImages images_;
    Id3Owner owner_;
    Id3Popularimeter popularimeter_;
    std::uint64_t playCounter_ = 0;
    std::uint8_t timeStampFormat_ = 0;
    std::vector<Id3EventTiming> events_;
    std::vector<std::uint8_t> cdIdentifier_;
    std::vector<Id3Frame> frames_;
    Id3ReadBudget budget_;

    std::uint32_t previousEventValue_ = 0;
    bool eventRangeOpen_ = true; // the previous value itself still counts (nothing checked yet)
};

} // namespace velmora::tags

// Fuzz target: any bytes as the start of a file, read as an ID3v2 tag, its pictures decoded one
// at a time as the viewer shows them, and the tag printed as JSON.
#include "core/platform/Utf8.h"
#include "core/tags/id3v2/Id3v2.h"
#include "core/tags/id3v2/Id3v2Json.h"
#include "core/tags/picture/JpegImage.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static bool registered = (tags::RegisterJpegImage(), true);
    (void)registered;
    tags::Id3v2 tag;
    tag.LoadFromMemory(data, size);
    if (tag.Frames().size() > static_cast<std::size_t>(tags::Id3v2::kMaxFrames) ||
        tag.Events().size() > static_cast<std::size_t>(tags::Id3v2::kMaxEvents) ||
        tag.CdIdentifier().size() > tags::Id3v2::kCdIdentifierSize ||
        tag.Images().Pictures.DataSize() > std::min(size, tags::Id3v2::kMaxPictureBytes))
        std::abort();
    for (int type = 0; type < tags::kPictureTypeCount; ++type) {
        const platform::Picture p = tag.Images().Pictures.Get(type).Decode();
        if (std::int64_t{p.Width} * p.Height > platform::PictureLoader::kDefaultMaxPixels)
            std::abort();
    }
    int fired = 0;
    tag.OnEventTiming = [&](tags::Id3v2&, std::uint32_t, std::uint8_t) { ++fired; };
    tag.CheckEvent(1000);
    tag.CheckEvent(0xFFFFFFFFu);
    tags::JsonWriter w;
    tags::Id3v2Json::Write(w, tag);
    if (!platform::IsValidUtf8(w.Text())) std::abort();
    // Kept strings and inflated bytes grow with the tag's size; every byte of either prints
    // as at most a six-character escape, in a frame record and a field of the model.
    if (w.Text().size() > 100 * size + (std::size_t{2} << 20)) std::abort();
    return 0;
}

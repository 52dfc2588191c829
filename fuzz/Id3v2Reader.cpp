// Fuzz target: any bytes as the start of a file, read as an ID3v2 tag and printed as JSON.
#include "core/platform/Utf8.h"
#include "core/tags/Id3v2.h"
#include "core/tags/Id3v2Json.h"
#include "core/tags/JpegImage.h"

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
        tag.CdIdentifier().size() > tags::Id3v2::kCdIdentifierSize)
        std::abort();
    int fired = 0;
    tag.OnEventTiming = [&](tags::Id3v2&, std::uint32_t, std::uint8_t) { ++fired; };
    tag.CheckEvent(1000);
    tag.CheckEvent(0xFFFFFFFFu);
    tags::JsonWriter w;
    tags::Id3v2Json::Write(w, tag);
    if (!platform::IsValidUtf8(w.Text())) std::abort();
    return 0;
}

// The JSON form of a read ID3v2 tag: header, frames in file order and the decoded values.
#pragma once

#include "core/tags/id3v2/Id3v2.h"
#include "core/tags/id3v2/JsonWriter.h"

namespace velmora::tags {

class Id3v2Json {
public:
    // Writes null when the tag is absent, otherwise an object with "version", "size",
    // "flags", "frames" and "model".
    static void Write(JsonWriter& w, const Id3v2& tag);
    static void WriteFrame(JsonWriter& w, const Id3Frame& frame);
    static void WriteModel(JsonWriter& w, const Id3v2& tag);
};

} // namespace velmora::tags

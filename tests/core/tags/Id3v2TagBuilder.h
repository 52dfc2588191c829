// Builds ID3v2 tag bytes inline for the reader tests.
#pragma once

#include "core/tags/id3v2/Id3v2.h"

#include <cstdint>
#include <string>
#include <zlib.h>

namespace velmora::tags::test {

using Bytes = std::string;

inline Bytes BigEndian32(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}

inline Bytes Syncsafe32(std::uint32_t v) {
    return {static_cast<char>((v >> 21) & 0x7F), static_cast<char>((v >> 14) & 0x7F),
            static_cast<char>((v >> 7) & 0x7F), static_cast<char>(v & 0x7F)};
}

inline Bytes Flags(std::uint16_t f) {
    return {static_cast<char>(f >> 8), static_cast<char>(f)};
}

// A version 2.3 frame (plain 32-bit size).
inline Bytes Frame3(const std::string& id, const Bytes& data, std::uint16_t flags = 0) {
    return id + BigEndian32(static_cast<std::uint32_t>(data.size())) + Flags(flags) + data;
}

// A version 2.4 frame; syncsafe size unless plain is asked for.
inline Bytes Frame4(const std::string& id, const Bytes& data, std::uint16_t flags = 0,
                    bool plainSize = false) {
    auto n = static_cast<std::uint32_t>(data.size());
    return id + (plainSize ? BigEndian32(n) : Syncsafe32(n)) + Flags(flags) + data;
}

// A version 2.2 frame (3-character id, 3-byte size).
inline Bytes Frame2(const std::string& id, const Bytes& data) {
    auto n = static_cast<std::uint32_t>(data.size());
    return id + Bytes{static_cast<char>(n >> 16), static_cast<char>(n >> 8), static_cast<char>(n)} +
           data;
}

// A tag: header plus body plus padding zeros; the header's size covers body and padding.
inline Bytes Tag(int major, const Bytes& body, std::uint8_t flags = 0, std::size_t padding = 0) {
    Bytes b = body + Bytes(padding, '\0');
    return Bytes("ID3") + static_cast<char>(major) + '\0' + static_cast<char>(flags) +
           Syncsafe32(static_cast<std::uint32_t>(b.size())) + b;
}

// Text-frame data: encoding byte plus text.
inline Bytes Latin1Text(const Bytes& s) {
    return Bytes(1, '\0') + s;
}

// Text frames holding ISO 8859-1 text.
inline Bytes Text3(const std::string& id, const Bytes& s) {
    return Frame3(id, Latin1Text(s));
}
inline Bytes Text4(const std::string& id, const Bytes& s) {
    return Frame4(id, Latin1Text(s));
}

inline Bytes Utf8Text(const Bytes& s) {
    return Bytes(1, '\x03') + s;
}

// UTF-16 code units as little-endian bytes (no mark).
inline Bytes Le(const std::u16string& s) {
    Bytes b;
    for (char16_t c : s)
        b += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    return b;
}
inline Bytes Be(const std::u16string& s) {
    Bytes b;
    for (char16_t c : s)
        b += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
    return b;
}
inline const Bytes kBomLe("\xFF\xFE", 2);
inline const Bytes kBomBe("\xFE\xFF", 2);
inline const Bytes kZero16("\0\0", 2);

inline const std::uint8_t* U(const Bytes& b) {
    return reinterpret_cast<const std::uint8_t*>(b.data());
}

inline void Read(Id3v2& tag, const Bytes& bytes) {
    tag.LoadFromMemory(U(bytes), bytes.size());
}

// A version 2.3 tag holding frames, read.
inline Id3v2 Read3(const Bytes& frames) {
    Id3v2 tag;
    Read(tag, Tag(3, frames));
    return tag;
}

// zlib data of in.
inline Bytes Compress(const Bytes& in) {
    uLongf n = compressBound(in.size());
    Bytes out(n, '\0');
    compress(reinterpret_cast<Bytef*>(out.data()), &n, U(in), in.size());
    out.resize(n);
    return out;
}

} // namespace velmora::tags::test

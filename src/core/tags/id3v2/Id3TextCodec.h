// Decoding of ID3v2 strings by their encoding byte into UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora::tags {

// The encoding byte of text-bearing frames (ID3v2.4 section 4).
enum class TextEncoding : std::uint8_t {
    Latin1 = 0,  // ISO-8859-1
    Utf16 = 1,   // UTF-16 with a byte-order mark; little-endian when the mark is missing
    Utf16BE = 2, // UTF-16 big-endian
    Utf8 = 3,
};

class Id3TextCodec {
public:
    // Unknown encoding bytes are read as ISO-8859-1, which cannot fail and loses no byte.
    explicit Id3TextCodec(std::uint8_t encodingByte);

    TextEncoding Encoding() const { return encoding_; }
    // 1 for the single-byte encodings, 2 for UTF-16.
    std::size_t TerminatorWidth() const;
    // Offset of the first terminator at or after `from` (aligned to whole UTF-16 units counted
    // from `from`), or size when there is none.
    std::size_t FindTerminator(const std::uint8_t* data, std::size_t size,
                               std::size_t from = 0) const;

    // One string without terminators. Invalid sequences become U+FFFD. A UTF-16 string without
    // a byte-order mark keeps the byte order of the previous string of this codec.
    std::string Decode(const std::uint8_t* data, std::size_t size);

    // Reads a terminated string at pos and moves pos past its terminator (or to the end).
    std::string ReadTerminated(const std::uint8_t* data, std::size_t size, std::size_t& pos);

    // The strings of a terminator-separated list, at most maxItems of them (at least one).
    // Terminators at the very end only close the list, and a half UTF-16 unit there is dropped.
    // Empty data gives one empty string.
    std::vector<std::string> DecodeList(const std::uint8_t* data, std::size_t size,
                                        std::size_t maxItems = SIZE_MAX);

private:
    TextEncoding encoding_;
    bool bigEndian_;
};

} // namespace velmora::tags

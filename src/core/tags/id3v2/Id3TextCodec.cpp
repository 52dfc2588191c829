// ISO-8859-1, UTF-16 and UTF-8 tag strings to UTF-8.
#include "core/tags/id3v2/Id3TextCodec.h"

#include "core/platform/Utf8.h"

#include <algorithm>
#include <string_view>

namespace velmora::tags {

namespace {
constexpr char32_t kReplacement = 0xFFFD;

std::string DecodeLatin1(const std::uint8_t* p, std::size_t n) {
    std::string out;
    out.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        platform::AppendUtf8(out, p[i]);
    return out;
}

std::string DecodeUtf8(const std::uint8_t* p, std::size_t n) {
    std::string_view bytes(reinterpret_cast<const char*>(p), n);
    if (platform::IsValidUtf8(bytes)) return std::string(bytes);
    // The lossless decoder marks invalid bytes as U+DC80..DCFF; tag text shows them as U+FFFD.
    std::u32string text = platform::DecodeUtf8(bytes);
    for (char32_t& c : text)
        if (c >= 0xDC80 && c <= 0xDCFF) c = kReplacement;
    return platform::EncodeUtf8(text);
}

std::string DecodeUtf16(const std::uint8_t* p, std::size_t n, bool bigEndian) {
    std::string out;
    out.reserve(n);
    auto unit = [&](std::size_t i) -> char32_t {
        return bigEndian ? (p[i] << 8 | p[i + 1]) : (p[i + 1] << 8 | p[i]);
    };
    std::size_t i = 0;
    // An odd last byte is half a unit and carries no character.
    while (i + 1 < n) {
        char32_t c = unit(i);
        i += 2;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 < n) {
                char32_t low = unit(i);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    i += 2;
                    c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                } else {
                    c = kReplacement;
                }
            } else {
                c = kReplacement;
            }
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            c = kReplacement;
        }
        platform::AppendUtf8(out, c);
    }
    return out;
}
} // namespace

Id3TextCodec::Id3TextCodec(std::uint8_t encodingByte)
    : encoding_(encodingByte <= 3 ? static_cast<TextEncoding>(encodingByte) : TextEncoding::Latin1),
      bigEndian_(encoding_ == TextEncoding::Utf16BE) {}

std::size_t Id3TextCodec::TerminatorWidth() const {
    return encoding_ == TextEncoding::Utf16 || encoding_ == TextEncoding::Utf16BE ? 2 : 1;
}

std::size_t Id3TextCodec::FindTerminator(const std::uint8_t* data, std::size_t size,
                                         std::size_t from) const {
    if (TerminatorWidth() == 1) {
        for (std::size_t i = from; i < size; ++i)
            if (data[i] == 0) return i;
        return size;
    }
    for (std::size_t i = from; i + 1 < size; i += 2)
        if (data[i] == 0 && data[i + 1] == 0) return i;
    return size;
}

std::string Id3TextCodec::Decode(const std::uint8_t* data, std::size_t size) {
    switch (encoding_) {
    case TextEncoding::Latin1:
        return DecodeLatin1(data, size);
    case TextEncoding::Utf8:
        return DecodeUtf8(data, size);
    case TextEncoding::Utf16:
    case TextEncoding::Utf16BE:
        break;
    }
    // A byte-order mark wins over the encoding byte's default order: writers mislabel both ways.
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
        bigEndian_ = false;
        data += 2, size -= 2;
    } else if (size >= 2 && data[0] == 0xFE && data[1] == 0xFF) {
        bigEndian_ = true;
        data += 2, size -= 2;
    }
    return DecodeUtf16(data, size, bigEndian_);
}

std::string Id3TextCodec::ReadTerminated(const std::uint8_t* data, std::size_t size,
                                         std::size_t& pos) {
    if (pos >= size) return {};
    std::size_t end = FindTerminator(data, size, pos);
    std::string s = Decode(data + pos, end - pos);
    pos = end >= size ? size : std::min(size, end + TerminatorWidth());
    return s;
}

std::vector<std::string> Id3TextCodec::DecodeList(const std::uint8_t* data, std::size_t size,
                                                  std::size_t maxItems) {
    // Terminators at the end close the list; writers pad fields with several of them.
    const std::size_t width = TerminatorWidth();
    size -= size % width;
    while (size >= width && data[size - 1] == 0 && data[size - width] == 0)
        size -= width;
    std::vector<std::string> items;
    std::size_t pos = 0;
    for (;;) {
        std::size_t end = FindTerminator(data, size, pos);
        items.push_back(Decode(data + pos, end - pos));
        if (end >= size || items.size() >= maxItems) break;
        pos = end + width;
    }
    return items;
}

} // namespace velmora::tags

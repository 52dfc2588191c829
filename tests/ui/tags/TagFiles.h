// Audio files with ID3 tags written into a real temporary folder, for the panel tests.
#pragma once

#include "core/tags/Id3v1TrailerBuilder.h"
#include "core/tags/Id3v2TagBuilder.h"
#include "core/tags/JpegEncode.h"
#include "support/TempDir.h"

#include <QBuffer>
#include <QImage>
#include <string>

namespace velmora::test {

using tags::test::Bytes;
using tags::test::Trailer;

// Bytes that stand for audio data.
inline Bytes Audio(std::size_t n = 1000) {
    Bytes b(n, '\0');
    for (std::size_t i = 0; i < n; ++i)
        b[i] = static_cast<char>(i * 7);
    return b;
}

// An APIC frame of a version 2.3 tag.
inline Bytes Apic(int type, const Bytes& description, const Bytes& data,
                  const Bytes& mime = "image/jpeg") {
    return tags::test::Frame3("APIC", Bytes(1, '\0') + mime + Bytes(1, '\0') +
                                          static_cast<char>(type) + description + Bytes(1, '\0') +
                                          data);
}

inline Bytes JpegOf(int width, int height) {
    std::vector<std::uint8_t> samples(static_cast<std::size_t>(width * height * 3), 0x80);
    auto v = tags::test::EncodeJpeg(width, height, JCS_RGB, 3, samples);
    return {v.begin(), v.end()};
}

inline Bytes ImageOf(int width, int height, const char* format) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toStdString();
}

} // namespace velmora::test

// Compresses test pictures into JPEG bytes with libjpeg.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

namespace velmora::tags::test {

// width x height samples of the given colour space, optionally tweaking the compressor.
inline std::vector<std::uint8_t>
EncodeJpeg(int width, int height, J_COLOR_SPACE space, int components,
           const std::vector<std::uint8_t>& samples,
           const std::function<void(jpeg_compress_struct&)>& tweak = {}) {
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long length = 0;
    jpeg_mem_dest(&c, &buffer, &length);
    c.image_width = static_cast<JDIMENSION>(width);
    c.image_height = static_cast<JDIMENSION>(height);
    c.input_components = components;
    c.in_color_space = space;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 100, TRUE);
    if (tweak) tweak(c);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<JSAMPLE*>(&samples[c.next_scanline * width * components]);
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    std::vector<std::uint8_t> out(buffer, buffer + length);
    std::free(buffer);
    jpeg_destroy_compress(&c);
    return out;
}

} // namespace velmora::tags::test

// JPEG decompression through libjpeg's release-6 interface.
#include "core/tags/picture/JpegImage.h"

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <mutex>

extern "C" {
#include <jerror.h>
#include <jpeglib.h>
}

namespace velmora::tags {

using platform::Picture;

namespace {

// libjpeg's error_exit must not return. It jumps back into Decode, which frees the
// decompressor before the error is raised as an exception on the C++ side: an exception
// thrown through libjpeg's C frames would not be safe.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings (corrupt data that libjpeg decodes around) are not printed.
void OutputMessage(j_common_ptr) {}

void ProgressMonitor(j_common_ptr cinfo) {
    auto* dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (dinfo->input_scan_number > JpegImage::MaxScans) ERREXIT(cinfo, JERR_IMAGE_TOO_BIG);
}

std::uint32_t Rgb(unsigned r, unsigned g, unsigned b) {
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

void ConvertRow(const JSAMPLE* in, std::uint32_t* out, JDIMENSION width, J_COLOR_SPACE space,
                bool invertedCmyk) {
    switch (space) {
    case JCS_GRAYSCALE:
        for (JDIMENSION x = 0; x < width; ++x)
            out[x] = Rgb(in[x], in[x], in[x]);
        break;
    case JCS_CMYK:
        // Adobe's files (the ones carrying its marker) store CMYK inverted: 255 is no ink.
        for (JDIMENSION x = 0; x < width; ++x, in += 4) {
            unsigned c = in[0], m = in[1], y = in[2], k = in[3];
            if (!invertedCmyk) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
            out[x] = Rgb((c * k + 127) / 255, (m * k + 127) / 255, (y * k + 127) / 255);
        }
        break;
    default:
        for (JDIMENSION x = 0; x < width; ++x, in += 3)
            out[x] = Rgb(in[0], in[1], in[2]);
        break;
    }
}

// Decodes into picture (only its size when headerOnly), or returns false with libjpeg's message
// code. A longjmp from libjpeg lands here, so this frame holds no object with a destructor.
bool Decode(const std::uint8_t* data, std::size_t size, std::int64_t maxPixels, bool headerOnly,
            Picture& picture, int& code) {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    jpeg_progress_mgr progress{};
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = ErrorExit;
    err.pub.output_message = OutputMessage;
    progress.progress_monitor = ProgressMonitor;
    if (setjmp(err.jump)) {
        code = err.pub.msg_code;
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = JpegImage::MaxDecoderMemory;
    cinfo.progress = &progress;
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    if (headerOnly) {
        picture.Width = static_cast<int>(cinfo.image_width);
        picture.Height = static_cast<int>(cinfo.image_height);
        jpeg_destroy_decompress(&cinfo);
        return true;
    }
    switch (cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
        cinfo.out_color_space = JCS_GRAYSCALE;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        cinfo.out_color_space = JCS_CMYK;
        break;
    default:
        cinfo.out_color_space = JCS_RGB;
        break;
    }
    const std::int64_t fullPixels = std::int64_t{cinfo.image_width} * cinfo.image_height;
    if (fullPixels > static_cast<std::int64_t>(size) * JpegImage::MaxPixelsPerByte)
        ERREXIT(&cinfo, JERR_IMAGE_TOO_BIG);
    // The smallest reduction that brings the picture within maxPixels.
    cinfo.scale_num = 1;
    for (unsigned denom = 1;; denom *= 2) {
        cinfo.scale_denom = denom;
        jpeg_calc_output_dimensions(&cinfo);
        if (std::int64_t{cinfo.output_width} * cinfo.output_height <= maxPixels) break;
        if (denom == 8) ERREXIT(&cinfo, JERR_IMAGE_TOO_BIG);
    }
    jpeg_start_decompress(&cinfo);

    const JDIMENSION width = cinfo.output_width;
    try {
        picture.Pixels.assign(std::size_t{width} * cinfo.output_height, 0);
    } catch (...) {
        jpeg_destroy_decompress(&cinfo);
        throw;
    }
    picture.Width = static_cast<int>(width);
    picture.Height = static_cast<int>(cinfo.output_height);
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                width * cinfo.output_components, 1);
    while (cinfo.output_scanline < cinfo.output_height) {
        const JDIMENSION y = cinfo.output_scanline;
        // The memory source never suspends, so every call delivers a row.
        jpeg_read_scanlines(&cinfo, row, 1);
        ConvertRow(row[0], picture.Pixels.data() + std::size_t{y} * width, width,
                   cinfo.out_color_space, cinfo.saw_Adobe_marker);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

} // namespace

EJpegError::EJpegError(int code)
    : platform::Exception(platform::Format("JPEG error #%d", {std::int64_t{code}})), code_(code) {}

platform::PictureSize JpegImage::ReadSize(const std::uint8_t* data, std::size_t size) const {
    Picture picture;
    int code = 0;
    if (!Decode(data, size, 0, true, picture, code)) throw EJpegError(code);
    return {picture.Width, picture.Height};
}

Picture JpegImage::Load(const std::uint8_t* data, std::size_t size, std::int64_t maxPixels) const {
    Picture picture;
    int code = 0;
    if (!Decode(data, size, maxPixels, false, picture, code)) throw EJpegError(code);
    return picture;
}

void RegisterJpegImage() {
    static std::once_flag once;
    std::call_once(once, [] {
        auto loader = std::make_shared<JpegImage>();
        auto& registry = platform::PictureRegistry::Instance();
        registry.Register("jpg", "JPEG Image File", loader);
        registry.Register("jpeg", "JPEG Image File", loader);
    });
}

} // namespace velmora::tags

#include "qt/jpeg_image.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace ep::qt {
namespace {

// libjpeg's default error handler ends the process; this one jumps back to the decoder instead.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void FailDecoding(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1); }

void IgnoreMessage(j_common_ptr) {}

// Kept free of objects with destructors: a longjmp out of libjpeg must skip nothing that needs one.
bool Decode(const unsigned char* data, unsigned long size, jpeg_decompress_struct& info, QImage& image) {
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = FailDecoding;
    errors.base.output_message = IgnoreMessage;
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_components != 3)
        FailDecoding(reinterpret_cast<j_common_ptr>(&info));
    image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), QImage::Format_RGB888);
    if (image.isNull())
        FailDecoding(reinterpret_cast<j_common_ptr>(&info));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

QImage DecodeJpeg(std::string_view bytes) {
    if (bytes.empty())
        return {};
    jpeg_decompress_struct info{};
    QImage image;
    if (!Decode(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()), info,
                image))
        return {};
    return image;
}

} // namespace ep::qt

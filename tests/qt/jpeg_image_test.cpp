#include "qt/jpeg_image.h"
#include "runtime/resources.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace ep::qt {
namespace {

/// A baseline JPEG of one colour, made with libjpeg itself.
std::string EncodeSolidJpeg(int width, int height, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row;
    for (int x = 0; x < width; ++x)
        row.insert(row.end(), {red, green, blue});
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

TEST(JpegImage, DecodesTheColoursAndSizeOfAPicture) {
    const QImage image = DecodeJpeg(EncodeSolidJpeg(24, 10, 200, 40, 90));
    ASSERT_EQ(image.size(), QSize(24, 10));
    for (const QPoint point : {QPoint(0, 0), QPoint(23, 9), QPoint(12, 5)}) {
        const QColor colour = image.pixelColor(point);
        EXPECT_NEAR(colour.red(), 200, 6);
        EXPECT_NEAR(colour.green(), 40, 6);
        EXPECT_NEAR(colour.blue(), 90, 6);
    }
}

TEST(JpegImage, DecodesTheWindowBackground) {
    const auto bytes = ProgramResource("background.jpg");
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(DecodeJpeg(*bytes).size(), QSize(808, 580));
}

TEST(JpegImage, BytesThatAreNoJpegGiveANullImageAndTheProgramGoesOn) {
    const std::string good = EncodeSolidJpeg(8, 8, 1, 2, 3);
    for (const std::string& bad :
         {std::string(), std::string("not a picture"), good.substr(0, 20), std::string(*ProgramResource("icon.png"))})
        EXPECT_TRUE(DecodeJpeg(bad).isNull()) << bad.size();
}

} // namespace
} // namespace ep::qt

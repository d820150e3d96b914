// A picture's size read from its file's first bytes, before any decoding.
#include "backends/image_header.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values)
        s += char(v);
    return s;
}

std::string Big16(uint32_t v) {
    return Bytes({int(v >> 8 & 255), int(v & 255)});
}
std::string Big32(uint32_t v) {
    return Big16(v >> 16) + Big16(v & 0xFFFF);
}
std::string Little16(uint32_t v) {
    return Bytes({int(v & 255), int(v >> 8 & 255)});
}
std::string Little32(uint32_t v) {
    return Little16(v & 0xFFFF) + Little16(v >> 16);
}

// The size read from the bytes, as "W x H", or "none".
std::string SizeOf(const std::string& file) {
    platform::ReadAt read = [&](uint64_t offset, unsigned char* buffer, size_t size) -> size_t {
        if (offset >= file.size()) return 0;
        size_t n = std::min(size, size_t(file.size() - offset));
        std::memcpy(buffer, file.data() + offset, n);
        return n;
    };
    uint32_t w = 0, h = 0;
    if (!platform::ImageSizeFromHeader(read, w, h)) return "none";
    return std::to_string(w) + " x " + std::to_string(h);
}

const std::string PngStart = Bytes({0x89, 'P', 'N', 'G', 13, 10, 26, 10}) + Big32(13) + "IHDR";

// A camera's JPEG: its metadata and thumbnail come before the frame header.
std::string Jpeg(uint32_t w, uint32_t h, int frameMarker = 0xC0) {
    std::string exif = Bytes({0xFF, 0xE1}) + Big16(60002) + std::string(60000, 'x');
    std::string tables = Bytes({0xFF, 0xDB}) + Big16(67) + std::string(65, 1);
    std::string frame = Bytes({0xFF, frameMarker}) + Big16(17) + Bytes({8}) + Big16(h) + Big16(w) +
                        std::string(10, 0);
    return Bytes({0xFF, 0xD8}) + exif + Bytes({0xFF, 0xFF}) + tables + frame + Bytes({0xFF, 0xDA}) +
           Big16(8) + std::string(100, 7);
}

} // namespace

TEST(ImageHeader, ReadsEachFormatsOwnSizeField) {
    EXPECT_EQ(SizeOf(PngStart + Big32(10000) + Big32(10000) + std::string(5, 0)), "10000 x 10000");
    EXPECT_EQ(SizeOf("GIF89a" + Little16(640) + Little16(480) + std::string(10, 0)), "640 x 480");
    EXPECT_EQ(SizeOf("GIF87a" + Little16(1) + Little16(2) + std::string(10, 0)), "1 x 2");
    EXPECT_EQ(SizeOf(Jpeg(6000, 4000)), "6000 x 4000");
    EXPECT_EQ(SizeOf(Jpeg(300, 200, 0xC2)), "300 x 200") << "progressive";
    std::string bmp = "BM" + std::string(12, 0) + Little32(40) + Little32(800) +
                      Little32(uint32_t(-600)) + std::string(30, 0);
    EXPECT_EQ(SizeOf(bmp), "800 x 600") << "rows stored top down";
    std::string oldBmp =
        "BM" + std::string(12, 0) + Little32(12) + Little16(32) + Little16(16) + std::string(10, 0);
    EXPECT_EQ(SizeOf(oldBmp), "32 x 16");
}

TEST(ImageHeader, TiffSizesAreFoundInEitherByteOrder) {
    std::string little = std::string("II*\0", 4) + Little32(8) + Little16(3) + Little16(259) +
                         Little16(3) + Little32(1) + Little32(1) + Little16(256) + Little16(4) +
                         Little32(1) + Little32(12000) + Little16(257) + Little16(3) + Little32(1) +
                         Little16(9000) + Little16(0);
    EXPECT_EQ(SizeOf(little), "12000 x 9000");
    std::string big = std::string("MM\0*", 4) + Big32(8) + Big16(2) + Big16(257) + Big16(3) +
                      Big32(1) + Big16(50) + Big16(0) + Big16(256) + Big16(3) + Big32(1) +
                      Big16(70) + Big16(0);
    EXPECT_EQ(SizeOf(big), "70 x 50");
}

TEST(ImageHeader, OtherFormatsAndHeadersCutShortGiveNoSize) {
    EXPECT_EQ(SizeOf(""), "none");
    EXPECT_EQ(SizeOf("<svg xmlns='http://www.w3.org/2000/svg'/>"), "none");
    EXPECT_EQ(SizeOf("RIFF" + Little32(100) + "WEBPVP8 " + std::string(20, 0)), "none");
    EXPECT_EQ(SizeOf(PngStart + Big32(100)), "none");
    std::string jpeg = Jpeg(6000, 4000);
    EXPECT_EQ(SizeOf(jpeg.substr(0, 30000)), "none") << "cut inside the metadata";
    EXPECT_EQ(SizeOf(Bytes({0xFF, 0xD8, 0xFF, 0xDA}) + Big16(8) + std::string(10, 0)), "none")
        << "image data before any frame header";
    std::string tiff = std::string("II*\0", 4) + Little32(8) + Little16(1) + Little16(256) +
                       Little16(3) + Little32(1) + Little32(70);
    EXPECT_EQ(SizeOf(tiff), "none") << "a width without a height";
}

#include "backends/image_header.h"

#include <cstring>

namespace platform {

namespace {

uint32_t Big(const unsigned char* p, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v = (v << 8) | p[i];
    return v;
}

uint32_t Little(const unsigned char* p, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

bool ReadExactly(const ReadAt& read, uint64_t offset, unsigned char* buffer, size_t size) {
    return read(offset, buffer, size) == size;
}

// Segments in order up to the frame header, whose size is the picture's;
// the metadata before it (a camera's EXIF and thumbnail) can run to 64 KB each.
bool JpegSize(const ReadAt& read, uint32_t& width, uint32_t& height) {
    uint64_t pos = 2;
    for (int segments = 0; segments < 1000; ++segments) {
        unsigned char s[9];
        if (!ReadExactly(read, pos, s, 4) || s[0] != 0xFF) return false;
        unsigned marker = s[1];
        if (marker == 0xFF) { // fill byte
            ++pos;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {
            pos += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) return false; // no frame before the data
        uint32_t length = Big(s + 2, 2);
        if (length < 2) return false;
        bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (!ReadExactly(read, pos, s, 9)) return false;
            height = Big(s + 5, 2);
            width = Big(s + 7, 2);
            return true;
        }
        pos += 2 + length;
    }
    return false;
}

bool TiffSize(const ReadAt& read, bool little, uint32_t& width, uint32_t& height) {
    auto number = [little](const unsigned char* p, int bytes) {
        return little ? Little(p, bytes) : Big(p, bytes);
    };
    unsigned char b[12];
    if (!ReadExactly(read, 4, b, 4)) return false;
    uint64_t ifd = number(b, 4);
    if (!ReadExactly(read, ifd, b, 2)) return false;
    uint32_t entries = number(b, 2);
    bool haveWidth = false, haveHeight = false;
    for (uint32_t i = 0; i < entries && i < 1000; ++i) {
        if (!ReadExactly(read, ifd + 2 + 12 * uint64_t(i), b, 12)) return false;
        uint32_t tag = number(b, 2), type = number(b + 2, 2);
        if (tag != 256 && tag != 257) continue;
        uint32_t value = type == 3 ? number(b + 8, 2) : type == 4 ? number(b + 8, 4) : 0;
        if (value == 0) return false;
        (tag == 256 ? width : height) = value;
        (tag == 256 ? haveWidth : haveHeight) = true;
    }
    return haveWidth && haveHeight;
}

} // namespace

bool ImageSizeFromHeader(const ReadAt& read, uint32_t& width, uint32_t& height) {
    unsigned char h[26] = {};
    size_t n = read(0, h, sizeof h);
    static const unsigned char Png[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (n >= 24 && std::memcmp(h, Png, 8) == 0 && std::memcmp(h + 12, "IHDR", 4) == 0) {
        width = Big(h + 16, 4);
        height = Big(h + 20, 4);
        return true;
    }
    if (n >= 10 && (std::memcmp(h, "GIF87a", 6) == 0 || std::memcmp(h, "GIF89a", 6) == 0)) {
        width = Little(h + 6, 2);
        height = Little(h + 8, 2);
        return true;
    }
    if (n >= 26 && h[0] == 'B' && h[1] == 'M') {
        if (Little(h + 14, 4) == 12) {
            width = Little(h + 18, 2);
            height = Little(h + 20, 2);
        } else {
            int32_t w = int32_t(Little(h + 18, 4)), ht = int32_t(Little(h + 22, 4));
            width = w < 0 ? 0 : uint32_t(w);
            height = ht < 0 ? uint32_t(-int64_t(ht)) : uint32_t(ht); // negative: top-down rows
        }
        return true;
    }
    if (n >= 3 && h[0] == 0xFF && h[1] == 0xD8 && h[2] == 0xFF)
        return JpegSize(read, width, height);
    if (n >= 8 && std::memcmp(h, "II*\0", 4) == 0) return TiffSize(read, true, width, height);
    if (n >= 8 && std::memcmp(h, "MM\0*", 4) == 0) return TiffSize(read, false, width, height);
    return false;
}

} // namespace platform

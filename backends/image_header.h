// A picture's size read from the first bytes of its file, before anything is
// decoded: a decoder may hold the whole picture in memory just to open it, so
// one too large to show is refused on its size alone.
//
// Shared by both backends; the native tests check it on made-up headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace platform {

// Reads up to `size` bytes at `offset`; returns how many it read.
using ReadAt = std::function<size_t(uint64_t offset, unsigned char* buffer, size_t size)>;

// PNG, JPEG, GIF, BMP and TIFF; false for any other format or a header cut
// short or damaged.
bool ImageSizeFromHeader(const ReadAt& read, uint32_t& width, uint32_t& height);

} // namespace platform

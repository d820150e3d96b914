// The clipboard's file-drop block for one file, the form the shell puts on the
// clipboard when a file is copied: a DROPFILES header (the list at offset 20,
// drop point 0,0, not in the non-client area, wide names), then the name in
// UTF-16 little endian, one NUL ending it and one ending the list.
//
// Both backends use this one builder: the real one hands the bytes to the
// clipboard, the testing one keeps them for tests to compare byte by byte.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

inline void AppendLittleEndian(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += char((value >> (8 * i)) & 0xFF);
}

// UTF-8 to UTF-16 code units; a byte that starts no valid character becomes
// U+FFFD, as the system's conversion makes it.
inline std::u16string Utf16Of(std::string_view text) {
    std::u16string out;
    for (size_t i = 0; i < text.size();) {
        auto byte = [&](size_t k) { return uint8_t(text[k]); };
        uint8_t lead = byte(i);
        int length = lead < 0x80                   ? 1
                     : lead >= 0xC2 && lead < 0xE0 ? 2
                     : lead >= 0xE0 && lead < 0xF0 ? 3
                     : lead >= 0xF0 && lead < 0xF5 ? 4
                                                   : 0;
        char32_t c = length == 1   ? lead
                     : length == 2 ? lead & 0x1F
                     : length == 3 ? lead & 0x0F
                                   : lead & 0x07;
        bool valid = length > 0 && i + length <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            valid = (byte(i + k) & 0xC0) == 0x80;
            c = (c << 6) | (byte(i + k) & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF are not characters.
        valid = valid && !(length == 3 && (c < 0x800 || (c >= 0xD800 && c < 0xE000))) &&
                !(length == 4 && (c < 0x10000 || c > 0x10FFFF));
        if (!valid) {
            out += char16_t(0xFFFD);
            ++i;
            continue;
        }
        if (c >= 0x10000) {
            out += char16_t(0xD800 + ((c - 0x10000) >> 10));
            out += char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += char16_t(c);
        }
        i += size_t(length);
    }
    return out;
}

constexpr uint32_t FileDropHeaderSize = 20;

inline std::string FileDropBlock(std::string_view path) {
    std::string block;
    AppendLittleEndian(block, FileDropHeaderSize, 4); // where the list starts
    AppendLittleEndian(block, 0, 4);                  // drop point x
    AppendLittleEndian(block, 0, 4);                  // drop point y
    AppendLittleEndian(block, 0, 4);                  // not in the non-client area
    AppendLittleEndian(block, 1, 4);                  // names are wide characters
    for (char16_t unit : Utf16Of(path))
        AppendLittleEndian(block, unit, 2);
    AppendLittleEndian(block, 0, 2); // end of the name
    AppendLittleEndian(block, 0, 2); // end of the list
    return block;
}

} // namespace platform

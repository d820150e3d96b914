// Case folding of UTF-8 names and the wildcard match.
#include "engine/es.h"

namespace es {

namespace {

// Length of the valid UTF-8 sequence at i and its code point; 0 when the byte starts none.
size_t Decode(std::string_view s, size_t i, char32_t& cp) {
    unsigned char b = static_cast<unsigned char>(s[i]);
    size_t n = b >= 0xF0 && b <= 0xF4 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 && b <= 0xDF ? 2 : 0;
    if (n == 0 || i + n > s.size()) return 0;
    unsigned char b1 = static_cast<unsigned char>(s[i + 1]);
    // Overlong forms, surrogates and values past U+10FFFF are not valid.
    if ((b == 0xE0 && b1 < 0xA0) || (b == 0xED && b1 >= 0xA0) || (b == 0xF0 && b1 < 0x90) ||
        (b == 0xF4 && b1 >= 0x90))
        return 0;
    cp = n == 2 ? b & 0x1F : n == 3 ? b & 0x0F : b & 0x07;
    for (size_t k = 1; k < n; ++k) {
        unsigned char c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    return n;
}

void Encode(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Small letters for Latin-1, Latin Extended-A, Greek and Cyrillic capitals.
char32_t FoldLetter(char32_t c) {
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB && c != 0x3A2) ||
        (c >= 0x410 && c <= 0x42F))
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    if (c == 0x130) return U'i';
    if (c == 0x178) return 0xFF;
    if (c == 0x3C2) return 0x3C3;
    bool evenUpper = (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
    bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if ((evenUpper && c % 2 == 0) || (oddUpper && c % 2 == 1)) return c + 1;
    return c;
}

size_t NextChar(std::string_view s, size_t i) {
    char32_t cp;
    size_t n = Decode(s, i, cp);
    return i + (n ? n : 1);
}

// What Windows-1252 shows for the bytes 0x80 to 0x9F.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

} // namespace

void FoldInto(std::string& out, std::string_view text) {
    out.clear();
    for (size_t i = 0; i < text.size();) {
        unsigned char b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            out += static_cast<char>(b >= 'A' && b <= 'Z' ? b + 32 : b);
            ++i;
            continue;
        }
        char32_t cp;
        size_t n = Decode(text, i, cp);
        if (n == 0) {
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        Encode(out, FoldLetter(cp));
        i += n;
    }
}

std::string Fold(std::string_view text) {
    std::string out;
    FoldInto(out, text);
    return out;
}

// "*.mp3": a plain ending. One that starts with an ASCII character can only match where a
// character starts, which is all WildcardMatch would try.
bool IsPlainEnding(std::string_view pattern) {
    return pattern.size() > 1 && pattern[0] == '*' &&
           pattern.find_first_of("*?", 1) == std::string_view::npos &&
           static_cast<unsigned char>(pattern[1]) < 0x80;
}

// '*' is any run of characters, '?' exactly one character; the whole text must match.
bool WildcardMatch(std::string_view pattern, std::string_view text) {
    if (IsPlainEnding(pattern)) return text.ends_with(pattern.substr(1));
    size_t p = 0, t = 0, starP = std::string_view::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = ++p;
            starT = t;
        } else if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            t = NextChar(text, t);
        } else if (p < pattern.size() && pattern[p] == text[t]) {
            ++p;
            ++t;
        } else if (starP != std::string_view::npos) {
            p = starP;
            t = starT = NextChar(text, starT);
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

// Names that are not valid UTF-8 are read as Windows-1252, so one odd name cannot make the
// reader of the whole result file fall back to another encoding.
std::string ValidUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        unsigned char b = static_cast<unsigned char>(text[i]);
        char32_t cp;
        size_t n = b < 0x80 ? 1 : Decode(text, i, cp);
        if (n > 0) {
            out.append(text.substr(i, n));
            i += n;
            continue;
        }
        Encode(out, b >= 0xA0 ? b : Cp1252High[b - 0x80]);
        ++i;
    }
    return out;
}

} // namespace es

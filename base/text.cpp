#include "base/text.h"

#include <cmath>
#include <limits>

std::string NumberText(int64_t value) {
    std::string digits = std::to_string(value);
    return value >= 0 ? " " + digits : digits;
}

static std::string GroupDigits(uint64_t magnitude) {
    std::string digits = std::to_string(magnitude);
    std::string out;
    size_t lead = digits.size() % 3;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (i + 3 - lead) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

static uint64_t Magnitude(int64_t value) {
    return value < 0 ? uint64_t(0) - uint64_t(value) : uint64_t(value);
}

std::string GroupedNumber(int64_t value) {
    std::string out = value < 0 ? "-" : "";
    return out.append(GroupDigits(Magnitude(value)));
}

std::string GroupedNumberOrEmpty(int64_t value) {
    return value == 0 ? std::string() : GroupedNumber(value);
}

std::string OneDecimal(double value) {
    int64_t tenths = RoundHalfEven(value * 10.0);
    uint64_t magnitude = Magnitude(tenths);
    std::string whole = magnitude >= 10 ? std::to_string(magnitude / 10) : std::string();
    return (tenths < 0 ? "-" : "") + whole + "." + std::to_string(magnitude % 10);
}

int64_t RoundHalfEven(double value) {
    if (!std::isfinite(value)) return 0;
    constexpr double limit = 9.2e18;
    if (value > limit) return std::numeric_limits<int64_t>::max();
    if (value < -limit) return std::numeric_limits<int64_t>::min();
    return int64_t(std::nearbyint(value)); // the default rounding mode is half-even
}

static std::string_view TrimWhere(std::string_view text, std::string_view chars) {
    size_t first = text.find_first_not_of(chars);
    if (first == std::string_view::npos) return {};
    size_t last = text.find_last_not_of(chars);
    return text.substr(first, last - first + 1);
}

std::string_view TrimBlanks(std::string_view text) {
    return TrimWhere(text, " ");
}
std::string_view TrimSpace(std::string_view text) {
    return TrimWhere(text, " \t");
}

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
    if (from.empty()) return text;
    std::string out;
    size_t pos = 0;
    for (size_t hit; (hit = text.find(from, pos)) != std::string::npos; pos = hit + from.size())
        out.append(text, pos, hit - pos).append(to);
    out.append(text, pos, std::string::npos);
    return out;
}

std::vector<std::string> SplitAll(std::string_view text, std::string_view separator) {
    std::vector<std::string> pieces;
    size_t pos = 0;
    for (size_t hit; (hit = text.find(separator, pos)) != std::string_view::npos;
         pos = hit + separator.size())
        pieces.emplace_back(text.substr(pos, hit - pos));
    pieces.emplace_back(text.substr(pos));
    return pieces;
}

size_t PrefixBytes(std::string_view text, size_t characters) {
    if (text.size() <= characters) return text.size();
    size_t pos = 0;
    for (size_t n = 0; n < characters && pos < text.size(); ++n)
        NextCodePoint(text, pos);
    return pos;
}

std::string CutToCharacters(std::string_view text, size_t characters) {
    return std::string(text.substr(0, PrefixBytes(text, characters)));
}

char32_t NextCodePoint(std::string_view text, size_t& pos) {
    auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int extra = (lead >> 5) == 6 ? 1 : (lead >> 4) == 14 ? 2 : (lead >> 3) == 30 ? 3 : 0;
    char32_t c = lead & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        if (pos + i >= text.size() || (byte(pos + i) & 0xC0) != 0x80)
            extra = 0;
        else
            c = (c << 6) | (byte(pos + i) & 0x3F);
    }
    if (extra == 0) {
        ++pos;
        return 0xFFFD;
    }
    static const char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
    if (c < smallest[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++pos;
        return 0xFFFD;
    }
    pos += extra + 1;
    return c;
}

void AppendCodePoint(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

bool IsValidUtf8(std::string_view bytes) {
    for (size_t pos = 0; pos < bytes.size();) {
        if (static_cast<unsigned char>(bytes[pos]) < 0x80) {
            ++pos;
            continue;
        }
        size_t before = pos;
        char32_t c = NextCodePoint(bytes, pos);
        if (c == 0xFFFD && pos == before + 1) return false;
    }
    return true;
}

// Windows-1252 bytes 0x80..0x9F; the rest of the upper half is Latin-1.
static const char32_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

static char32_t Utf16Unit(std::string_view bytes, size_t index, bool bigEndian) {
    auto byte = [&](size_t i) { return char32_t(static_cast<unsigned char>(bytes[i])); };
    char32_t first = byte(2 * index), second = byte(2 * index + 1);
    return bigEndian ? (first << 8 | second) : (second << 8 | first);
}

// A lone surrogate or an odd last byte comes out as U+FFFD, as Windows shows it.
static std::string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size());
    size_t units = bytes.size() / 2;
    for (size_t i = 0; i < units; ++i) {
        char32_t c = Utf16Unit(bytes, i, bigEndian);
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units) {
            char32_t low = Utf16Unit(bytes, i + 1, bigEndian);
            if (low >= 0xDC00 && low < 0xE000) c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            if (c >= 0x10000) ++i;
        }
        AppendCodePoint(out, c >= 0xD800 && c < 0xE000 ? 0xFFFD : c);
    }
    if (bytes.size() % 2 != 0) AppendCodePoint(out, 0xFFFD);
    return out;
}

std::string DecodeFileText(std::string_view bytes) {
    if (bytes.substr(0, 2) == "\xFF\xFE") return DecodeUtf16(bytes.substr(2), false);
    if (bytes.substr(0, 2) == "\xFE\xFF") return DecodeUtf16(bytes.substr(2), true);
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    if (IsValidUtf8(bytes)) return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (unsigned char b : bytes) {
        if (b < 0x80)
            out += char(b);
        else
            AppendCodePoint(out, b < 0xA0 ? kCp1252High[b - 0x80] : char32_t(b));
    }
    return out;
}

char32_t LowerCodePoint(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    if (c == 0x160 || c == 0x152 || c == 0x17D) return c + 1;
    if (c == 0x178) return 0xFF;
    return c;
}

std::string LowerCase(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        unsigned char b = static_cast<unsigned char>(text[pos]);
        if (b < 0x80) {
            out += char(b >= 'A' && b <= 'Z' ? b + 32 : b);
            ++pos;
            continue;
        }
        size_t start = pos;
        char32_t c = NextCodePoint(text, pos);
        char32_t lower = LowerCodePoint(c);
        if (lower == c)
            out.append(text.substr(start, pos - start));
        else
            AppendCodePoint(out, lower);
    }
    return out;
}

int64_t LeadingNumber(std::string_view text) {
    size_t pos = text.find_first_not_of(' ');
    if (pos == std::string_view::npos) return 0;
    bool negative = false;
    if (text[pos] == '+' || text[pos] == '-') negative = text[pos++] == '-';
    double value = 0;
    bool any = false;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos, any = true)
        value = value * 10 + (text[pos] - '0');
    if (pos < text.size() && text[pos] == '.') {
        double scale = 0.1;
        for (++pos; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos, any = true)
            value += (text[pos] - '0') * scale, scale /= 10;
    }
    if (!any) return 0;
    return RoundHalfEven(negative ? -value : value);
}

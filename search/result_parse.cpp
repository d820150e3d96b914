// Turns the engine's CSV export into rows, in place: every field is written
// back into the same buffer at or before where it was read, so the import
// needs no second copy of the file.
#include "search/result_rows.h"

#include "app/text.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr size_t kShortFieldLimit = 31; // Size and Date
constexpr size_t kMaxArena = std::numeric_limits<uint32_t>::max();

// Lower-cases ASCII and the Latin letters of the Western code page in UTF-8;
// each of them keeps its length, so this works in place.
void LowerInPlace(char* text, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (unsigned(c - 'A') < 26u) {
            text[i] = char(c + 32);
        } else if (c >= 0x80 && i + 1 < length) {
            unsigned char next = static_cast<unsigned char>(text[i + 1]);
            if (c == 0xC3 && next >= 0x80 && next <= 0x9E && next != 0x97)
                text[i + 1] = char(next + 0x20);
            else if (c == 0xC5 && (next == 0xA0 || next == 0x92 || next == 0xBD))
                text[i + 1] = char(next + 1);
            else if (c == 0xC5 && next == 0xB8)
                text[i] = char(0xC3), text[i + 1] = char(0xBF);
            ++i;
        }
    }
}

struct Cursor {
    char* text;
    size_t read;  // next byte to read
    size_t end;   // end of the line being read
    size_t write; // next byte to write
};

// Copies one field to the write position. A field that starts with a double
// quote runs to its closing quote, with "" standing for one quote; any other
// quote is dropped. Ends after the separating comma.
void CopyField(Cursor& c) {
    char* t = c.text;
    if (c.read < c.end && t[c.read] == '"') {
        ++c.read;
        while (c.read < c.end) {
            const void* hit = std::memchr(t + c.read, '"', c.end - c.read);
            size_t quote = hit ? size_t(static_cast<const char*>(hit) - t) : c.end;
            std::memmove(t + c.write, t + c.read, quote - c.read);
            c.write += quote - c.read;
            c.read = quote + 1;
            if (quote + 1 < c.end && t[quote + 1] == '"') {
                t[c.write++] = '"';
                c.read = quote + 2;
                continue;
            }
            break;
        }
    }
    while (c.read < c.end && t[c.read] != ',') {
        if (t[c.read] != '"') t[c.write++] = t[c.read];
        ++c.read;
    }
    if (c.read < c.end) ++c.read; // the comma
}

size_t CutLength(const char* field, size_t length, size_t characters) {
    return PrefixBytes(std::string_view(field, length), characters);
}

bool Ignored(std::string_view fullName, const ImportOptions& options) {
    if (!options.useIgnoreList) return false;
    size_t lastSeparator = fullName.find_last_of("\\:");
    size_t dot = fullName.rfind('.');
    if (dot == std::string_view::npos ||
        (lastSeparator != std::string_view::npos && dot < lastSeparator))
        return false; // no extension: nothing to match, the row stays
    return options.ignoreList.find(fullName.substr(dot)) != std::string::npos;
}

// Parses one data line; false when the row is dropped.
bool ParseLine(Cursor& c, const ImportOptions& options, ResultRow& row) {
    size_t start = c.write;
    CopyField(c);
    size_t sizeLength = CutLength(c.text + start, c.write - start, kShortFieldLimit);
    c.write = start + sizeLength;
    CopyField(c);
    size_t dateLength =
        CutLength(c.text + start + sizeLength, c.write - start - sizeLength, kShortFieldLimit);
    c.write = start + sizeLength + dateLength;
    size_t nameStart = c.write;
    CopyField(c);
    size_t fullLength = std::min<size_t>(c.write - nameStart, UINT16_MAX);
    c.write = nameStart + fullLength;
    LowerInPlace(c.text + start, c.write - start);
    std::string_view fullName(c.text + nameStart, fullLength);
    if (Ignored(fullName, options)) {
        c.write = start;
        return false;
    }
    size_t separator = fullName.find_last_of("\\:");
    size_t pathLength = separator == std::string_view::npos ? 0 : separator + 1;
    row.start = uint32_t(start);
    row.sizeLength = uint16_t(sizeLength);
    row.dateLength = uint16_t(dateLength);
    row.pathLength = uint16_t(pathLength);
    row.nameLength = uint16_t(fullLength - pathLength);
    row.SizeValue = LeadingNumber(std::string_view(c.text + start, sizeLength));
    row.IsFolder = sizeLength == 0 ? 1 : 0;
    return true;
}

size_t LineEnd(const char* text, size_t from, size_t size) {
    const void* hit = std::memchr(text + from, '\n', size - from);
    return hit ? size_t(static_cast<const char*>(hit) - text) : size;
}

} // namespace

void ParseResultText(std::string bytes, const ImportOptions& options, ResultRowsRecord& into) {
    into.Clear();
    if (!IsValidUtf8(bytes) || bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        bytes = DecodeFileText(bytes);
    char* text = bytes.data();
    size_t size = std::min(bytes.size(), kMaxArena);
    size_t pos = 0;
    while (pos < size &&
           (text[pos] == '\n' || (text[pos] == '\r' && pos + 1 < size && text[pos + 1] == '\n')))
        pos += text[pos] == '\r' ? 2 : 1;
    pos = LineEnd(text, pos, size) + 1; // the header line
    into.rows.reserve(size_t(std::count(text + std::min(pos, size), text + size, '\n')) + 1);
    Cursor c{text, 0, 0, 0};
    while (pos < size) {
        size_t end = LineEnd(text, pos, size);
        c.read = pos;
        c.end = end > pos && text[end - 1] == '\r' ? end - 1 : end;
        pos = end + 1;
        if (c.read == c.end) continue;
        ResultRow row;
        if (!ParseLine(c, options, row)) continue;
        row.order = uint32_t(into.rows.size());
        into.rows.push_back(row);
    }
    bytes.resize(c.write);
    into.text = std::move(bytes);
}

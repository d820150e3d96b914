// Sorting by a column. Each row gets a 16-byte prefix of its key so that most
// comparisons never touch the row texts; equal keys keep their import order,
// which makes the ordering strict and the result repeatable.
#include "search/result_rows.h"

#include "results/result_list.h"

#include <algorithm>
#include <cstring>

int SortDescending = 0;

namespace {

struct SortEntry {
    uint64_t high, low; // key prefix, compared as unsigned big-endian numbers
    uint32_t index;
};

uint64_t BigEndian(const char* bytes, size_t length) {
    unsigned char buffer[8] = {};
    std::memcpy(buffer, bytes, std::min<size_t>(length, 8));
    uint64_t value = 0;
    for (unsigned char b : buffer)
        value = (value << 8) | b;
    return value;
}

void SetTextPrefix(SortEntry& e, std::string_view key) {
    e.high = BigEndian(key.data(), key.size());
    e.low = key.size() > 8 ? BigEndian(key.data() + 8, key.size() - 8) : 0;
}

std::string KeyText(const ResultRowsRecord& rows, int column, uint32_t index) {
    int row = int(index) + 1;
    if (column == 2) return std::string(rows.Path(row));
    if (column == 3) return rows.SortDate(row);
    return std::string(rows.Name(row));
}

// Full key comparison for rows whose prefixes are equal: -1, 0 or 1.
int CompareFull(const ResultRowsRecord& rows, int column, uint32_t a, uint32_t b) {
    if (column == 4) return 0;
    if (column != 3) {
        std::string_view x = column == 2 ? rows.Path(int(a) + 1) : rows.Name(int(a) + 1);
        std::string_view y = column == 2 ? rows.Path(int(b) + 1) : rows.Name(int(b) + 1);
        int c = x.compare(y); // byte-wise, unsigned
        return c < 0 ? -1 : c > 0;
    }
    int c = KeyText(rows, column, a).compare(KeyText(rows, column, b));
    return c < 0 ? -1 : c > 0;
}

} // namespace

void SortResultRows(ResultRowsRecord& rows, int column, bool descending) {
    std::vector<SortEntry> entries(rows.rows.size());
    for (uint32_t i = 0; i < entries.size(); ++i) {
        SortEntry& e = entries[i];
        e.index = i;
        if (column == 4) {
            e.high = uint64_t(rows.rows[i].SizeValue) ^ (uint64_t(1) << 63); // signed order
            e.low = 0;
        } else if (column == 3) {
            SetTextPrefix(e, rows.SortDate(int(i) + 1));
        } else {
            SetTextPrefix(e, column == 2 ? rows.Path(int(i) + 1) : rows.Name(int(i) + 1));
        }
    }
    const std::vector<ResultRow>& original = rows.rows;
    std::sort(entries.begin(), entries.end(), [&](const SortEntry& a, const SortEntry& b) {
        int c = a.high != b.high ? (a.high < b.high ? -1 : 1)
                : a.low != b.low ? (a.low < b.low ? -1 : 1)
                                 : CompareFull(rows, column, a.index, b.index);
        if (c != 0) return descending ? c > 0 : c < 0;
        return original[a.index].order < original[b.index].order;
    });
    std::vector<ResultRow> sorted;
    sorted.reserve(entries.size());
    for (const SortEntry& e : entries)
        sorted.push_back(original[e.index]);
    rows.rows = std::move(sorted);
}

void SortRows(int column) {
    SortDescending = SortDescending ? 0 : 1;
    SortResultRows(ResultRows, column, SortDescending != 0);
    SelectRow(1);
}

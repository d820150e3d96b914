// Sorting by a column. Each row gets a 16-byte prefix of its key so that most
// comparisons never touch the row texts; equal keys keep their import order,
// which makes the ordering strict and the result repeatable.
#include "search/result_rows.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_map>

namespace {

struct SortEntry {
    uint64_t high, low; // key prefix, compared as unsigned big-endian numbers
    uint32_t index;
    uint32_t longKey; // the key runs past the prefix: equal prefixes need a full look
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
    e.longKey = key.size() > 16;
}

// Keys whose prefixes are equal: -1, 0 or 1, byte by byte.
int CompareKeys(const ResultRowsRecord& rows, int column, const SortEntry& a, const SortEntry& b) {
    if (!a.longKey && !b.longKey) return 0;
    int c = column == 1 ? rows.Name(int(a.index) + 1).compare(rows.Name(int(b.index) + 1))
                        : rows.SortDate(int(a.index) + 1).compare(rows.SortDate(int(b.index) + 1));
    return c < 0 ? -1 : c > 0;
}

// Paths repeat a great deal: sorting the distinct texts once and
// giving each row the rank of its text keeps the big sort on plain numbers.
void SetPathRanks(const ResultRowsRecord& rows, std::vector<SortEntry>& entries) {
    std::unordered_map<std::string_view, uint32_t> ids;
    std::vector<std::string_view> distinct;
    std::vector<uint32_t> idOfRow(entries.size());
    for (uint32_t i = 0; i < entries.size(); ++i) {
        std::string_view text = rows.Path(int(i) + 1);
        auto [it, added] = ids.try_emplace(text, uint32_t(distinct.size()));
        if (added) distinct.push_back(text);
        idOfRow[i] = it->second;
    }
    std::vector<uint32_t> order(distinct.size());
    for (uint32_t d = 0; d < order.size(); ++d)
        order[d] = d;
    std::sort(order.begin(), order.end(),
              [&](uint32_t a, uint32_t b) { return distinct[a] < distinct[b]; });
    std::vector<uint32_t> rank(distinct.size());
    for (uint32_t d = 0; d < order.size(); ++d)
        rank[order[d]] = d;
    for (uint32_t i = 0; i < entries.size(); ++i)
        entries[i] = {rank[idOfRow[i]], 0, i, 0};
}

void SetPrefixes(const ResultRowsRecord& rows, int column, std::vector<SortEntry>& entries) {
    for (uint32_t i = 0; i < entries.size(); ++i) {
        SortEntry& e = entries[i];
        e.index = i;
        if (column == 4) {
            e.high = uint64_t(rows.rows[i].SizeValue) ^ (uint64_t(1) << 63); // signed order
            e.low = 0;
            e.longKey = 0;
        } else if (column == 3) {
            SetTextPrefix(e, rows.SortDate(int(i) + 1));
        } else {
            SetTextPrefix(e, rows.Name(int(i) + 1));
        }
    }
}

} // namespace

void SortResultRows(ResultRowsRecord& rows, int column, bool descending) {
    std::vector<SortEntry> entries(rows.rows.size());
    if (column == 2)
        SetPathRanks(rows, entries);
    else
        SetPrefixes(rows, column, entries);
    const std::vector<ResultRow>& original = rows.rows;
    std::sort(entries.begin(), entries.end(), [&](const SortEntry& a, const SortEntry& b) {
        int c = a.high != b.high ? (a.high < b.high ? -1 : 1)
                : a.low != b.low ? (a.low < b.low ? -1 : 1)
                                 : CompareKeys(rows, column, a, b);
        if (c != 0) return descending ? c > 0 : c < 0;
        return original[a.index].order < original[b.index].order;
    });
    std::vector<ResultRow> sorted;
    sorted.reserve(entries.size());
    for (const SortEntry& e : entries)
        sorted.push_back(original[e.index]);
    rows.rows = std::move(sorted);
}

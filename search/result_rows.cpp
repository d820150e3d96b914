#include "search/result_rows.h"

#include "base/text.h"
#include "settings/settings.h"

ResultRowsRecord ResultRows;

std::string_view ResultRowsRecord::Size(int row) const {
    const ResultRow& r = Row(row);
    return std::string_view(text).substr(r.start, r.sizeLength);
}

std::string_view ResultRowsRecord::Date(int row) const {
    const ResultRow& r = Row(row);
    return std::string_view(text).substr(r.start + r.sizeLength, r.dateLength);
}

std::string_view ResultRowsRecord::Path(int row) const {
    const ResultRow& r = Row(row);
    return std::string_view(text).substr(r.start + r.sizeLength + r.dateLength, r.pathLength);
}

std::string_view ResultRowsRecord::Name(int row) const {
    const ResultRow& r = Row(row);
    return std::string_view(text).substr(r.start + r.sizeLength + r.dateLength + r.pathLength,
                                         r.nameLength);
}

std::string ResultRowsRecord::SortDate(int row) const {
    return SortDateOf(Date(row));
}

std::string ResultRowsRecord::FullName(int row) const {
    return std::string(Path(row)) + std::string(Name(row));
}

void ResultRowsRecord::Clear() {
    text.clear();
    rows.clear();
}

void ResultRowsRecord::Add(std::string_view size, std::string_view date, std::string_view path,
                           std::string_view name, bool isFolder) {
    ResultRow row;
    row.start = uint32_t(text.size());
    row.sizeLength = uint16_t(size.size());
    row.dateLength = uint16_t(date.size());
    row.pathLength = uint16_t(path.size());
    row.nameLength = uint16_t(name.size());
    row.order = uint32_t(rows.size());
    row.SizeValue = LeadingNumber(size);
    row.IsFolder = isFolder ? 1 : 0;
    text.append(size).append(date).append(path).append(name);
    rows.push_back(row);
}

std::string SortDateOf(std::string_view date) {
    size_t blank = date.find(' ');
    std::string_view datePart = date.substr(0, blank);
    std::string_view timePart;
    if (blank != std::string_view::npos) {
        size_t second = date.find(' ', blank + 1);
        timePart = date.substr(blank + 1, second == std::string_view::npos ? std::string_view::npos
                                                                           : second - blank - 1);
    }
    std::string_view year = datePart.size() > 4 ? datePart.substr(datePart.size() - 4) : datePart;
    return std::string(year) + "/" + std::string(datePart.substr(0, 5)) + " " +
           std::string(timePart);
}

// A size below zero is no real size, but it is what the result file says and where the Size
// sort puts the row, so it shows as a negative number the way a positive one would: -1 to
// -499 bytes as -1 KB, never as " KB" or with its sign lost. 0 KB would call the file empty.
std::string SizeText(int64_t sizeValue, bool useKB) {
    int sign = sizeValue > 0 ? 1 : sizeValue < 0 ? -1 : 0;
    if (useKB) {
        int64_t k = RoundHalfEven(double(sizeValue) / 1000.0);
        if (k == 0) k = sign;
        return GroupedNumberOrEmpty(k) + " KB";
    }
    // Finer than whole kilobytes, still in the same unit.
    int64_t tenths = RoundHalfEven(double(sizeValue) / 100.0);
    if (tenths == 0) tenths = sign;
    uint64_t magnitude = tenths < 0 ? 0 - uint64_t(tenths) : uint64_t(tenths);
    std::string text = tenths < 0 ? "-" : "";
    text += GroupedNumber(int64_t(magnitude / 10));
    text += '.';
    text += char('0' + magnitude % 10);
    return text + " KB";
}

std::string FormatSize(int row) {
    return SizeText(ResultRows.Row(row).SizeValue, Settings.UseKB != 0);
}

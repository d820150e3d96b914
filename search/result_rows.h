// The rows the list shows, the file actions use and printing prints.
//
// A million rows must fit in little more memory than the result file itself,
// so the texts of all rows live back to back in one buffer and a row holds
// only where its texts start and how long they are.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct ResultRow {
    uint32_t start = 0; // Size, Date, Path, Name follow each other from here
    uint16_t sizeLength = 0;
    uint16_t dateLength = 0;
    uint16_t pathLength = 0;
    uint16_t nameLength = 0;
    uint32_t order = 0;    // position at import; equal keys keep it when sorting
    int64_t SizeValue = 0; // bytes
    int32_t IsFolder = 0;
};

struct ResultRowsRecord {
    std::string text;
    std::vector<ResultRow> rows;

    int Count() const { return int(rows.size()); }
    // Rows are numbered from 1.
    const ResultRow& Row(int row) const { return rows[row - 1]; }
    std::string_view Size(int row) const;
    std::string_view Date(int row) const;
    std::string_view Path(int row) const;
    std::string_view Name(int row) const;
    std::string SortDate(int row) const;
    std::string FullName(int row) const;
    bool IsFolder(int row) const { return Row(row).IsFolder != 0; }

    void Clear();
    void Add(std::string_view size, std::string_view date, std::string_view path,
             std::string_view name, bool isFolder);
};

extern ResultRowsRecord ResultRows;

constexpr const char* ResultFile = "results.txt";
constexpr const char* EmptyRowName = "<empty>";
constexpr const char* LoadingRowName = "Loading ...";

// Sorting the record (the list is the caller's).
void SortResultRows(ResultRowsRecord& rows, int column, bool descending);

std::string FormatSize(int row);
std::string SizeText(int64_t sizeValue, bool useKB); // pure form

// "Date" as year first: "01/15/2023 10:23" gives "2023/01/15 10:23".
std::string SortDateOf(std::string_view date);

// Prints how long reading, importing and sorting a large result file take,
// and how much memory the imported rows hold, one "name: value unit" a line.
// The import is measured against a floor (reading the file and finding its
// line ends) and against a plain import into fixed-size records; a ratio is
// printed only after checking that both sides did the same work. Exits 1,
// with the reason on standard error, when a check fails.
//   import_bench [rows] [runs]     (default 1000000 rows, 5 runs; medians)
#include "backends/testing/testing.h"
#include "search/result_parse.h"
#include "search/result_rows.h"
#include "search/run_search.h"
#include "settings/settings.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

[[noreturn]] void Fail(const std::string& why) {
    std::fprintf(stderr, "import_bench: %s\n", why.c_str());
    std::exit(1);
}

void Report(const char* name, double value, const char* unit) {
    std::printf("%s: %.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

// Paths as they look on a real disk: a few drives and deep, repeating folders.
std::string GenerateResultFile(const std::string& path, size_t rows) {
    const char* top[] = {"Users\\Ann", "Users\\Bob", "Program Files", "Data", "Projects"};
    const char* mid[] = {"Documents", "Pictures",     "Music",          "Downloads", "Source",
                         "Archive",   "Reports 2023", "Holiday, Texas", "old"};
    const char* ext[] = {".txt", ".docx", ".jpg", ".mp3", ".pdf", ".cpp", ".lnk", ".xlsx"};
    std::mt19937 rng(42);
    std::ofstream out(path, std::ios::binary);
    out << "Size,Date Modified,Filename\r\n";
    std::string line;
    for (size_t i = 0; i < rows; ++i) {
        line.clear();
        bool folder = rng() % 10 == 0;
        if (!folder) line += std::to_string(rng() % 50000000);
        char date[32];
        auto pick = [&](unsigned range) { return unsigned(rng() % range); };
        std::snprintf(date, sizeof date, ",%02u/%02u/%04u %02u:%02u,\"", 1 + pick(12), 1 + pick(28),
                      2000 + pick(26), pick(24), pick(60));
        line += date;
        line += "C:\\";
        line += top[rng() % 5];
        line += '\\';
        line += mid[rng() % 9];
        line += "\\Sub Folder ";
        line += std::to_string(rng() % 300);
        line += "\\File Name ";
        line += std::to_string(i);
        if (!folder) line += ext[rng() % 8];
        line += "\"\r\n";
        out << line;
    }
    if (!out.flush()) Fail("cannot write " + path);
    return path;
}

// The floor: read the whole file and find every line end once.
size_t ReadAndCountLines(const std::string& file) {
    std::string bytes;
    if (!platform::ReadWholeFile(file, bytes)) Fail("cannot read " + file);
    size_t lines = 0;
    const char* at = bytes.data();
    const char* end = at + bytes.size();
    while (const void* hit = std::memchr(at, '\n', size_t(end - at))) {
        ++lines;
        at = static_cast<const char*>(hit) + 1;
    }
    return lines;
}

// The plain way to hold the same rows: every text in a field of fixed size,
// cut to it, filled from a lower-cased, quote-free copy split into lines.
struct FixedRecord {
    char Name[260];
    char Path[260];
    char Date[32];
    char Size[32];
    char SortDate[32];
    int32_t SizeValue;
    int32_t IsFolder;
};

void CopyCut(char* field, size_t room, std::string_view text) {
    size_t n = std::min(text.size(), room - 1);
    std::memcpy(field, text.data(), n);
    field[n] = 0;
}

// The text up to the next comma; the line keeps what follows it.
std::string_view NextField(std::string_view& line) {
    size_t comma = line.find(',');
    std::string_view field = line.substr(0, comma);
    line.remove_prefix(comma == std::string_view::npos ? line.size() : comma + 1);
    return field;
}

size_t FixedRecordImport(const std::string& file, std::vector<FixedRecord>& rows) {
    std::string bytes;
    platform::ReadWholeFile(file, bytes);
    for (char& c : bytes)
        if (c >= 'A' && c <= 'Z') c = char(c + 32);
    bytes.erase(std::remove(bytes.begin(), bytes.end(), '"'), bytes.end());
    std::vector<std::string_view> lines;
    std::string_view rest(bytes);
    for (size_t at; (at = rest.find("\r\n")) != std::string_view::npos;) {
        lines.push_back(rest.substr(0, at));
        rest.remove_prefix(at + 2);
    }
    if (!rest.empty()) lines.push_back(rest);
    rows.assign(lines.size(), FixedRecord{});
    size_t n = 0;
    for (size_t i = 1; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (line.empty()) continue;
        std::string_view size = NextField(line);
        std::string_view date = NextField(line);
        std::string_view full = line; // the rest: names may hold commas
        FixedRecord& row = rows[n++];
        CopyCut(row.Size, sizeof row.Size, size);
        CopyCut(row.Date, sizeof row.Date, date);
        std::string sortDate = SortDateOf(row.Date);
        CopyCut(row.SortDate, sizeof row.SortDate, sortDate);
        row.SizeValue = int32_t(std::strtol(row.Size, nullptr, 10));
        row.IsFolder = row.Size[0] == 0 ? 1 : 0;
        size_t separator = full.find_last_of("\\:");
        size_t pathLength = separator == std::string_view::npos ? 0 : separator + 1;
        CopyCut(row.Path, sizeof row.Path, full.substr(0, pathLength));
        CopyCut(row.Name, sizeof row.Name, full.substr(pathLength));
    }
    rows.resize(n);
    return n;
}

// Both imports must have read every row alike.
void CheckSameRows(const ResultRowsRecord& compact, const std::vector<FixedRecord>& fixed) {
    if (size_t(compact.Count()) != fixed.size())
        Fail("the imports differ: " + std::to_string(compact.Count()) + " rows against " +
             std::to_string(fixed.size()) + " fixed records");
    size_t differ = 0, first = 0;
    for (size_t i = 0; i < fixed.size(); ++i) {
        int row = int(i) + 1;
        const FixedRecord& f = fixed[i];
        if (compact.Name(row) != f.Name || compact.Path(row) != f.Path ||
            compact.Date(row) != f.Date || compact.Size(row) != f.Size ||
            compact.Row(row).IsFolder != f.IsFolder) {
            if (differ++ == 0) first = i;
        }
    }
    if (differ > 0)
        Fail("the imports differ in " + std::to_string(differ) + " rows, the first is row " +
             std::to_string(first + 1) + ": \"" + compact.FullName(int(first) + 1) +
             "\" against \"" + fixed[first].Path + fixed[first].Name + "\"");
}

std::string Number(size_t n) {
    return std::to_string(n);
}

} // namespace

int main(int argc, char** argv) {
    size_t rows = argc > 1 ? std::stoul(argv[1]) : 1000000;
    int runs = argc > 2 ? std::max(1, std::stoi(argv[2])) : 5;
    // Fixed records for millions of rows take gigabytes; they are compared at the usual size.
    bool compareFixed = rows <= 2000000;
    std::string folder = platform::testing::ResetWorld();
    Settings.UseIgnoreList = 0; // every line is a row
    std::string file = GenerateResultFile(folder + ResultFile, rows);
    double size = double(std::filesystem::file_size(file));
    Report("rows", double(rows), "rows");
    Report("file_size", size / 1e6, "MB");
    Report("runs", runs, "runs");

    std::vector<double> floorTimes, importTimes, fixedTimes;
    size_t lines = 0;
    int imported = 0;
    size_t fixedRows = 0;
    std::vector<FixedRecord> fixed;
    for (int run = 0; run < runs; ++run) {
        auto start = Clock::now();
        lines = ReadAndCountLines(file);
        floorTimes.push_back(Seconds(start));

        ResultRows = ResultRowsRecord();
        start = Clock::now();
        imported = ReadResultFile();
        importTimes.push_back(Seconds(start));

        if (compareFixed) {
            fixed = std::vector<FixedRecord>();
            start = Clock::now();
            fixedRows = FixedRecordImport(file, fixed);
            fixedTimes.push_back(Seconds(start));
        }
    }

    // The same work: one row per line after the header, and every row read.
    if (lines != rows + 1)
        Fail("the file has " + Number(lines) + " lines, " + Number(rows + 1) + " were written");
    if (size_t(imported) != lines - 1)
        Fail("the import made " + Number(size_t(imported)) + " rows from " + Number(lines - 1) +
             " data lines");
    std::string lastName = "file name " + Number(rows - 1);
    if (rows > 0 && ResultRows.Name(imported).substr(0, lastName.size()) != lastName)
        Fail("the last row is named \"" + std::string(ResultRows.Name(imported)) +
             "\", expected \"" + lastName + "...\"");

    double floor = Median(floorTimes);
    double import = Median(importTimes);
    Report("floor_read_scan", floor, "s");
    Report("import", import, "s");
    Report("import_vs_floor", import / floor, "x");
    Report("import_vs_floor_goal", 2.5, "x");
    Report("imported_rows", double(imported), "rows");
    double held =
        double(ResultRows.text.capacity() + ResultRows.rows.capacity() * sizeof(ResultRow));
    Report("rows_memory", held / 1e6, "MB");
    Report("rows_memory_vs_file", held / size, "x");

    if (compareFixed) {
        if (fixedRows != lines - 1)
            Fail("the fixed-record import made " + Number(fixedRows) + " rows from " +
                 Number(lines - 1) + " data lines");
        CheckSameRows(ResultRows, fixed);
        double fixedTime = Median(fixedTimes);
        double fixedHeld = double(fixed.capacity() * sizeof(FixedRecord));
        Report("fixed_records_import", fixedTime, "s");
        Report("fixed_records_vs_import", fixedTime / import, "x");
        Report("fixed_records_memory", fixedHeld / 1e6, "MB");
        Report("fixed_records_memory_vs_rows", fixedHeld / held, "x");
        fixed = std::vector<FixedRecord>();
    }

    const char* names[] = {"sort_name", "sort_path", "sort_date", "sort_size"};
    for (int column = 1; column <= 4; ++column) {
        auto start = Clock::now();
        SortResultRows(ResultRows, column, false);
        double t = Seconds(start);
        if (ResultRows.Count() != imported) Fail("sorting lost rows");
        Report(names[column - 1], t, "s");
        if (column == 1) Report("sort_name_vs_floor", t / floor, "x");
    }
    std::filesystem::remove_all(folder);
    return 0;
}

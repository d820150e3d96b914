// Prints how long reading, importing and sorting a large result file take,
// and how much memory the imported rows hold, one "name: value unit" a line.
//   import_bench [rows]     (default 1000000)
#include "platform/testing/testing.h"
#include "search/result_rows.h"
#include "settings/settings.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
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
    return path;
}

void Report(const char* name, double value, const char* unit) {
    std::printf("%s: %.3f %s\n", name, value, unit);
}

} // namespace

int main(int argc, char** argv) {
    size_t rows = argc > 1 ? std::stoul(argv[1]) : 1000000;
    std::string folder = platform::testing::ResetWorld();
    std::string file = GenerateResultFile(folder + "results.txt", rows);
    double size = double(std::filesystem::file_size(file));
    Report("rows", double(rows), "rows");
    Report("file_size", size / 1e6, "MB");

    // The floor: read the whole file and look at every byte once.
    auto start = Clock::now();
    std::string bytes;
    platform::ReadWholeFile(file, bytes);
    size_t lines = size_t(std::count(bytes.begin(), bytes.end(), '\n'));
    double floor = Seconds(start);
    Report("floor_read_scan", floor, "s");
    bytes = std::string();

    start = Clock::now();
    int n = ImportResultFile();
    double import = Seconds(start);
    Report("import", import, "s");
    Report("import_vs_floor", import / floor, "x");
    Report("imported_rows", double(n), "rows");
    double held =
        double(ResultRows.text.capacity() + ResultRows.rows.capacity() * sizeof(ResultRow));
    Report("rows_memory", held / 1e6, "MB");
    Report("rows_memory_vs_file", held / size, "x");

    const char* names[] = {"sort_name", "sort_path", "sort_date", "sort_size"};
    for (int column = 1; column <= 4; ++column) {
        start = Clock::now();
        SortResultRows(ResultRows, column, false);
        double t = Seconds(start);
        Report(names[column - 1], t, "s");
        if (column == 1) Report("sort_name_vs_floor", t / floor, "x");
    }
    std::filesystem::remove_all(folder);
    return lines > 0 && n > 0 ? 0 : 1;
}

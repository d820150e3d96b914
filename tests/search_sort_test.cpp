// Column sorting of imported rows: keys around the length the sort keeps in its fixed prefix,
// bytes above 0x7F, and equal keys, which keep their import order whatever came before.
#include "search/result_parse.h"
#include "search/result_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

struct Line {
    std::string size, date, fullName;
};

ResultRowsRecord Import(const std::vector<Line>& lines) {
    std::string csv = "Size,Date Modified,Filename\r\n";
    for (const Line& l : lines)
        csv += l.size + "," + l.date + ",\"" + l.fullName + "\"\r\n";
    ResultRowsRecord rows;
    ParseResultText(csv, {}, rows);
    EXPECT_EQ(rows.Count(), int(lines.size()));
    return rows;
}

Names FullNames(const ResultRowsRecord& rows) {
    Names names;
    for (int r = 1; r <= rows.Count(); ++r)
        names.push_back(rows.FullName(r));
    return names;
}

Names Reversed(Names names) {
    return Names(names.rbegin(), names.rend());
}

} // namespace

TEST(SearchSort, NamesAroundThePrefixLength) {
    const std::string p16 = "abcdefghijklmnop";
    // Imported mostly largest first, so the import order never hides a wrong comparison.
    ResultRowsRecord rows = Import({
        {"1", "", "c:\\w\\\xC3\xA9t\xC3\xA9.txt"},
        {"1", "", "c:\\w\\abcdefghijklmnoq"},
        {"1", "", "c:\\y\\" + p16 + "a"},
        {"1", "", "c:\\w\\" + p16 + "b"},
        {"1", "", "c:\\x\\" + p16 + "a"},
        {"1", "", "c:\\w\\" + p16},
        {"1", "", "c:\\w\\abcdefghijklmno"},
        {"1", "", "c:\\w\\abcdefghj"},
        {"1", "", "c:\\w\\abcdefghi"},
        {"1", "", "c:\\w\\abcdefgh"},
        {"1", "", "c:\\w\\abcdefgg"},
        {"1", "", "c:\\w\\" + p16 + "a\xC3\xA9"},
        {"1", "", "c:\\w\\" + p16 + "az"},
    });
    const Names ascending{"c:\\w\\abcdefgg",
                          "c:\\w\\abcdefgh",
                          "c:\\w\\abcdefghi",
                          "c:\\w\\abcdefghijklmno",
                          "c:\\w\\" + p16,
                          "c:\\y\\" + p16 + "a", // equal names: import order
                          "c:\\x\\" + p16 + "a",
                          "c:\\w\\" + p16 + "az",
                          "c:\\w\\" + p16 + "a\xC3\xA9",
                          "c:\\w\\" + p16 + "b",
                          "c:\\w\\abcdefghijklmnoq",
                          "c:\\w\\abcdefghj",
                          "c:\\w\\\xC3\xA9t\xC3\xA9.txt"};
    SortResultRows(rows, 1, false);
    EXPECT_EQ(FullNames(rows), ascending);
    Names descending = Reversed(ascending);
    auto x = std::find(descending.begin(), descending.end(), "c:\\x\\" + p16 + "a");
    std::iter_swap(x, x + 1); // the equal names stay in import order
    SortResultRows(rows, 1, true);
    EXPECT_EQ(FullNames(rows), descending);
}

// The engine's dates rearrange to exactly the prefix's length; other date forms run past it.
TEST(SearchSort, DatesAroundThePrefixLength) {
    ResultRowsRecord rows = Import({
        {"1", "01/15/2023 10:24", "c:\\a"},
        {"1", "01/15/2023 10:23:45", "c:\\b"},
        {"1", "01/15/2023 10:23:44", "c:\\c"},
        {"1", "01/15/2023 10:23 pm", "c:\\d"}, // the part after the time is not compared
        {"1", "01/15/2023 10:2", "c:\\e"},
        {"1", "01/15/2023 10:23", "c:\\f"},
        {"1", "12/31/2022 23:59", "c:\\g"},
        {"1", "01/15/2023 10:23:45.5", "c:\\h"},
    });
    SortResultRows(rows, 3, false);
    EXPECT_EQ(FullNames(rows),
              (Names{"c:\\g", "c:\\e", "c:\\d", "c:\\f", "c:\\c", "c:\\b", "c:\\h", "c:\\a"}));
    SortResultRows(rows, 3, true);
    EXPECT_EQ(FullNames(rows),
              (Names{"c:\\a", "c:\\h", "c:\\b", "c:\\c", "c:\\d", "c:\\f", "c:\\e", "c:\\g"}));
}

// Small arrays sort stably by accident; these are long enough that only the tie rule keeps
// equal keys in import order, also after the rows were sorted by another column.
TEST(SearchSort, EqualKeysKeepImportOrderInEveryColumnAndDirection) {
    const char* const names[] = {"readme.txt", "abcdefghijklmnop", "abcdefghijklmnopq"};
    const char* const paths[] = {"c:\\b\\", "c:\\a\\", "c:\\b\\c\\", "c:\\a0\\"};
    const char* const dates[] = {"01/15/2023 10:23", "12/31/2022 23:59", "01/15/2023 10:23:45",
                                 "06/01/2021 08:00", "01/15/2023 10:24"};
    const char* const sizes[] = {"300", "-5", "5000000000", "", "7", "4294967296", "300"};
    // Year-first ranks of the dates and numeric ranks of the sizes, by hand.
    const std::map<std::string, int> dateRank{{"06/01/2021 08:00", 0},
                                              {"12/31/2022 23:59", 1},
                                              {"01/15/2023 10:23", 2},
                                              {"01/15/2023 10:23:45", 3},
                                              {"01/15/2023 10:24", 4}};
    const std::map<std::string, int> sizeRank{{"-5", 0},  {"", 1},           {"7", 2},
                                              {"300", 3}, {"4294967296", 4}, {"5000000000", 5}};
    std::vector<Line> lines;
    std::map<std::string, int> importAt; // every row's fields together are unique
    for (int k = 0; k < 60; ++k) {
        Line l{sizes[k % 7], dates[k % 5], std::string(paths[k % 4]) + names[k % 3]};
        importAt[l.size + "|" + l.date + "|" + l.fullName] = k;
        lines.push_back(l);
    }
    ResultRowsRecord rows = Import(lines);
    auto where = [&](int r) {
        return importAt.at(std::string(rows.Size(r)) + "|" + std::string(rows.Date(r)) + "|" +
                           rows.FullName(r));
    };
    auto compare = [&](int column, int r) { // row r against row r + 1: -1, 0 or 1
        auto sign = [](auto a, auto b) { return a < b ? -1 : b < a ? 1 : 0; };
        switch (column) {
        case 1:
            return sign(rows.Name(r), rows.Name(r + 1));
        case 2:
            return sign(rows.Path(r), rows.Path(r + 1));
        case 3:
            return sign(dateRank.at(std::string(rows.Date(r))),
                        dateRank.at(std::string(rows.Date(r + 1))));
        default:
            return sign(sizeRank.at(std::string(rows.Size(r))),
                        sizeRank.at(std::string(rows.Size(r + 1))));
        }
    };
    const std::pair<int, bool> steps[] = {{4, true},  {1, false}, {3, true},  {2, false}, {1, true},
                                          {4, false}, {2, true},  {3, false}, {4, true}};
    for (auto [column, descending] : steps) {
        SortResultRows(rows, column, descending);
        ASSERT_EQ(rows.Count(), 60);
        for (int r = 1; r < rows.Count(); ++r) {
            int c = compare(column, r);
            EXPECT_TRUE(descending ? c >= 0 : c <= 0)
                << "column " << column << " rows " << r << " and " << r + 1;
            if (c == 0) {
                EXPECT_LT(where(r), where(r + 1))
                    << "column " << column << " rows " << r << " and " << r + 1;
            }
        }
    }
}

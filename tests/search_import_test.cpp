#include "scenario.h"

#include "results/navigation.h"
#include "search/result_parse.h"

namespace {

const char kHeader[] = "Size,Date Modified,Filename\r\n";

ResultRowsRecord Parse(const std::string& bytes, ImportOptions options = {}) {
    ResultRowsRecord rows;
    ParseResultText(bytes, options, rows);
    return rows;
}

std::vector<std::string> Names(const ResultRowsRecord& rows) {
    std::vector<std::string> names;
    for (int r = 1; r <= rows.Count(); ++r)
        names.emplace_back(rows.Name(r));
    return names;
}

} // namespace

TEST(ResultImport, FieldsOfOneRow) {
    ResultRowsRecord rows =
        Parse(std::string(kHeader) + "1234,01/15/2023 10:23,\"C:\\Users\\Ann\\Report.DOCX\"\r\n");
    ASSERT_EQ(rows.Count(), 1);
    EXPECT_EQ(rows.Name(1), "report.docx");
    EXPECT_EQ(rows.Path(1), "c:\\users\\ann\\");
    EXPECT_EQ(rows.Date(1), "01/15/2023 10:23");
    EXPECT_EQ(rows.Size(1), "1234");
    EXPECT_EQ(rows.SortDate(1), "2023/01/15 10:23");
    EXPECT_EQ(rows.Row(1).SizeValue, 1234);
    EXPECT_FALSE(rows.IsFolder(1));
}

TEST(ResultImport, HeaderBlankLinesAndLineEnds) {
    EXPECT_EQ(Parse("").Count(), 0);
    EXPECT_EQ(Parse(kHeader).Count(), 0);
    EXPECT_EQ(Parse("1,d,c:\\header.txt\r\n").Count(), 0); // line 1 is always the header
    std::string body = "\r\n\r\n" + std::string(kHeader) + "1,d,c:\\a\r\n\r\n\r\n2,d,c:\\b\r\n\r\n";
    EXPECT_EQ(Names(Parse(body)), (std::vector<std::string>{"a", "b"}));
    // Lines ended by LF alone are lines too.
    EXPECT_EQ(Names(Parse("h\n1,d,c:\\a\n2,d,c:\\b")), (std::vector<std::string>{"a", "b"}));
}

TEST(ResultImport, QuotesCommasAndShortLines) {
    std::string body = std::string(kHeader) +
                       "5,d,\"c:\\a\\b, c.txt\"\r\n"                 // a comma inside quotes
                       "6,d,c:\\a\\\"x\".txt\r\n"                    // stray quotes are dropped
                       "7,d,\"c:\\q\\say \"\"hi\"\".txt\",extra\r\n" // doubled quote is one quote
                       "12345\r\n"                                   // one field: the Size
                       ",d,c:\\folder\r\n";                          // no size: a folder
    ResultRowsRecord rows = Parse(body);
    ASSERT_EQ(rows.Count(), 5);
    EXPECT_EQ(rows.Name(1), "b, c.txt");
    EXPECT_EQ(rows.FullName(2), "c:\\a\\x.txt");
    EXPECT_EQ(rows.Name(3), "say \"hi\".txt");
    EXPECT_EQ(rows.Size(4), "12345");
    EXPECT_EQ(rows.Name(4), "");
    EXPECT_EQ(rows.Path(4), "");
    EXPECT_TRUE(rows.IsFolder(5));
    EXPECT_EQ(rows.Name(5), "folder");
}

TEST(ResultImport, TextEncodingsAndLowerCase) {
    ResultRowsRecord utf8 =
        Parse(std::string("\xEF\xBB\xBF") + kHeader + "1,d,C:\\CAFÉ\\ÅSA.TXT\r\n");
    EXPECT_EQ(utf8.FullName(1), "c:\\café\\åsa.txt");
    ResultRowsRecord western = Parse(std::string(kHeader) + "1,d,C:\\CAF\xC9.TXT\r\n");
    EXPECT_EQ(western.FullName(1), "c:\\café.txt");
}

TEST(ResultImport, IgnoreList) {
    std::string body = std::string(kHeader) +
                       "1,d,c:\\a\\link.lnk\r\n2,d,c:\\a\\page.url\r\n3,d,c:\\a\\x.ur\r\n"
                       "4,d,c:\\a.b\\readme\r\n,d,c:\\a\\folder\r\n5,d,c:\\a\\keep.txt\r\n";
    EXPECT_EQ(Parse(body).Count(), 6);
    ImportOptions on{true, ".lnk .url"};
    // Any piece of the list matches; names without an extension stay.
    EXPECT_EQ(Names(Parse(body, on)), (std::vector<std::string>{"readme", "folder", "keep.txt"}));
}

TEST(ResultImport, LargeSizesAndLongFields) {
    std::string longDate(40, '1');
    ResultRowsRecord rows = Parse(std::string(kHeader) + "5000000000," + longDate +
                                  ",c:\\big.iso\r\n" + "12abc,d,c:\\odd\r\n");
    EXPECT_EQ(rows.Row(1).SizeValue, 5000000000LL);
    EXPECT_EQ(rows.Date(1).size(), 31u);
    EXPECT_EQ(rows.Name(1), "big.iso");   // cutting the date does not shift the name
    EXPECT_EQ(rows.Row(2).SizeValue, 12); // the number at the start
}

TEST(ResultSort, ColumnsDirectionsAndTies) {
    std::string body = std::string(kHeader) + "300,12/31/2022 09:00,c:\\z\\b.txt\r\n"
                                              "100,01/01/2023 08:00,c:\\a\\a.txt\r\n"
                                              "200,12/31/2022 09:00,c:\\m\\b.txt\r\n"
                                              "-5,06/15/2021 10:00,c:\\k\\c.txt\r\n";
    ResultRowsRecord rows = Parse(body);
    SortResultRows(rows, 1, false);
    EXPECT_EQ(rows.Path(1), "c:\\a\\");
    EXPECT_EQ(rows.Path(2), "c:\\z\\"); // equal names keep their import order
    EXPECT_EQ(rows.Path(3), "c:\\m\\");
    SortResultRows(rows, 1, true);
    EXPECT_EQ(rows.Name(1), "c.txt");
    EXPECT_EQ(rows.Path(2), "c:\\z\\"); // still import order among equals
    SortResultRows(rows, 3, false);
    EXPECT_EQ(rows.Name(1), "c.txt");
    EXPECT_EQ(rows.Date(4), "01/01/2023 08:00"); // year first, not the text order
    SortResultRows(rows, 4, false);
    EXPECT_EQ(rows.Row(1).SizeValue, -5);
    EXPECT_EQ(rows.Row(4).SizeValue, 300);
    SortResultRows(rows, 2, true);
    EXPECT_EQ(rows.Path(1), "c:\\z\\");
}

TEST(ResultSort, LongKeysSharingAPrefix) {
    std::string prefix(40, 'x');
    ResultRowsRecord rows = Parse(std::string(kHeader) + "1,d,c:\\" + prefix + "b\r\n1,d,c:\\" +
                                  prefix + "a\r\n1,d,c:\\" + prefix + "\r\n");
    SortResultRows(rows, 1, false);
    EXPECT_EQ(Names(rows), (std::vector<std::string>{prefix, prefix + "a", prefix + "b"}));
}

TEST_F(ScenarioTest, SortingFlipsDirectionOnEveryCall) {
    ResultRows.Add("", "", "c:\\", "one", false);
    world().itemCount = 1;
    SortRows(1);
    EXPECT_EQ(SortDescending, 1);
    SortRows(3);
    EXPECT_EQ(SortDescending, 0);
    EXPECT_EQ(ResultRows.Name(1), "one");
    EXPECT_EQ(world().selected, 0);
}

TEST(SizeText, KilobytesAndFinerText) {
    EXPECT_EQ(SizeText(1, true), "1 KB");
    EXPECT_EQ(SizeText(499, true), "1 KB");
    EXPECT_EQ(SizeText(1500, true), "2 KB");
    EXPECT_EQ(SizeText(2500, true), "2 KB");
    EXPECT_EQ(SizeText(3500, true), "4 KB");
    EXPECT_EQ(SizeText(0, true), " KB");
    EXPECT_EQ(SizeText(1234567, true), "1,235 KB");
    EXPECT_EQ(SizeText(5000000000LL, true), "5,000,000 KB");
    EXPECT_EQ(SizeText(1234567, false), "1,234.6 KB");
    EXPECT_EQ(SizeText(1, false), "0.1 KB");
    EXPECT_EQ(SizeText(0, false), "0.0 KB");
}

// A size below zero is never shown without its number, nor with its sign lost: like 1 to 499
// bytes showing as 1 KB, -1 to -499 show as -1 KB.
TEST(SizeText, NegativeSizesShowTheirNumber) {
    EXPECT_EQ(SizeText(-1, true), "-1 KB");
    EXPECT_EQ(SizeText(-499, true), "-1 KB");
    EXPECT_EQ(SizeText(-500, true), "-1 KB"); // half to even: 0, then at least one
    EXPECT_EQ(SizeText(-1500, true), "-2 KB");
    EXPECT_EQ(SizeText(-2500, true), "-2 KB");
    EXPECT_EQ(SizeText(-1234567, true), "-1,235 KB");
    EXPECT_EQ(SizeText(-1, false), "-0.1 KB");
    EXPECT_EQ(SizeText(-150, false), "-0.2 KB");
    EXPECT_EQ(SizeText(-1234567, false), "-1,234.6 KB");
    EXPECT_EQ(SizeText(INT64_MIN, true), "-9,223,372,036,854,776 KB");
}

TEST_F(ScenarioTest, SizeColumnOfANegativeSizeInTheResultFile) {
    Put("results.txt", std::string(kHeader) + "-5,d,c:\\odd.txt\r\n-2600,d,c:\\odder.txt\r\n");
    ASSERT_EQ(ImportResultFile(), 2);
    Settings.UseKB = 1;
    EXPECT_EQ(FormatSize(1), "-1 KB");
    EXPECT_EQ(FormatSize(2), "-3 KB");
    Settings.UseKB = 0;
    EXPECT_EQ(FormatSize(1), "-0.1 KB");
    EXPECT_EQ(FormatSize(2), "-2.6 KB");
}

TEST_F(ScenarioTest, ImportReplacesRowsAndEmptiesTheList) {
    world().itemCount = 9;
    EXPECT_EQ(ImportResultFile(), 0); // no file: the placeholder stands
    EXPECT_EQ(ResultRows.Name(1), "<empty>");
    EXPECT_EQ(world().itemCount, 1);
    Put("results.txt", std::string(kHeader) + "1,d,c:\\a.lnk\r\n2,d,c:\\b.txt\r\n");
    Settings.UseIgnoreList = 1;
    EXPECT_EQ(ImportResultFile(), 1);
    EXPECT_EQ(ResultRows.Name(1), "b.txt");
    EXPECT_EQ(world().itemCount, 0); // shown by the caller
}

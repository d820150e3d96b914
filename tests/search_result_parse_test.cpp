// The import reads eight ASCII bytes at a time where it can; these cases sit
// on the edges of that: letters next to the case range, high bytes inside or
// after a word, sizes at the limit of the digit-only reading.
#include "search/result_parse.h"
#include "search/result_rows.h"

#include <gtest/gtest.h>

#include <string>

namespace {

ResultRowsRecord ParseOne(const std::string& line, ImportOptions options = {}) {
    ResultRowsRecord rows;
    ParseResultText("Size,Date Modified,Filename\r\n" + line + "\r\n", options, rows);
    return rows;
}

} // namespace

TEST(ResultParse, OnlyAToZAreLoweredInAsciiWords) {
    // '@' and '[' sit just outside A-Z, '`' and '{' just outside a-z.
    ResultRowsRecord rows = ParseOne("1,d,\"C:\\@AZ[`az{~\\x@AZ[`AZ{~QRSTUVWXYZ\x7F.TXT\"");
    ASSERT_EQ(rows.Count(), 1);
    EXPECT_EQ(rows.Path(1), "c:\\@az[`az{~\\");
    EXPECT_EQ(rows.Name(1), "x@az[`az{~qrstuvwxyz\x7F.txt");
}

TEST(ResultParse, LettersAroundHighBytesAreLowered) {
    // "ÉCOLE" between long ASCII runs, and a capital right after a high byte.
    ResultRowsRecord rows = ParseOne("1,d,C:\\SOME FOLDER\\\xC3\x89"
                                     "COLE ABCDEFGH \xC3\x80X ABCDEFGHIJ.PDF");
    ASSERT_EQ(rows.Count(), 1);
    EXPECT_EQ(rows.Name(1), "\xC3\xA9"
                            "cole abcdefgh \xC3\xA0x abcdefghij.pdf");
}

// Characters of three and four bytes are stepped over whole: the capital right
// after one is lowered like any other.
TEST(ResultParse, LettersAfterLongCharactersAreLowered) {
    ResultRowsRecord rows =
        ParseOne("1,d,C:\\\xE6\x97\xA5Report \xE2\x82\xACX \xF0\x9F\x98\x80Y.TXT");
    ASSERT_EQ(rows.Count(), 1);
    EXPECT_EQ(rows.Name(1), "\xE6\x97\xA5report \xE2\x82\xACx \xF0\x9F\x98\x80y.txt");
}

TEST(ResultParse, AStrayByteAfterLongAsciiReadsAsWestern) {
    ResultRowsRecord rows = ParseOne("1,d,C:\\a long folder name\\Caf\xE9 menu.txt");
    ASSERT_EQ(rows.Count(), 1);
    EXPECT_EQ(rows.Name(1), "caf\xC3\xA9 menu.txt");
    // Valid UTF-8 after the same run is kept as it is.
    rows = ParseOne("1,d,C:\\a long folder name\\Caf\xC3\xA9 menu.txt");
    EXPECT_EQ(rows.Name(1), "caf\xC3\xA9 menu.txt");
}

TEST(ResultParse, SizesAtTheEdgeOfPlainDigits) {
    EXPECT_EQ(ParseOne("999999999999999,d,c:\\a").Row(1).SizeValue, 999999999999999LL);
    EXPECT_EQ(ParseOne("1000000000000000,d,c:\\a").Row(1).SizeValue, 1000000000000000LL);
    EXPECT_EQ(ParseOne("0,d,c:\\a").Row(1).SizeValue, 0);
    EXPECT_EQ(ParseOne("007,d,c:\\a").Row(1).SizeValue, 7);
    EXPECT_EQ(ParseOne(" 42,d,c:\\a").Row(1).SizeValue, 42);
    EXPECT_EQ(ParseOne("-42,d,c:\\a").Row(1).SizeValue, -42);
    EXPECT_EQ(ParseOne("12.5,d,c:\\a").Row(1).SizeValue, 12); // a half goes to the even one
    EXPECT_EQ(ParseOne("13.5,d,c:\\a").Row(1).SizeValue, 14);
    EXPECT_EQ(ParseOne("123abc,d,c:\\a").Row(1).SizeValue, 123);
    EXPECT_EQ(ParseOne("abc,d,c:\\a").Row(1).SizeValue, 0);
}

TEST(ResultParse, ExtensionOnlyAfterTheLastSeparator) {
    ImportOptions ignoreLinks{true, ".lnk"};
    EXPECT_EQ(ParseOne("1,d,c:\\old.lnk\\readme", ignoreLinks).Count(), 1);
    EXPECT_EQ(ParseOne("1,d,c:\\old\\readme.lnk", ignoreLinks).Count(), 0);
    EXPECT_EQ(ParseOne("1,d,d:readme.lnk", ignoreLinks).Count(), 0);
    // A dot in a folder's name starts no extension, whatever the list holds.
    ImportOptions withFolder{true, ".lnk .old\\readme"};
    EXPECT_EQ(ParseOne("1,d,c:\\x.old\\readme", withFolder).Count(), 1);
    EXPECT_EQ(ParseOne("1,d,c:\\x\\y.old", withFolder).Count(), 0);
    ResultRowsRecord rows = ParseOne("1,d,d:readme.txt", ignoreLinks);
    ASSERT_EQ(rows.Count(), 1);
    EXPECT_EQ(rows.Path(1), "d:");
    EXPECT_EQ(rows.Name(1), "readme.txt");
}

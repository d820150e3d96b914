// Random and truncated bytes must never crash the importer or the INI reader,
// and every imported row must point inside the text it was read from.
#include "scenario.h"

#include "base/text.h"
#include "search/result_parse.h"
#include "settings/ini_codec.h"

#include <random>

namespace {

std::string RandomBytes(std::mt19937& rng, size_t size, const std::string& alphabet) {
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = alphabet.empty() ? char(rng() & 0xFF) : alphabet[rng() % alphabet.size()];
    return bytes;
}

void CheckRows(const ResultRowsRecord& rows) {
    for (int r = 1; r <= rows.Count(); ++r) {
        const ResultRow& row = rows.Row(r);
        size_t end =
            size_t(row.start) + row.sizeLength + row.dateLength + row.pathLength + row.nameLength;
        ASSERT_LE(end, rows.text.size());
        EXPECT_EQ(row.IsFolder, row.sizeLength == 0 ? 1 : 0);
        EXPECT_LE(rows.Date(r).size(), 31u * 4);
    }
}

} // namespace

TEST(Fuzz, ImporterSurvivesRandomAndTruncatedInput) {
    std::mt19937 rng(20261207);
    const std::string csvish = "\r\n,\"\\:.ab1 \xC3\xA9\xFF";
    const std::string sample =
        "Size,Date Modified,Filename\r\n1,01/02/2023 04:05,\"c:\\a\\b, \"\"c\"\".txt\"\r\n"
        ",12/31/2022 23:59,\"c:\\folder\"\r\n99999999999999999999,x,y\n";
    for (int i = 0; i < 3000; ++i) {
        std::string bytes;
        switch (i % 3) {
        case 0:
            bytes = RandomBytes(rng, rng() % 300, "");
            break;
        case 1:
            bytes = RandomBytes(rng, rng() % 300, csvish);
            break;
        default:
            bytes = sample.substr(0, rng() % (sample.size() + 1));
            break;
        }
        ResultRowsRecord rows;
        ParseResultText(bytes, {i % 2 == 0, ".lnk"}, rows);
        CheckRows(rows);
        for (int c = 1; c <= 4; ++c)
            SortResultRows(rows, c, i % 2 == 1);
        CheckRows(rows);
    }
}

TEST(Fuzz, IniReaderSurvivesRandomAndTruncatedInput) {
    std::mt19937 rng(7);
    std::string good = SettingsIniText(SettingsRecord());
    for (int i = 0; i < 2000; ++i) {
        std::string bytes = i % 2 ? RandomBytes(rng, rng() % 400, "[]=\r\n AllFontSize+-09\"'")
                                  : good.substr(0, rng() % (good.size() + 1));
        SettingsRecord values;
        ReadSettingsIni(DecodeFileText(bytes), true, values);
        EXPECT_LE(values.SearchTerm.size(), 259u * 4);
        IniLookup(RandomBytes(rng, rng() % 200, ""), "All", "Key");
    }
}

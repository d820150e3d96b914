#include "scenario.h"

#include "search/command_line.h"
#include "search/filter_groups.h"
#include "search/search_term.h"

namespace {
// How the worked examples are written: the text after the engine's name.
const std::string EnginePrefix = "CMD /C es ";
} // namespace

TEST(SearchTermCheck, AllowedCharactersOnly) {
    EXPECT_TRUE(IsValidSearchTerm("Texas?"));
    EXPECT_TRUE(IsValidSearchTerm("c:\\users\\*.txt"));
    EXPECT_TRUE(IsValidSearchTerm(""));
    EXPECT_TRUE(IsValidSearchTerm("\"a b\" !x|y (1)-_=+%:./"));
    for (std::string bad : {"a,b", "a;b", "a\tb", "caf\xC3\xA9", "a\nb", "`", "~", "@", "#", "$",
                            "^", "&", "[", "{", "]", "}", "'", "<", ">"})
        EXPECT_FALSE(IsValidSearchTerm(bad)) << bad;
}

TEST(SearchTermCheck, SpreadingWildcards) {
    EXPECT_EQ(SpreadTerm("a*b?c"), "a *b ?c");
    EXPECT_EQ(SpreadTerm("**"), " * *");
    EXPECT_EQ(SpreadTerm("   "), "Empty");
    EXPECT_EQ(SpreadTerm(" x "), " x ");
}

TEST_F(ScenarioTest, FailedCheckSelectsTheWholeTermForRetyping) {
    world().searchText = "a;b";
    world().focus = platform::ResultListId;
    Settings.SearchTerm = "a;b";
    EXPECT_EQ(ValidateSearchTerm(), 0);
    EXPECT_EQ(world().focus, platform::SearchBoxId);
    EXPECT_EQ(world().selStart, 0);
    EXPECT_EQ(world().selEnd, 3);
}

TEST(EngineCommandLine, WorkedExamples) {
    std::string files =
        EnginePrefix + EngineArgumentsFor(Files, ExclusionTermsFrom(false, ""), 1, 100, "texas");
    EXPECT_EQ(files, "CMD /C es  !c:\\windows\\ !c:\\$recycle.bin\\  -size -size-format 2 -dm "
                     "/a-d  -sort dm  -n 100 -export-csv results.txt texas");
    EXPECT_EQ(files.size(), 120u);
    std::string folders = EnginePrefix + EngineArgumentsFor(Folders, "", 0, 0, "texas");
    EXPECT_EQ(folders, "CMD /C es  -size -size-format 2 -dm /ad  -sort name  -export-csv "
                       "results.txt texas");
    EXPECT_EQ(folders.size(), 82u);
    EXPECT_EQ(EngineArgumentsFor(Both, "", 5, 250, "a b"),
              " -size -size-format 2 -dm  -sort dm  -n 250 -export-csv results.txt a b");
    EXPECT_EQ(EngineArgumentsFor(Custom, " !x", 1, 100, "-n 5 y"),
              "-export-csv results.txt -n 5 y");
    EXPECT_EQ(EngineArgumentsFor(Custom, "", 1, 100, "y -EXPORT-CSV Results.txt"),
              "y -EXPORT-CSV Results.txt");
    EXPECT_EQ(CountOption(-5), " -n-5");
    EXPECT_EQ(CountOption(0), "");
}

TEST(EngineCommandLine, ExclusionFileLinesAreUsedVerbatim) {
    EXPECT_EQ(ExclusionTermsFrom(true, "d:\\temp\\\r\ne:\\old\\"), " !d:\\temp\\ !e:\\old\\");
    EXPECT_EQ(ExclusionTermsFrom(true, "d:\\temp\\\r\n"), " !d:\\temp\\ !");
    EXPECT_EQ(ExclusionTermsFrom(true, ""), " !");
    EXPECT_EQ(ExclusionTermsFrom(true, " x \r\n\r\ny"), " ! x  ! !y");
}

TEST_F(ScenarioTest, ExclusionTermsFollowTheSettingAndTheFile) {
    EXPECT_EQ(BuildExclusionTerms(), " !c:\\windows\\ !c:\\$recycle.bin\\ ");
    Put("exclusion.txt", "d:\\temp\\");
    EXPECT_EQ(BuildExclusionTerms(), " !d:\\temp\\");
    Settings.ExcludeSystemFolders = 0;
    EXPECT_EQ(BuildExclusionTerms(), "");
}

TEST(EngineArgumentText, VerticalBarsAreMarkedAndNothingElse) {
    EXPECT_EQ(MarkVerticalBars("a|b"), "a^|b");
    EXPECT_EQ(MarkVerticalBars("\"a|b & c\" %x% d||e"), "\"a^|b & c\" %x% d^|^|e");
}

TEST(EngineArgumentText, ExclusionLinesEndAtEitherLineBreakAndAtNul) {
    EXPECT_EQ(ExclusionLines("a\r\nb\nc"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(ExclusionLines(std::string_view("d:\\x\0junk\r\ne:\\", 14)),
              (std::vector<std::string>{"d:\\x", "e:\\"}));
    EXPECT_EQ(ExclusionLines("a\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(ExclusionLines("a\rb"), (std::vector<std::string>{"a\rb"}));
    EXPECT_EQ(ExclusionTermsFrom(true, "d:\\temp\\\ne:\\old\\"), " !d:\\temp\\ !e:\\old\\");
}

TEST(ProcessCommandLine, WindowsArgumentSplitting) {
    using platform::testing::SplitWindowsArguments;
    EXPECT_EQ(SplitWindowsArguments("es  a\t\"b c\" d\"\"e"),
              (std::vector<std::string>{"es", "a", "b c", "de"}));
    EXPECT_EQ(SplitWindowsArguments(R"(es c:\a\ "x\"y" \\"z")"),
              (std::vector<std::string>{"es", "c:\\a\\", "x\"y", "\\z"}));
    EXPECT_EQ(SplitWindowsArguments("es \"\""), (std::vector<std::string>{"es", ""}));
    EXPECT_EQ(SplitWindowsArguments("es c:\\a\\"), (std::vector<std::string>{"es", "c:\\a\\"}));
}

TEST(FilterGroups, ListsAndReplacement) {
    CreateFilterGroups();
    const std::pair<const char*, size_t> sizes[] = {
        {"audio:", 139}, {"zip:", 172}, {"doc:", 219}, {"exe:", 27}, {"pic:", 66}, {"video:", 290}};
    for (auto [name, length] : sizes) {
        std::string text = name;
        ExpandFilterGroups(text);
        EXPECT_EQ(text.size(), length) << name;
        EXPECT_EQ(text.substr(0, 4), "ext:");
        EXPECT_NE(text.back(), ';');
    }
    std::string custom = "audio: beatles";
    ExpandFilterGroups(custom);
    EXPECT_EQ(custom.substr(0, 8), "ext:aac;");
    EXPECT_EQ(custom.substr(custom.size() - 11), ";xm beatles");
    std::string both = "doc: exe:";
    ExpandFilterGroups(both);
    EXPECT_NE(both.find(";xml ext:bat;"), std::string::npos);
    std::string mixed = "myaudio: Audio: plain";
    ExpandFilterGroups(mixed);
    EXPECT_EQ(mixed.substr(0, 10), "myext:aac;");
    EXPECT_NE(mixed.find(" Audio: plain"), std::string::npos);
    std::string files = EngineArgumentsFor(Files, "", 1, 100, "pic: holiday");
    ExpandFilterGroups(files);
    EXPECT_NE(files.find(" -export-csv results.txt ext:ani;bmp;"), std::string::npos);
    EXPECT_EQ(files.substr(files.size() - 12), ";wmf holiday");
}

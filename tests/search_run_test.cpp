#include "scenario.h"

#include "search/command_line.h"

namespace {

const char kTwoRows[] = "Size,Date Modified,Filename\r\n"
                        "2048,03/04/2024 05:06,\"C:\\Data\\Texas.txt\"\r\n"
                        ",01/02/2020 03:04,\"C:\\Data\\Texas Maps\"\r\n";

} // namespace

class RunSearchTest : public ScenarioTest {
  protected:
    // An engine that writes the given export and answers with the given code.
    void FakeEngine(std::string exported, uint32_t exitCode = 0) {
        world().processHandler = [this, exported, exitCode](const std::vector<std::string>& args) {
            engineArgs = args;
            if (!exported.empty()) Put("results.txt", exported);
            return platform::ProcessResult{true, false, false, exitCode};
        };
    }
    void Search(int kind, const std::string& text) {
        Settings.SearchType = kind;
        world().searchText = text;
        RunSearch();
    }
    std::vector<std::string> engineArgs;
};

TEST_F(RunSearchTest, FileSearchSpeaksWaitsRunsAndReports) {
    FakeEngine(kTwoRows);
    SearchHistory = "texas";
    Search(Files, "Texas");
    std::vector<platform::testing::Utterance> t = world().transcript;
    ASSERT_GE(t.size(), 2u);
    // The announcement is spoken to its end (no asynchronous flag) before the engine runs.
    auto announce =
        std::find_if(t.begin(), t.end(), [](auto& u) { return u.text == "File Search for Texas"; });
    ASSERT_NE(announce, t.end());
    EXPECT_EQ(announce->flags, platform::SpeakPurgeBeforeSpeak);
    EXPECT_EQ(t.back().text, "Search is complete : 2 Matches : texas.txt");
    ASSERT_EQ(world().processRuns.size(), 1u);
    EXPECT_EQ(world().processRuns[0].program, folder + "es.exe");
    EXPECT_EQ(world().processRuns[0].folder, folder);
    EXPECT_EQ(engineArgs,
              (std::vector<std::string>{folder + "es.exe", "!c:\\windows\\", "!c:\\$recycle.bin\\",
                                        "-size", "-size-format", "2", "-dm", "/a-d", "-sort", "dm",
                                        "-n", "100", "-export-csv", "results.txt", "Texas"}));
    EXPECT_EQ(EngineArguments, " !c:\\windows\\ !c:\\$recycle.bin\\  -size -size-format 2 -dm "
                               "/a-d  -sort dm  -n 100 -export-csv results.txt Texas");
    EXPECT_EQ(world().clipboard, EngineArguments);
    EXPECT_EQ(world().caption, "Lumafind 4.43    .1 sec : .2 sec   ... " + EngineArguments);
    // The date and size stand whole in their columns, so the status bar leaves
    // them out.
    EXPECT_EQ(world().statusText, "     1  texas.txt  c:\\data\\");
    EXPECT_EQ(world().columns[0].header, " Name  (2)");
    EXPECT_EQ(world().itemCount, 2);
    EXPECT_EQ(world().selected, 0);
    EXPECT_EQ(world().focus, platform::ResultListId);
    EXPECT_EQ(Settings.LastSearchType, Files);
    EXPECT_EQ(Settings.SearchTerm, "Texas");
    EXPECT_EQ(Get("searchterms.txt"), "Texas++++texas");
}

// The user hears the announcement to its end before the engine runs, and the
// summary only once the list, the clipboard and the caption are ready.
TEST_F(RunSearchTest, StepsHappenInOrder) {
    FakeEngine(kTwoRows);
    world().events.clear();
    Search(Files, "texas");
    std::vector<std::string> wanted = {"count: 1",                    // the loading row
                                       "header: Name",                // its header
                                       "wait: File Search for texas", // spoken to its end
                                       "run: " + folder + "es.exe",   // the engine
                                       "clipboard: ",                 // the arguments
                                       "count: 2",                    // the rows
                                       "header:  Name  (2)",          // counted in the header
                                       "focus: 501",                  // the list
                                       "caption: Lumafind 4.43    ",  // the timing
                                       "speak: Search is complete : 2 Matches : ", // the summary
                                       "status:      1  texas.txt"}; // row 1 in the status bar
    size_t at = 0;
    for (const std::string& event : world().events)
        if (at < wanted.size() && event.rfind(wanted[at], 0) == 0) ++at;
    EXPECT_EQ(at, wanted.size()) << "missing or out of order: "
                                 << wanted[std::min(at, wanted.size() - 1)];
}

TEST_F(RunSearchTest, WordsForEachKindAndCount) {
    FakeEngine("h\r\n,d,\"c:\\only folder\"\r\n");
    Search(Folders, "x");
    EXPECT_EQ(Spoken(), "Search is complete : 1 Match : Folder : only folder");
    Search(Both, "y");
    Search(Custom, "-export-csv results.txt z");
    std::vector<std::string> texts = platform::testing::SpokenTexts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Folder Search for x"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Search All for y"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Custom Search -export-csv results.txt z"),
              texts.end());
    EXPECT_EQ(EngineArguments, "-export-csv results.txt z");
    FakeEngine("Size,Date Modified,Filename\r\n");
    Search(Files, "nothing");
    EXPECT_EQ(Spoken(), "Search is complete : 0 Matches : <empty>");
    EXPECT_EQ(world().columns[0].header, " Name  (0)");
}

TEST_F(RunSearchTest, InvalidTermChangesNothing) {
    FakeEngine(kTwoRows);
    Search(Files, "texas");
    std::string caption = world().caption, history = SearchHistory, args = EngineArguments;
    Search(Folders, "bad;term");
    EXPECT_EQ(Spoken(), "Invalid Search Term");
    EXPECT_EQ(world().processRuns.size(), 1u);
    EXPECT_EQ(Settings.LastSearchType, Files);
    EXPECT_EQ(SearchHistory, history);
    EXPECT_EQ(EngineArguments, args);
    EXPECT_EQ(world().caption, caption);
    EXPECT_EQ(world().itemCount, 2);
    EXPECT_EQ(world().focus, platform::SearchBoxId);
}

TEST_F(RunSearchTest, CustomTermsRunAnywayButNothingElseRuns) {
    FakeEngine("");
    Search(Custom, "a & del x|y\r\nz");
    EXPECT_EQ(engineArgs, (std::vector<std::string>{folder + "es.exe", "-export-csv", "results.txt",
                                                    "a", "&", "del", "x|y", "z"}));
    EXPECT_EQ(EngineArguments, "-export-csv results.txt a & del x^|y\r\nz");
}

TEST_F(RunSearchTest, FailedEngineRunIsReportedAndKeepsThePreviousResult) {
    Put("results.txt", kTwoRows);
    FakeEngine("", 8); // the outside engine's service is not running
    Search(Files, "texas");
    EXPECT_EQ(Spoken(), "Everything Not Found");
    EXPECT_EQ(ResultRows.Count(), 2);
    EXPECT_EQ(Get("results.txt"), kTwoRows);
    FakeEngine("", 4);
    Search(Files, "texas");
    EXPECT_EQ(Spoken(), "Search Failed : Previous Result Shown");
    EXPECT_EQ(ResultRows.Name(1), "texas.txt");
    world().processHandler = nullptr;
    world().processStarts.failAt = world().processStarts.calls + 1;
    Search(Files, "texas");
    EXPECT_EQ(Spoken(), "Everything Not Found");
    std::filesystem::remove(folder + "es.exe");
    size_t runs = world().processRuns.size();
    Search(Files, "texas");
    EXPECT_EQ(Spoken(), "Everything Not Found");
    EXPECT_EQ(world().processRuns.size(), runs); // nothing was started
    EXPECT_EQ(Get("results.txt"), kTwoRows);
    EXPECT_EQ(world().columns[0].header, " Name  (2)");
}

TEST_F(RunSearchTest, BlankBoxRunsWithNoTermAndRecordsNothing) {
    FakeEngine(kTwoRows);
    SearchHistory = "old";
    Search(Files, "   ");
    EXPECT_EQ(SearchHistory, "old");
    EXPECT_FALSE(platform::FileExists("searchterms.txt"));
    EXPECT_EQ(EngineArguments.substr(EngineArguments.size() - 25), " -export-csv results.txt ");
}

TEST_F(RunSearchTest, FocusAfterTheSearchFollowsTheSetting) {
    FakeEngine(kTwoRows);
    Settings.FocusOnRE = 1;
    Search(Files, "texas");
    EXPECT_EQ(world().focus, platform::SearchBoxId);
    EXPECT_EQ(world().postedSelectAlls, 1);
}

TEST_F(RunSearchTest, FilelistIsDeletedAtTheStart) {
    FakeEngine(kTwoRows);
    Put("filelist.txt", "x");
    Search(Files, "texas");
    EXPECT_FALSE(platform::FileExists("filelist.txt"));
}

TEST_F(ScenarioTest, HistoryRecordsFiveAndStepsAround) {
    SearchHistory = "texas";
    for (std::string term : {"dallas", "houston"}) {
        world().searchText = term;
        RecordSearchTerm();
    }
    EXPECT_EQ(SearchHistory, "houston++++dallas++++texas");
    int down = 1, up = -1;
    StepSearchHistory(down);
    EXPECT_EQ(world().searchText, "dallas");
    EXPECT_EQ(Spoken(), "Search Term is : dallas");
    StepSearchHistory(down);
    StepSearchHistory(down);
    EXPECT_EQ(world().searchText, "houston");
    StepSearchHistory(up);
    EXPECT_EQ(Settings.SearchTermNumber, 1);
    Settings.SearchTermNumber = -7; // from a hand-edited INI
    StepSearchHistory(up);
    EXPECT_EQ(Settings.SearchTermNumber, 1);
    for (std::string term : {"a", "b", "c", "d", "e", "f"}) {
        world().searchText = term;
        RecordSearchTerm();
    }
    EXPECT_EQ(SearchHistory, "f++++e++++d++++c++++b");
    EXPECT_EQ(Get("searchterms.txt"), "f++++e++++d++++c++++b");
    world().searchText = "x++++y";
    RecordSearchTerm();
    EXPECT_EQ(SearchHistory, "x++++y++++f++++e++++d");
}

TEST_F(ScenarioTest, FirstRecordingIntoAnEmptyHistoryAddsNoEmptyEntry) {
    world().searchText = "first";
    RecordSearchTerm();
    EXPECT_EQ(SearchHistory, "first");
}

TEST_F(ScenarioTest, HistoryAtStartUp) {
    Settings.SearchTerm = "texas";
    ReadSearchHistory();
    EXPECT_EQ(SearchHistory, "texas");
    Put("searchterms.txt", "  ");
    ReadSearchHistory();
    EXPECT_EQ(SearchHistory, "texas");
    Put("searchterms.txt", "a++++b");
    ReadSearchHistory();
    EXPECT_EQ(SearchHistory, "a++++b");
}

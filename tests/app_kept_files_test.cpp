// The files the user keeps (settings, history, exclusion list) when another
// program holds them at start or a read fails; the stale temporaries of our
// own saves; and a start the user can hear.
#include "scenario.h"

#include "app/stale_temporaries.h"
#include "settings/search_type.h"

#include <algorithm>
#include <filesystem>
#include <unistd.h>

namespace {

const char kIni[] = "[All]\r\nSearchTerm=houston\r\nFontSize= 60\r\nFG= 0\r\nBG= 16777215\r\n";
const char kHistory[] = "one++++two++++three++++four++++five";
const char kOneRow[] = "Size,Date Modified,Filename\r\n"
                       "2048,03/04/2024 05:06,\"C:\\Data\\Texas.txt\"\r\n";

} // namespace

class KeptFilesTest : public ScenarioTest {
  protected:
    void SetUp() override {
        ScenarioTest::SetUp();
        world().processHandler = [this](const std::vector<std::string>& args) {
            engineArgs = args;
            Put("results.txt", kOneRow);
            return platform::ProcessResult{true, false, false, 0};
        };
    }
    void Hold(const std::string& name, int attempts) {
        world().heldFiles[folder + name] = attempts;
    }
    void SearchFor(const std::string& term) {
        Settings.SearchType = Files;
        world().searchText = term;
        RunSearch();
    }
    std::vector<std::string> engineArgs;
};

TEST_F(KeptFilesTest, AHolderThatLetsGoWithinTheWaitIsWaitedFor) {
    Put("lumafind.ini", kIni);
    Put("searchterms.txt", kHistory);
    Hold("lumafind.ini", 100); // a second's worth of tries
    Hold("searchterms.txt", 150);
    Start();
    EXPECT_EQ(Settings.FontSize, 60);
    EXPECT_EQ(SearchHistory, kHistory);
    EXPECT_EQ(Spoken(),
              "Welcome to Lumafind, version 4.43!SearchBox has focus. Search term is houston");
    SearchFor("six");
    EXPECT_EQ(Get("searchterms.txt"), "six++++one++++two++++three++++four");
    platform::CloseMainWindow();
    EXPECT_NE(Get("lumafind.ini").find("FontSize= 60\r\n"), std::string::npos);
}

// Held for longer than the wait (a backup tool), or a read error: the user is
// told once with the welcome, and neither file is written over in this run,
// even after the holder has let go.
TEST_F(KeptFilesTest, FilesThatCannotBeReadAreSaidAndNeverWrittenOver) {
    for (bool readError : {false, true}) {
        SCOPED_TRACE(readError ? "read error" : "held");
        Put("lumafind.ini", kIni);
        Put("searchterms.txt", kHistory);
        if (readError) {
            world().fileReads = {1, true};
        } else {
            Hold("lumafind.ini", -1);
            Hold("searchterms.txt", 151); // one try more than the wait allows
        }
        Start();
        EXPECT_EQ(Spoken(), "Welcome to Lumafind, version 4.43! Settings Could Not Be Read : "
                            "They Will Not Be Saved. Search History Could Not Be Read : It Will "
                            "Not Be Saved. SearchBox has focus. Search term is texas");
        world().heldFiles.clear();
        world().fileReads = {};
        SearchFor("six");
        EXPECT_EQ(Spoken(), "Search is complete : 1 Match : texas.txt");
        Settings.FontSize = 20;
        platform::CloseMainWindow();
        EXPECT_EQ(Get("lumafind.ini"), kIni);
        EXPECT_EQ(Get("searchterms.txt"), kHistory);
        TearDown();
        SetUp();
    }
}

TEST_F(KeptFilesTest, AnExclusionListThatCannotBeReadRefusesTheSearch) {
    Put("exclusion.txt", "d:\\private\\");
    Put("results.txt", kOneRow);
    Hold("exclusion.txt", -1);
    SearchFor("texas");
    EXPECT_TRUE(world().processRuns.empty());
    EXPECT_EQ(Spoken(), "Exclusion List Could Not Be Read : Previous Result Shown");
    EXPECT_EQ(world().columns[0].header, " Name  (1)");
    EXPECT_EQ(ResultRows.Name(1), "texas.txt");

    world().heldFiles.clear();
    world().fileReads.failAt = world().fileReads.calls + 1;
    SearchFor("texas");
    EXPECT_TRUE(world().processRuns.empty());
    EXPECT_EQ(Spoken(), "Exclusion List Could Not Be Read : Previous Result Shown");

    Hold("exclusion.txt", 50);
    SearchFor("texas");
    ASSERT_EQ(world().processRuns.size(), 1u);
    ASSERT_GE(engineArgs.size(), 2u);
    EXPECT_EQ(engineArgs[1], "!d:\\private\\");
}

// Kills midway through a save leave temporaries named after the file, the
// saving process and a counter; only ours of ended processes go.
TEST_F(KeptFilesTest, StaleTemporariesOfOurOwnSavesAreRemovedAtStart) {
    const std::string own = std::to_string(getpid());
    world().runningProcesses = {4000004};
    const std::vector<std::string> stale{"lumafind.ini.4000001-1.new",
                                         "searchterms.txt.4000002-3.new",
                                         "lumafind.tmp.4000003-12.new"};
    const std::vector<std::string> kept{"lumafind.ini.4000004-1.new", // another Lumafind saving
                                        "lumafind.ini." + own + "-1.new",
                                        "notes.txt.4000001-1.new",
                                        "lumafind.ini.new",
                                        "lumafind.ini.12a-1.new",
                                        "lumafind.ini.4000001-.new",
                                        "lumafind.ini.4000001-1.new.bak",
                                        "xlumafind.ini.4000001-1.new",
                                        "lumafind.ini.4000001-1.NEW"};
    for (const std::string& name : stale)
        Put(name, "half");
    for (const std::string& name : kept)
        Put(name, "keep");
    std::filesystem::create_directory(folder + "searchterms.txt.4000002-4.new");
    Start();
    for (const std::string& name : stale)
        EXPECT_FALSE(std::filesystem::exists(folder + name)) << name;
    for (const std::string& name : kept)
        EXPECT_EQ(Get(name), "keep") << name;
    EXPECT_TRUE(std::filesystem::is_directory(folder + "searchterms.txt.4000002-4.new"));
}

// Someone who cannot see the taskbar would not know a minimised window had
// started: it comes up restored, or maximized, in front, and says so.
TEST_F(KeptFilesTest, AMinimizedStartComesUpInFrontAndSpeaks) {
    for (bool maximized : {true, false}) {
        SCOPED_TRACE(maximized ? "both" : "minimized alone");
        Put("lumafind.ini", std::string("[All]\r\nMinimized= 1\r\nMaximized=") +
                                (maximized ? " 1" : " 0") + "\r\n");
        Start();
        EXPECT_FALSE(world().placement.minimized);
        EXPECT_EQ(world().placement.maximized, maximized);
        auto& events = world().events;
        EXPECT_EQ(std::count(events.begin(), events.end(), "window: minimized"), 0)
            << "not even for a moment";
        EXPECT_TRUE(world().foreground);
        EXPECT_EQ(world().focus, platform::SearchBoxId);
        EXPECT_EQ(Spoken(),
                  "Welcome to Lumafind, version 4.43!SearchBox has focus. Search term is texas");
        platform::ShowMainMinimized(); // the user minimises it, then closes it
        platform::CloseMainWindow();
        std::string ini = Get("lumafind.ini");
        EXPECT_NE(ini.find("Minimized= 0\r\n"), std::string::npos);
        EXPECT_NE(ini.find(maximized ? "Maximized= 1\r\n" : "Maximized= 0\r\n"), std::string::npos);
        TearDown();
        SetUp();
    }
}

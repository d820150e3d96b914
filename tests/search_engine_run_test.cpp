// The engine's client is started directly, by its full path, with one
// argument per piece: whatever a term or an exclusion line holds reaches the
// engine as text and nothing else ever runs.
#include "scenario.h"

#include "base/command_line.h"
#include "search/command_line.h"
#include "search/engine_run.h"

#include <csignal>
#include <thread>

using platform::testing::SplitCommandLine;
using Args = std::vector<std::string>;

TEST(ProcessCommandLine, EveryArgumentComesBackAsItWasAfterTheDocumentedSplitting) {
    const Args hostile = {"plain",
                          "",
                          "two words",
                          "tab\there",
                          "\"",
                          "\"\"",
                          "a\"b",
                          "c:\\program files\\",
                          "c:\\program files\\\"",
                          "\\\\server\\share\\",
                          "ends with \\\\",
                          "\\\"",
                          "%PATH%",
                          "%os:\"=%|mkdir pwned",
                          "&& || | < > ^ ( )",
                          "!x!",
                          "line\r\nbreak",
                          "caf\xC3\xA9 \xF0\x9F\x98\x80",
                          std::string(10000, 'a')};
    for (std::string program : {"c:\\tools\\es.exe", "c:\\program files\\x\\es.exe"}) {
        Args split = SplitCommandLine(JoinCommandLine(program, hostile));
        ASSERT_EQ(split.size(), hostile.size() + 1);
        EXPECT_EQ(split[0], program);
        for (size_t i = 0; i < hostile.size(); ++i)
            EXPECT_EQ(split[i + 1], hostile[i]) << "argument " << i;
    }
    EXPECT_EQ(QuoteArgument("simple"), "simple");
    EXPECT_EQ(QuoteArgument("a b\\"), "\"a b\\\\\"");
}

TEST(ProcessCommandLine, LengthIsCountedInUtf16Units) {
    EXPECT_EQ(Utf16Length("abc"), 3u);
    EXPECT_EQ(Utf16Length("caf\xC3\xA9"), 4u);
    EXPECT_EQ(Utf16Length("\xF0\x9F\x98\x80"), 2u);
}

TEST(EngineLookup, ProgramFolderFirstThenEachFolderOfPathThenTheStandIn) {
    EXPECT_EQ(EngineCandidates("c:\\lf\\", "c:\\a;;\"c:\\b c\";d:\\e\\ ; "),
              (Args{"c:\\lf\\es.exe", "c:\\a\\es.exe", "c:\\b c\\es.exe", "d:\\e\\es.exe",
                    "c:\\lf\\lumafind-es.exe"}));
}

class EngineRunTest : public ScenarioTest {
  protected:
    void SetUp() override {
        ScenarioTest::SetUp();
        world().processHandler = [this](const Args& args) {
            received.push_back(args);
            if (!exported.empty()) Put("results.txt", exported);
            return platform::ProcessResult{true, false, false, 0};
        };
    }
    void Search(int kind, const std::string& text) {
        Settings.SearchType = kind;
        world().searchText = text;
        RunSearch();
    }
    // What the engine got after the options, for the last search.
    Args TermsReceived() {
        Args args = received.back();
        auto at = std::find(args.begin(), args.end(), "results.txt");
        if (at == args.end()) return Args(args.begin() + 1, args.end());
        return Args(at + 1, args.end());
    }
    void NoInterpreterRan() {
        for (const auto& run : world().processRuns) {
            EXPECT_EQ(run.program, folder + "es.exe");
            EXPECT_EQ(run.commandLine.rfind(folder + "es.exe ", 0), 0u) << run.commandLine;
        }
    }
    std::vector<Args> received;
    std::string exported =
        "Size,Date Modified,Filename\r\n1,01/02/2024 03:04,\"c:\\x\\new.txt\"\r\n";
};

TEST_F(EngineRunTest, HostileTermsReachTheEngineAsTextInEveryKind) {
    struct Case {
        std::string typed;
        Args meant;
    };
    const std::vector<Case> corpus = {
        {"%os:\"=%|mkdir pwned", {"%os:=%|mkdir pwned"}},
        {"\"%cmdcmdline%|mkdir x", {"%cmdcmdline%|mkdir x"}},
        {"%comspec:m=\"% | calc", {"%comspec:m=% | calc"}},
        {"%COMSPEC:m=\"% & echo PWNED > pwned.txt", {"%COMSPEC:m=% & echo PWNED > pwned.txt"}},
        {"a & b", {"a", "&", "b"}},
        {"a&&b x||y", {"a&&b", "x||y"}},
        {"a|b", {"a|b"}},
        {"<in >out ^x", {"<in", ">out", "^x"}},
        {"\"unbalanced", {"unbalanced"}},
        {"\"program files\" report", {"program files", "report"}},
        {"%PATH% !x!", {"%PATH%", "!x!"}},
        {"one\r\ntwo", {"one", "two"}},
        {"caf\xC3\xA9 \xC3\xB1", {"caf\xC3\xA9", "\xC3\xB1"}},
        {std::string(10000, 'q'), {std::string(259, 'q')}}, // a setting text keeps 259
    };
    for (int kind : {Files, Folders, Both, Custom}) {
        for (const Case& c : corpus) {
            size_t runs = received.size();
            Search(kind, c.typed);
            if (received.size() == runs) { // refused by the term check: nothing ran
                EXPECT_NE(kind, Custom) << c.typed;
                EXPECT_EQ(Spoken(), "Invalid Search Term");
                continue;
            }
            EXPECT_TRUE(TermsReceived() == c.meant)
                << "kind " << kind << ": " << c.typed.substr(0, 60);
        }
    }
    NoInterpreterRan();
    EXPECT_FALSE(platform::FileExists("pwned.txt"));
    // The caption and clipboard keep the familiar text, "|" written "^|".
    Search(Custom, "a|b %PATH%");
    EXPECT_EQ(world().clipboard, "-export-csv results.txt a^|b %PATH%");
}

// A word that looks like an option would make the engine write its export over
// "exclusion.txt", save its settings, or worse.
TEST_F(EngineRunTest, OptionWordsAreNameFragmentsOrRefusedAloud) {
    const std::vector<std::pair<std::string, Args>> fragments = {
        {"-export-csv exclusion.txt", {"\"-export-csv\"", "exclusion.txt"}},
        {"/export-csv c:\\users\\public\\x.txt", {"\"/export-csv\"", "c:\\users\\public\\x.txt"}},
        {"-export-efu lumafind.ini", {"\"-export-efu\"", "lumafind.ini"}},
        {"-save-settings", {"\"-save-settings\""}},
        {"report -- -", {"report", "\"--\"", "\"-\""}},
        {"\"-n 5\" x-y", {"\"-n 5\"", "x-y"}},
    };
    for (int kind : {Files, Folders, Both})
        for (const auto& [typed, meant] : fragments) {
            Search(kind, typed);
            EXPECT_EQ(TermsReceived(), meant) << "kind " << kind << ": " << typed;
        }
    Search(Files, "-export-csv exclusion.txt");
    EXPECT_EQ(world().clipboard,
              " !c:\\windows\\ !c:\\$recycle.bin\\  -size -size-format 2 -dm /a-d "
              " -sort dm  -n 100 -export-csv results.txt "
              "\"\\\"-export-csv\\\"\" exclusion.txt");

    const std::vector<std::pair<std::string, std::string>> refused = {
        {"-export-csv exclusion.txt", "-export-csv"},
        {"x /EXPORT-CSV precious.txt", "/EXPORT-CSV"},
        {"-export-csv", "-export-csv"},
        {"--export-txt results.txt", "--export-txt"},
        {"-save-settings", "-save-settings"},
        {"-clear-settings x", "-clear-settings"},
        {"-save-db", "-save-db"},
        {"-reindex", "-reindex"},
        {"-exit", "-exit"},
        {"-pause x", "-pause"},
        {"-set-run-count a 5", "-set-run-count"},
        {"--", "--"},
        {"a - b", "-"},
        {"-no-such-option", "-no-such-option"},
        {"-sort", "-sort"},                   // its value is missing
        {"-path -export-csv x.txt", "-path"}, // an option is no value
    };
    Put("results.txt", exported);
    for (const auto& [typed, word] : refused) {
        size_t runs = received.size();
        std::string history = SearchHistory;
        Search(Custom, typed);
        EXPECT_EQ(received.size(), runs) << typed;
        EXPECT_EQ(Spoken(), "Search Option Not Allowed : " + word);
        EXPECT_EQ(SearchHistory, history) << typed;
        EXPECT_EQ(world().focus, platform::SearchBoxId);
    }

    const std::vector<std::pair<std::string, Args>> allowed = {
        {"-sort size /a-d ext:doc", {"-sort", "size", "/a-d", "ext:doc"}},
        {"-export-csv results.txt x", {"x"}}, // asked for anyway, once
        {"-n -5 -case /o-d -path c:\\x\\ y",
         {"-n", "-5", "-case", "/o-d", "-path", "c:\\x\\", "y"}},
    };
    for (const auto& [typed, meant] : allowed) {
        Search(Custom, typed);
        Args args = received.back();
        EXPECT_EQ(Args(args.begin() + 1, args.begin() + 3), (Args{"-export-csv", "results.txt"}));
        EXPECT_EQ(Args(args.begin() + 3, args.end()), meant) << typed;
    }
    NoInterpreterRan();
}

TEST_F(EngineRunTest, EachExclusionLineIsExactlyOneArgument) {
    const std::vector<std::pair<std::string, Args>> files = {
        {"\"c:\\program files\\\"\r\nd:\\x\\", {"!\"c:\\program files\\\"", "!d:\\x\\"}},
        {"c:\\program files\\", {"!c:\\program files\\"}},
        {"\"unbalanced\nc:\\a & b\\", {"!\"unbalanced", "!c:\\a & b\\"}},
        {std::string("c:\\nul\0hidden\r\ne:\\", 18), {"!c:\\nul", "!e:\\"}},
        {"%windir%\\\r\n", {"!%windir%\\", "!"}},
        {std::string("\xFF\xFE"
                     "c\0:\0\\\0t\0\n\0",
                     12),
         {"!c:\\t", "!"}},
    };
    for (const auto& [bytes, meant] : files) {
        Put("exclusion.txt", bytes);
        Search(Files, "texas");
        Args args = received.back();
        Args exclusions(args.begin() + 1, args.begin() + 1 + long(meant.size()));
        EXPECT_EQ(exclusions, meant);
        Args rest(args.begin() + 1 + long(meant.size()), args.end());
        EXPECT_EQ(rest, (Args{"-size", "-size-format", "2", "-dm", "/a-d", "-sort", "dm", "-n",
                              "100", "-export-csv", "results.txt", "texas"}));
    }
    NoInterpreterRan();
}

TEST_F(EngineRunTest, ARunThatWritesNoResultIsNeverAnnouncedAsNew) {
    Put("results.txt",
        "Size,Date Modified,Filename\r\n5,01/01/2020 00:00,\"c:\\old\\stale.txt\"\r\n");
    exported.clear();
    Search(Files, "texas");
    EXPECT_EQ(Spoken(), "Search Failed : Previous Result Shown");
    EXPECT_EQ(ResultRows.Name(1), "stale.txt");
    // A Custom search asks for the export too: no file written is a failure,
    // never the old result announced as new.
    Search(Custom, "texas");
    EXPECT_EQ(received.back()[1], "-export-csv");
    EXPECT_EQ(Spoken(), "Search Failed : Previous Result Shown");
    exported = "Size,Date Modified,Filename\r\n";
    Search(Files, "texas");
    EXPECT_EQ(Spoken(), "Search is complete : 0 Matches : <empty>");
}

TEST_F(EngineRunTest, ATooLongCommandLineIsRefusedBeforeAnythingRuns) {
    Put("results.txt", exported);
    std::string lines;
    for (int i = 0; i < 2000; ++i)
        lines += "c:\\some folder\\number " + std::to_string(i) + "\\\r\n";
    Put("exclusion.txt", lines);
    exported = "Size,Date Modified,Filename\r\n";
    Search(Files, "texas");
    EXPECT_TRUE(received.empty());
    EXPECT_TRUE(world().processRuns.empty());
    EXPECT_EQ(Spoken(), "Exclusion List Or Search Term Too Long : Previous Result Shown");
    EXPECT_EQ(ResultRows.Name(1), "new.txt");
}

TEST_F(EngineRunTest, EscDuringTheWaitEndsTheRunAndShowsThePreviousResult) {
    Put("results.txt", exported);
    exported.clear();
    world().keysDuringWait = {0x41, 0x1B};
    Search(Files, "texas");
    EXPECT_EQ(Spoken(), "Search Cancelled : Previous Result Shown");
    EXPECT_EQ(ResultRows.Name(1), "new.txt");
    EXPECT_TRUE(world().keysDuringWait.empty());
}

TEST_F(EngineRunTest, AnEngineThatNeverEndsIsEndedByEsc) {
    world().processHandler = nullptr;
    world().esPath = folder + "hang.sh";
    Put("hang.sh", "#!/bin/sh\necho $$ > pid.txt\nexec sleep 600\n");
    std::filesystem::permissions(folder + "hang.sh", std::filesystem::perms::owner_all);
    world().keysDuringWait = {0x1B};
    Search(Files, "texas");
    EXPECT_EQ(Spoken(), "Search Cancelled : Previous Result Shown");
    std::string pid = Get("pid.txt");
    ASSERT_FALSE(pid.empty());
    EXPECT_NE(kill(std::stoi(pid), 0), 0); // the engine is gone
}

// Alt+F4, the taskbar or the session ending while the engine hangs: the engine
// is ended as Esc ends it, then the program closes the normal way.
TEST_F(EngineRunTest, ACloseRequestDuringTheWaitEndsTheEngineAndClosesTheProgram) {
    Start();
    world().processHandler = nullptr;
    world().esPath = folder + "hang.sh";
    Put("hang.sh", "#!/bin/sh\necho $$ > pid.txt\nexec sleep 600\n");
    std::filesystem::permissions(folder + "hang.sh", std::filesystem::perms::owner_all);
    Put("results.txt", exported);
    world().searchText = "closing time";
    world().closeDuringWait = true;
    platform::testing::PressKey('F', false, true);
    std::string pid = Get("pid.txt");
    ASSERT_FALSE(pid.empty());
    EXPECT_NE(kill(std::stoi(pid), 0), 0);
    EXPECT_FALSE(world().mainExists);
    EXPECT_EQ(Spoken(1), "Search Cancelled : Previous Result Shown");
    EXPECT_EQ(Spoken(), "Exiting Lumafind");
    EXPECT_NE(Get("lumafind.ini").find("SearchTerm=closing time\r\n"), std::string::npos);
    EXPECT_EQ(Get("results.txt"), exported);
}

// The session ending while the engine runs closes the window inside the wait;
// the search then has nothing to show and must say nothing after the goodbye.
TEST_F(EngineRunTest, AWindowClosedDuringTheWaitHearsNothingAfterItsGoodbye) {
    Start();
    world().processHandler = [](const Args&) {
        platform::CloseMainWindow();
        return platform::ProcessResult{true, true, false, 1};
    };
    world().searchText = "session end";
    platform::testing::PressKey('F', false, true);
    EXPECT_FALSE(world().mainExists);
    EXPECT_EQ(Spoken(), "Exiting Lumafind");
    EXPECT_NE(Get("lumafind.ini").find("SearchTerm=session end\r\n"), std::string::npos);
}

TEST_F(EngineRunTest, TheEngineIsFoundOnPathAndOnlyAsAProgramFile) {
    std::filesystem::remove(folder + "es.exe");
    Put("es.bat", "");
    Put("es.cmd", "");
    Search(Files, "texas");
    EXPECT_EQ(Spoken(), "Everything Not Found");
    EXPECT_TRUE(world().processRuns.empty());
    Put("tools/es.exe", "");
    world().environment["PATH"] = folder + "empty;" + folder + "tools/";
    Search(Files, "texas");
    ASSERT_EQ(world().processRuns.size(), 1u);
    EXPECT_EQ(world().processRuns[0].program, folder + "tools/es.exe");
    EXPECT_EQ(world().processRuns[0].folder, folder); // the export lands beside the program
    EXPECT_EQ(Spoken(), "Search is complete : 1 Match : new.txt");
}

// A user who installed the outside engine gets its client, wherever it is
// found; the stand-in shipped beside the program answers only without one.
TEST_F(EngineRunTest, TheOutsideEnginesClientWinsOverTheStandIn) {
    std::filesystem::remove(folder + "es.exe");
    Put("lumafind-es.exe", "");
    Search(Files, "texas");
    ASSERT_EQ(world().processRuns.size(), 1u);
    EXPECT_EQ(world().processRuns[0].program, folder + "lumafind-es.exe");
    std::string standInArguments = EngineArguments; // the caption's and clipboard's text
    Put("tools/es.exe", "");
    world().environment["PATH"] = folder + "tools/";
    Search(Files, "texas");
    ASSERT_EQ(world().processRuns.size(), 2u);
    EXPECT_EQ(world().processRuns[1].program, folder + "tools/es.exe");
    Put("es.exe", "");
    Search(Files, "texas");
    ASSERT_EQ(world().processRuns.size(), 3u);
    EXPECT_EQ(world().processRuns[2].program, folder + "es.exe");
    EXPECT_EQ(EngineArguments, standInArguments);
    EXPECT_EQ(world().caption.find("lumafind-es"), std::string::npos);
}

// Real searches: the stand-in engine runs natively over a generated tree and
// the import must read its export back into exactly the items on disk.
#include "scenario.h"

#include "base/text.h"
#include "search/command_line.h"

#include <algorithm>
#include <set>

namespace fs = std::filesystem;

class EngineRoundTripTest : public ScenarioTest {
  protected:
    void SetUp() override {
        ScenarioTest::SetUp();
        if (world().esPath.empty()) GTEST_SKIP() << "the native engine was not built";
        tree = folder + "tree";
        for (std::string name :
             {"plain.txt", "with, comma.txt", "say \"hi\".txt", "two  blanks.doc",
              "Ünïcödé Ärger.txt", "sub/deeper/Texas notes.TXT", "sub/b.txt"})
            scenario::WriteFile(tree + "/" + name, std::string(name.size() * 3, 'x'));
        fs::create_directories(tree + "/empty folder");
        world().esRoots = tree;
    }
    // How the engine names a native path: Z:\ stands for /.
    static std::string WindowsName(const fs::path& p) {
        return "z:" + ReplaceAll(LowerCase(p.string()), "/", "\\");
    }
    void Search(int kind, const std::string& term) {
        Settings.SearchType = kind;
        world().searchText = term;
        RunSearch();
    }
    std::string tree;
};

TEST_F(EngineRoundTripTest, ImportReadsBackExactlyTheItemsOnDisk) {
    Settings.MaxResults = 0;
    Search(Both, WindowsName(tree) + "\\");
    std::set<std::pair<std::string, int64_t>> expected, imported;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(tree))
        expected.emplace(WindowsName(e.path()), e.is_directory() ? -1 : int64_t(e.file_size()));
    for (int r = 1; r <= ResultRows.Count(); ++r)
        imported.emplace(ResultRows.FullName(r),
                         ResultRows.IsFolder(r) ? -1 : ResultRows.Row(r).SizeValue);
    EXPECT_EQ(imported, expected);
    for (int r = 1; r <= ResultRows.Count(); ++r)
        EXPECT_EQ(ResultRows.Date(r).size(), 16u) << ResultRows.FullName(r);
}

TEST_F(EngineRoundTripTest, FileSearchSpeaksTheCountAndTheFirstName) {
    Settings.SortType = 0; // by name
    Search(Files, "TXT");
    EXPECT_EQ(Spoken(), "Search is complete : 6 Matches : b.txt");
    EXPECT_EQ(world().columns[0].header, " Name  (6)");
    Search(Folders, "deeper");
    EXPECT_EQ(Spoken(), "Search is complete : 1 Match : Folder : deeper");
    Settings.MaxResults = 2;
    Search(Files, "*.txt");
    EXPECT_EQ(ResultRows.Count(), 2);
}

TEST_F(EngineRoundTripTest, FilterGroupsAndExclusionsReachTheEngine) {
    Settings.SortType = 0;
    Search(Files, "doc:");
    EXPECT_EQ(Spoken(), "Search is complete : 7 Matches : b.txt");
    Put("exclusion.txt", WindowsName(tree) + "\\sub\\");
    Search(Files, "txt");
    EXPECT_EQ(ResultRows.Count(), 4);
    Search(Custom, "-size -dm -export-csv results.txt ext:doc");
    EXPECT_EQ(Spoken(), "Search is complete : 1 Match : two  blanks.doc");
}

TEST_F(EngineRoundTripTest, AFailingRunLeavesThePreviousResultWhole) {
    Search(Files, "plain");
    std::string before = Get("results.txt");
    ASSERT_NE(before.find("plain.txt"), std::string::npos);
    Search(Custom, "-highlight plain"); // an option the stand-in does not know
    EXPECT_EQ(Spoken(), "Search Failed : Previous Result Shown");
    EXPECT_EQ(Get("results.txt"), before);
    EXPECT_EQ(ResultRows.Name(1), "plain.txt");
}

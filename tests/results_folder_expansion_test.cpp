// Folder expansion: the folder of a result, or the one above it, searched as
// one engine term whatever its name holds; and the shortened Path column.
#include "commands_fixture.h"

#include "base/text.h"
#include "command_table/command_ids.h"
#include "results/folder_expansion.h"
#include "results/result_list.h"
#include "searchbox/status.h"
#include "settings/search_type.h"

#include <algorithm>
#include <set>

using platform::testing::PressKey;
using Args = std::vector<std::string>;

TEST(ParentFolder, OneLevelUpWithItsTrailingBackslash) {
    EXPECT_EQ(ParentFolder("C:\\Users\\Ann\\Documents\\"), "C:\\Users\\Ann\\");
    EXPECT_EQ(ParentFolder("C:\\Users\\Ann\\Documents"), "C:\\Users\\Ann\\");
    EXPECT_EQ(ParentFolder("C:\\Users\\"), "C:\\");
    EXPECT_EQ(ParentFolder("C:\\Users\\\\\\"), "C:\\");
    EXPECT_EQ(ParentFolder("C:\\"), "");
    EXPECT_EQ(ParentFolder("C:"), "");
    EXPECT_EQ(ParentFolder(""), "");
    EXPECT_EQ(ParentFolder("\\\\"), "");
}

TEST(ParentFolder, ANetworkPathStaysANetworkPath) {
    EXPECT_EQ(ParentFolder("\\\\server\\share\\dir\\"), "\\\\server\\share\\");
    EXPECT_EQ(ParentFolder("\\\\server\\share\\"), "\\\\server\\");
    EXPECT_EQ(ParentFolder("\\\\server\\"), "");
}

class ShortPathTest : public ScenarioTest {};

TEST_F(ShortPathTest, UpToThreeNamesTheWholePathOtherwiseFirstTwoAndLast) {
    Settings.ShortPath = 1;
    // Nothing would be left out: shown whole, always with its trailing backslash.
    EXPECT_EQ(ShortFolderPath("C:\\"), "C:\\");
    EXPECT_EQ(ShortFolderPath("C:\\Ann\\"), "C:\\Ann\\");
    EXPECT_EQ(ShortFolderPath("C:\\Users\\Ann\\"), "C:\\Users\\Ann\\");
    EXPECT_EQ(ShortFolderPath("C:\\Users\\Ann"), "C:\\Users\\Ann\\");
    // One more name and the middle goes.
    EXPECT_EQ(ShortFolderPath("C:\\Users\\Ann\\Documents\\"), "C:\\Users\\...\\Documents");
    EXPECT_EQ(ShortFolderPath("C:\\Users\\Ann\\Documents"), "C:\\Users\\...\\Documents");
    EXPECT_EQ(ShortFolderPath("C:\\Users\\Ann\\Documents\\Reports\\"), "C:\\Users\\...\\Reports");
    std::string deep = "D:\\" + std::string(300, 'a') + "\\" + std::string(300, 'b') + "\\end\\";
    EXPECT_EQ(ShortFolderPath(deep), "D:\\" + std::string(300, 'a') + "\\...\\end");
    EXPECT_EQ(ShortFolderPath(""), "");
    // A network path: the server and the share are its first two names.
    EXPECT_EQ(ShortFolderPath("\\\\server\\share\\dir\\"), "\\\\server\\share\\dir\\");
    EXPECT_EQ(ShortFolderPath("\\\\server\\share\\dir\\sub\\"), "\\\\server\\share\\...\\sub");
    Settings.ShortPath = 0;
    EXPECT_EQ(ShortFolderPath("C:\\Users\\Ann\\Documents\\"), "");
}

// A started program showing a result file; the engine is a recorder that
// answers with the rows in `answer`.
class ExpansionTest : public CommandsTest {
  protected:
    void BeforeStart() override {
        Put("results.txt", Csv({"c:\\users\\ann\\my documents & ann's, caf\xC3\xA9\\report.txt",
                                "c:\\users\\ann\\notes.txt", "c:\\top.txt"}));
        world().processHandler = [this](const Args& args) {
            received.push_back(args);
            if (!answer.empty()) Put("results.txt", answer);
            return platform::ProcessResult{true, false, false, exitCode};
        };
    }
    static std::string Csv(const std::vector<std::string>& names) {
        std::string csv = "Size,Date Modified,Filename\r\n";
        for (const std::string& name : names)
            csv += "5,01/02/2024 03:04,\"" + name + "\"\r\n";
        return csv;
    }
    void Select(int row) {
        platform::testing::GiveFocus(platform::ResultListId);
        SelectRow(row);
        Forget();
    }
    // What the engine got after the export option, for the last run.
    Args Terms() {
        const Args& args = received.back();
        auto at = std::find(args.begin(), args.end(), "results.txt");
        return Args(at + 1, args.end());
    }
    std::vector<Args> received;
    std::string answer = Csv({"c:\\inside\\a.txt", "c:\\inside\\b.txt"});
    uint32_t exitCode = 0;
};

TEST_F(ExpansionTest, CtrlSSearchesTheRowsFolderAsOneTermAndGivesTheTypedTermBack) {
    world().searchText = "my, typed & term";
    Select(1);
    Ctrl('S');
    ASSERT_EQ(received.size(), 1u);
    const std::string folder = "c:\\users\\ann\\my documents & ann's, caf\xC3\xA9\\";
    EXPECT_EQ(Terms(), Args{"\"" + folder + "\""});
    EXPECT_TRUE(std::find(received.back().begin(), received.back().end(), "/a-d") ==
                received.back().end())
        << "files and folders alike";
    EXPECT_EQ(Settings.SearchType, Both);
    EXPECT_EQ(Settings.LastSearchType, Both);
    EXPECT_EQ(world().searchText, "my, typed & term");
    EXPECT_EQ(ResultRows.Count(), 2);
    EXPECT_EQ(ResultRows.Name(1), "a.txt");
    EXPECT_EQ(Beeps(), 1);
    Texts heard = Heard();
    ASSERT_GE(heard.size(), 2u);
    EXPECT_EQ(heard[0], "Search All for \"" + folder + "\"");
    EXPECT_EQ(heard.back(), "Search is complete : 2 Matches : a.txt");
    EXPECT_NE(world().caption.find(" -export-csv results.txt \"" + folder + "\""),
              std::string::npos)
        << world().caption;
}

TEST_F(ExpansionTest, F5SearchesTheFolderAboveAndTheRootsParentIsAnEmptyTerm) {
    world().searchText = "texas";
    Select(2);
    Press(FKey(5));
    EXPECT_EQ(Terms(), Args{"\"c:\\users\\\""});
    EXPECT_EQ(world().searchText, "texas");
    EXPECT_EQ(Beeps(), 1);
    // The answer's rows lie in c:\inside\; its parent is the drive's root.
    answer = Csv({"c:\\root.txt"});
    Select(1);
    Press(FKey(5));
    EXPECT_EQ(Terms(), Args{"\"c:\\\""});
    Select(1);
    RunCommand(CmdExpandFolder);
    EXPECT_EQ(Terms(), Args{"\"c:\\\""});
    RunCommand(CmdExpandParentFolder);
    EXPECT_EQ(Terms(), Args{}) << "the parent of c:\\ is no folder at all";
    EXPECT_EQ(world().searchText, "texas");
}

TEST_F(ExpansionTest, APathPastEveryBufferIsSearchedWhole) {
    std::string longFolder = "c:\\" + std::string(250, 'x') + "\\" + std::string(300, 'y') + "\\";
    Put("results.txt", Csv({longFolder + "deep.txt"}));
    LoadResultFile();
    Select(1);
    RunCommand(CmdExpandFolder);
    EXPECT_EQ(Terms(), Args{"\"" + longFolder + "\""});
    EXPECT_EQ(world().searchText, "texas");
}

TEST_F(ExpansionTest, RefusalsChangeNothing) {
    world().searchText = "kept";
    Settings.SearchType = Files;
    std::string caption = world().caption;
    // Rows on screen but none selected.
    platform::ListDeleteAllItems();
    platform::ListSetItemCount(3);
    Forget();
    Ctrl('S');
    Press(FKey(5));
    EXPECT_EQ(Heard(), (Texts{"Shortcut Pressed: Expand Folder : C-S : No Selection",
                              "Shortcut Pressed: Expand Parent Folder : F5 : No Selection"}));
    // The row of an empty result.
    Put("results.txt", "Size,Date Modified,Filename\r\n");
    LoadResultFile();
    Select(1);
    RunCommand(CmdExpandFolder);
    RunCommand(CmdExpandParentFolder);
    EXPECT_EQ(Heard(), (Texts{"Empty", "Empty"}));
    // The row shown while a list is filled.
    ShowLoading();
    Forget();
    RunCommand(CmdExpandFolder);
    EXPECT_EQ(Heard(), Texts{"Empty"});
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(Settings.SearchType, Files);
    EXPECT_EQ(world().searchText, "kept");
    EXPECT_EQ(world().caption, caption);
}

TEST_F(ExpansionTest, HelpListsAreNotExpanded) {
    for (int list : {int(SettingsListType), int(ActionListType)}) {
        Settings.SearchType = list;
        LoadResultFile(); // any rows will do: the refusal looks at the mode only
        Select(1);
        RunCommand(CmdExpandFolder);
        RunCommand(CmdExpandParentFolder);
        EXPECT_EQ(Heard(), Texts(2, "Not Available in Help Mode"));
        EXPECT_EQ(Settings.SearchType, list);
    }
    EXPECT_TRUE(received.empty());
}

TEST_F(ExpansionTest, AFailedSearchStillGivesTheTypedTermBack) {
    world().searchText = "kept";
    exitCode = 1;
    answer = "";
    Select(1);
    RunCommand(CmdExpandFolder);
    EXPECT_EQ(received.size(), 1u);
    EXPECT_EQ(Heard().back(), "Search Failed : Previous Result Shown");
    EXPECT_EQ(world().searchText, "kept");
}

// The real engine over a tree of names that a typed term could not hold.
class ExpansionOnDiskTest : public ScenarioTest {
  protected:
    void SetUp() override {
        ScenarioTest::SetUp();
        if (world().esPath.empty()) GTEST_SKIP() << "the native engine was not built";
        tree = folder + "tree";
        for (std::string name : {"My Documents & Ann's, caf\xC3\xA9/inside one.txt",
                                 "My Documents & Ann's, caf\xC3\xA9/sub folder/inside two.txt",
                                 "My Documents & Ann's, caf\xC3\xA9 2/beside.txt",
                                 "My Documents/other.txt", "top.txt"})
            scenario::WriteFile(tree + "/" + name, "x");
        world().esRoots = tree;
        Settings.MaxResults = 0;
        Settings.SortType = 0; // by name
    }
    // How the engine names a native path, as the import keeps it: Z:\ stands for /.
    static std::string WindowsName(const std::string& p) {
        return "z:" + ReplaceAll(LowerCase(p), "/", "\\");
    }
    std::set<std::string> Listed() {
        std::set<std::string> names;
        for (int r = 1; r <= ResultRows.Count(); ++r)
            names.insert(ResultRows.FullName(r));
        return names;
    }
    std::string tree;
};

TEST_F(ExpansionOnDiskTest, TheFolderOfARowListsExactlyWhatIsUnderIt) {
    Settings.SearchType = Files;
    world().searchText = "inside one";
    RunSearch();
    ASSERT_EQ(ResultRows.Count(), 1);
    std::string folderName = WindowsName(tree + "/My Documents & Ann's, caf\xC3\xA9/");
    ASSERT_EQ(std::string(ResultRows.Path(1)), folderName);
    SelectRow(1);
    ExpandFolder();
    EXPECT_EQ(Listed(),
              (std::set<std::string>{folderName + "inside one.txt", folderName + "sub folder",
                                     folderName + "sub folder\\inside two.txt"}));
    EXPECT_EQ(world().searchText, "inside one");
    EXPECT_EQ(Settings.SearchType, Both);

    // Row 1 is now inside the folder: its parent is the tree itself.
    SelectRow(1);
    ExpandParentFolder();
    EXPECT_EQ(ResultRows.Count(), 9) << "everything in the tree";
    EXPECT_EQ(world().searchText, "inside one");
}

TEST_F(ExpansionOnDiskTest, AFolderPastThePathBuffersIsExpandedWhole) {
    std::string upper = tree + "/" + std::string(200, 'a') + "/" + std::string(200, 'b');
    std::string deep = upper + "/" + std::string(200, 'c');
    scenario::WriteFile(deep + "/deep.txt", "x");
    scenario::WriteFile(upper + "/other.txt", "x");
    Settings.SearchType = Files;
    world().searchText = "deep.txt";
    RunSearch();
    ASSERT_EQ(ResultRows.Count(), 1);
    ASSERT_GT(ResultRows.Path(1).size(), 600u);
    SelectRow(1);
    ExpandFolder();
    // A path cut short would reach other.txt too.
    EXPECT_EQ(Listed(), std::set<std::string>{WindowsName(deep) + "\\deep.txt"});
}

// Opening the selected result: which files open with their program, which
// open their folder instead, what the user hears first, and the refusals.
#include "actions_fixture.h"

#include "actions/open_files.h"
#include "platform/events.h"

#include <algorithm>

class OpenFilesTest : public ActionsTest {
  protected:
    // Positions of two events in the order they happened (-1 when missing).
    int At(const std::string& event) {
        auto& e = world().events;
        auto found = std::find(e.begin(), e.end(), event);
        return found == e.end() ? -1 : int(found - e.begin());
    }
};

// An upper-case extension counts as its lower-case form.
TEST_F(OpenFilesTest, AKnownFileIsAnnouncedWithItsProgramThenOpened) {
    world().associations[".txt"] = "Notepad";
    Show({{"Texas Notes.TXT"}});
    world().events.clear();
    Ctrl('J');
    EXPECT_EQ(Heard(), Texts{"Using Notepad to Open Texas Notes.TXT"});
    EXPECT_EQ(Opened(), Texts{"c:\\data\\Texas Notes.TXT"});
    EXPECT_LT(At("speak: Using Notepad to Open Texas Notes.TXT"),
              At("shell: open c:\\data\\Texas Notes.TXT"))
        << "the user knows what is about to appear before it does";
    EXPECT_EQ(Beeps(), 1);
}

TEST_F(OpenFilesTest, FragmentsOfTheGroupsCountAndAreOpenedWithoutAProgram) {
    for (const char* ext : {".x", ".t", ".m", ".ht", ".do", "."})
        EXPECT_TRUE(IsKnownExtension(ext)) << ext;
    for (const char* ext : {"", ".exe", ".mkv", ".pdfx"})
        EXPECT_FALSE(IsKnownExtension(ext)) << ext;
    Show({{"notes.x"}});
    Ctrl('J');
    EXPECT_EQ(Heard(), Texts{"Using Error: associated program not found to Open notes.x"});
    EXPECT_EQ(Opened(), Texts{"c:\\data\\notes.x"});
}

TEST_F(OpenFilesTest, OtherFilesOpenTheFolderThatHoldsThem) {
    Show({{"setup.exe"}, {"README"}, {"movie.mkv"}});
    for (int row = 1; row <= 3; ++row) {
        SelectRow(row);
        Forget();
        world().events.clear();
        Ctrl('J');
        EXPECT_EQ(Heard(), Texts{"Cannot Open File. Opening Parent Folder."}) << row;
        EXPECT_LT(At("shell: open c:\\data\\"),
                  At("speak: Cannot Open File. Opening Parent Folder."));
    }
    EXPECT_EQ(Opened(), Texts(3, "c:\\data\\"));
}

TEST_F(OpenFilesTest, EnterAndDoubleClickOpenTheRowAFolderRowItsContainingFolder) {
    world().associations[".txt"] = "Notepad";
    Show({{"a.txt"}, {"Trips", "c:\\users\\ann\\", true}});
    platform::testing::GiveFocus(platform::ResultListId);
    Forget();
    Press(VkReturn);
    EXPECT_EQ(Heard(), Texts{"Using Notepad to Open a.txt"});
    EXPECT_EQ(Beeps(), 0);
    SelectRow(2);
    Forget();
    OnListDoubleClick();
    EXPECT_EQ(Heard(), Texts{"Opening c:\\users\\ann\\"});
    EXPECT_EQ(Opened(), (Texts{"c:\\data\\a.txt", "c:\\users\\ann\\"}));
}

TEST_F(OpenFilesTest, OpenFolderOpensTheFolderHoldingTheRow) {
    Show({{"a.txt", "d:\\My Documents\\"}});
    Ctrl('K');
    EXPECT_EQ(Heard(), Texts{"Opening d:\\My Documents\\"});
    EXPECT_EQ(Opened(), Texts{"d:\\My Documents\\"});
    EXPECT_EQ(Beeps(), 1);
}

// Open, open folder and copy file alike.
TEST_F(OpenFilesTest, RowsThatNameNoFileAreRefusedAndNothingHappens) {
    world().clipboard = "kept";
    auto refusals = [&](const std::string& words) {
        for (int key : {'J', 'K', 'D'}) {
            Forget();
            Ctrl(key);
            EXPECT_EQ(Heard(), Texts{words}) << char(key);
        }
    };
    Show({{"<empty>", ""}});
    refusals("Empty");
    Show({{"Loading ...", ""}});
    refusals("Empty");
    Show({{"a.txt"}});
    world().selected = -1;
    refusals("No Selection");
    for (int list : {SettingsListType, ActionListType}) {
        Show({{"Copy File :: C-D", ""}});
        Settings.SearchType = list;
        refusals("Not Available in Help Mode");
    }
    EXPECT_TRUE(Opened().empty());
    EXPECT_EQ(world().clipboard, "kept");
}

// A path past the old 520-character buffers must open the very file shown,
// never one named by a cut path.
TEST_F(OpenFilesTest, LongPathsAreHandedOverWhole) {
    world().associations[".txt"] = "Notepad";
    std::string path = "c:\\" + std::string(300, 'a') + "\\" + std::string(300, 'b') + "\\";
    std::string name = std::string(250, 'n') + ".txt";
    ResultRows.Clear();
    ResultRows.Add("1", "01/15/2023 10:23", path, name, false);
    ShowResultRows();
    Forget();
    Ctrl('J');
    EXPECT_EQ(Heard(), Texts{"Using Notepad to Open " + name});
    EXPECT_EQ(Opened(), Texts{path + name});
    Ctrl('K');
    EXPECT_EQ(Opened().back(), path);
}

// The limit on names is in characters: a name of accented letters is long in
// bytes but keeps its extension.
TEST_F(OpenFilesTest, OnlyNamesLongerThan260CharactersLoseTheirExtension) {
    std::string accented;
    for (int i = 0; i < 256; ++i)
        accented += "\xC3\xA9"; // é
    EXPECT_EQ(ExtensionOf(accented + ".txt"), ".txt");
    EXPECT_EQ(ExtensionOf(accented + "x.txt"), "");
    Show({{accented + "x.txt"}});
    Ctrl('J');
    EXPECT_EQ(Heard(), Texts{"Cannot Open File. Opening Parent Folder."});
}

// Windows drops a dot or blank that ends a name: the shell must never be handed
// "twin.txt" for the row "twin.txt." the user heard.
TEST_F(OpenFilesTest, ANameEndingInADotOrBlankOpensExactlyOrIsRefusedAloud) {
    world().associations[".txt"] = "Notepad";
    const std::string refusal =
        "Cannot Open : A Name In The Path Ends In A Dot Or Blank, Which Windows Would Change";
    Show({{"twin.txt."}, {"twin.txt "}, {"inside.txt", "c:\\odd folder.\\"}, {"twin.txt"}});
    // Their extensions, "." and ".txt ", name no program.
    Ctrl('J');
    EXPECT_EQ(Heard(),
              (Texts{"Using Error: associated program not found to Open twin.txt.", refusal}));
    SelectRow(2);
    Forget();
    Ctrl('J');
    EXPECT_EQ(Heard(),
              (Texts{"Using Error: associated program not found to Open twin.txt ", refusal}));
    SelectRow(3);
    Forget();
    Ctrl('K');
    EXPECT_EQ(Heard(), Texts{refusal});
    EXPECT_TRUE(Opened().empty());
    SelectRow(4);
    Ctrl('J');
    EXPECT_EQ(Opened(), Texts{"c:\\data\\twin.txt"});
    // Where the volume has short names, the shell is given the exact item.
    world().shortNames = true;
    SelectRow(1);
    Ctrl('J');
    EXPECT_EQ(Opened().back(), "c:\\data\\twin.txt.");
}

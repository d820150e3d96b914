// Copying the selected file as a file drop and the result list as text: the
// exact block the clipboard gets, the refusals, and a clipboard held elsewhere.
#include "actions_fixture.h"

#include "actions/copy_files.h"
#include "command_table/command_ids.h"
#include "searchbox/status.h"

namespace {

// The block the shell puts on the clipboard for one copied file, written out
// from the documented layout: offset of the list 20, drop point 0,0, not in
// the non-client area, wide names; then UTF-16 little endian, NUL, NUL.
std::string DropOf(const std::u16string& path) {
    std::string block("\x14\0\0\0"
                      "\0\0\0\0"
                      "\0\0\0\0"
                      "\0\0\0\0"
                      "\x01\0\0\0",
                      20);
    for (char16_t unit : path) {
        block += char(unit & 0xFF);
        block += char(unit >> 8);
    }
    return block + std::string(4, '\0');
}

std::u16string Ascii(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

} // namespace

class CopyFileTest : public ActionsTest {
  protected:
    // A real file under the program folder, and its row.
    ActionRow RealFile(const std::string& folderName, const std::string& name) {
        scenario::WriteFile(folder + folderName + "/" + name, "data");
        return {name, folder + folderName + "/"};
    }
};

TEST_F(CopyFileTest, TheFileGoesOnTheClipboardAsTheShellCopiesIt) {
    world().clipboard = "earlier text";
    ActionRow row = RealFile("data", "caf\xC3\xA9 \xF0\x9F\x98\x80.txt"); // café 😀.txt
    Show({row});
    Ctrl('D');
    EXPECT_EQ(Heard(), Texts{"Copying File " + row.path + row.name});
    EXPECT_EQ(world().clipboardFileDrop, DropOf(Ascii(row.path) + u"caf\u00E9 \U0001F600.txt"));
    EXPECT_EQ(world().clipboard, "") << "the clipboard is emptied first";
    EXPECT_EQ(Beeps(), 0);
}

TEST_F(CopyFileTest, FoldersAndMissingFilesAreNotFilesAndTheClipboardKeepsItsText) {
    scenario::WriteFile(folder + "data/Trips/inside.txt", "x");
    world().clipboard = "kept";
    Show({{"Trips", folder + "data/", true}, {"gone.txt", folder + "data/"}});
    Ctrl('D');
    EXPECT_EQ(Heard(), Texts{"Trips is not a file"});
    SelectRow(2);
    Forget();
    Ctrl('D');
    EXPECT_EQ(Heard(), Texts{"gone.txt is not a file"});
    EXPECT_EQ(world().clipboard, "kept");
    EXPECT_EQ(world().clipboardFileDrop, "");
}

// Both copies: nothing is confirmed and nothing changes while another program
// holds the clipboard.
TEST_F(CopyFileTest, AHeldClipboardIsSaidAndTheClipboardKeepsItsText) {
    world().clipboard = "kept";
    Put("results.txt", "Size,Date Modified,Filename\r\n");
    Show({RealFile("data", "a.txt")});
    world().clipboardOpens = {1, true};
    Ctrl('D');
    CtrlShift('C');
    EXPECT_EQ(Heard(), (Texts{"Clipboard Not Available", "Clipboard Not Available"}));
    EXPECT_EQ(world().clipboard, "kept");
    EXPECT_EQ(world().clipboardFileDrop, "");
    world().clipboardOpens = {};
    Ctrl('D'); // let go of: the next copy works
    EXPECT_EQ(Spoken(), "Copying File " + folder + "data/a.txt");
}

// Past the old 520-character buffers the drop still names the very file.
TEST_F(CopyFileTest, ALongPathIsCopiedWhole) {
    std::string deep = "data/" + std::string(200, 'a') + "/" + std::string(200, 'b');
    ActionRow row = RealFile(deep, std::string(200, 'c') + ".txt");
    std::string full = row.path + row.name;
    ASSERT_GT(full.size(), 620u);
    Show({row});
    Ctrl('D');
    EXPECT_EQ(Heard(), Texts{"Copying File " + full});
    EXPECT_EQ(world().clipboardFileDrop, DropOf(Ascii(full)));
    EXPECT_EQ(world().clipboardFileDrop.size(), 20 + 2 * (full.size() + 2));
}

class CopyResultsTest : public ActionsTest {};

TEST_F(CopyResultsTest, TheExportGoesOnTheClipboardAsItLiesOnDisk) {
    // Rows the ignore list hides and the list's own order do not matter: the
    // clipboard gets the engine's export.
    std::string text = "Size,Date Modified,Filename\r\n"
                       "5,01/02/2023 10:00,\"C:\\b\\Zeta.txt\"\r\n"
                       "7,01/02/2023 10:00,\"C:\\a\\link.lnk\"\r\n";
    Put("results.txt", text);
    Settings.UseIgnoreList = 1;
    CtrlShift('C');
    EXPECT_EQ(Heard(), Texts{"Search Results Copied to Clipboard"});
    EXPECT_EQ(world().clipboard, text);
    EXPECT_EQ(Beeps(), 0);
}

TEST_F(CopyResultsTest, AccentedNamesArriveIntactWhateverTheFileEncoding) {
    const std::string wanted = "5,01/02/2023 10:00,\"C:\\Z\xC3\xBCrich\\caf\xC3\xA9.txt\"\r\n";
    Put("results.txt", wanted); // UTF-8
    RunCommand(CmdCopyResults);
    EXPECT_EQ(world().clipboard, wanted);
    Put("results.txt", "5,01/02/2023 10:00,\"C:\\Z\xFCrich\\caf\xE9.txt\"\r\n"); // Windows-1252
    RunCommand(CmdCopyResults);
    EXPECT_EQ(world().clipboard, wanted);
    std::string utf16("\xFF\xFE", 2);
    for (char16_t unit : u"5,01/02/2023 10:00,\"C:\\Z\u00FCrich\\caf\u00E9.txt\"\r\n") {
        if (unit == 0) break;
        utf16 += char(unit & 0xFF);
        utf16 += char(unit >> 8);
    }
    Put("results.txt", utf16);
    RunCommand(CmdCopyResults);
    EXPECT_EQ(world().clipboard, wanted);
}

TEST_F(CopyResultsTest, NoResultFileLeavesTheClipboardAlone) {
    world().clipboard = "kept";
    CtrlShift('C');
    EXPECT_EQ(Heard(), Texts{"Search Results not Found"});
    std::filesystem::create_directories(folder + "results.txt"); // a folder is no file
    Forget();
    CtrlShift('C');
    EXPECT_EQ(Heard(), Texts{"Search Results not Found"});
    EXPECT_EQ(world().clipboard, "kept");
}

// The shortcut lists refill the rows, not the file: the export is still copied.
TEST_F(CopyResultsTest, AHelpListDoesNotChangeWhatIsCopied) {
    Put("results.txt", "Size,Date Modified,Filename\r\n5,01/02/2023 10:00,\"C:\\a\\x.txt\"\r\n");
    Press(VkF1);
    Forget();
    CtrlShift('C');
    EXPECT_EQ(Heard(), Texts{"Search Results Copied to Clipboard"});
    EXPECT_EQ(world().clipboard, Get("results.txt"));
}

// A pasted file drop is read the ordinary way, which drops a final dot or
// blank: "twin.txt." would paste its neighbour "twin.txt".
TEST_F(CopyFileTest, ANameEndingInADotOrBlankIsNeverCopiedAsItsNeighbour) {
    ActionRow dotted = RealFile("data", "twin.txt.");
    ActionRow plain = RealFile("data", "twin.txt");
    world().clipboard = "kept";
    Show({dotted, {"twin.txt ", plain.path}, plain});
    Ctrl('D');
    EXPECT_EQ(Heard(), Texts{"Cannot Copy : A Name In The Path Ends In A Dot Or Blank, Which "
                             "Windows Would Change"});
    EXPECT_EQ(world().clipboardFileDrop, "");
    EXPECT_EQ(world().clipboard, "kept");
    SelectRow(2);
    Forget();
    Ctrl('D');
    EXPECT_EQ(Heard(), Texts{"twin.txt  is not a file"});
    SelectRow(3);
    Forget();
    Ctrl('D');
    EXPECT_EQ(Heard(), Texts{"Copying File " + plain.path + "twin.txt"});
}

// Beside the name itself: a real file ending in a blank, a file in a folder
// whose name ends in a dot, and names the paste keeps as they are.
TEST_F(CopyFileTest, ADotOrBlankEndingAnyNameOnThePathIsRefused) {
    const std::string refusal =
        "Cannot Copy : A Name In The Path Ends In A Dot Or Blank, Which Windows Would Change";
    ActionRow blank = RealFile("data", "twin.txt ");
    ActionRow inDottedFolder = RealFile("odd folder.", "inside.txt");
    ActionRow inBlankFolder = RealFile("odd folder ", "inside.txt");
    ActionRow noExtension = RealFile("data", "README");
    ActionRow dotsInside = RealFile("v1.2", ".profile");
    world().clipboard = "kept";
    Show({blank, inDottedFolder, inBlankFolder, noExtension, dotsInside});
    for (int row = 1; row <= 3; ++row) {
        SelectRow(row);
        Forget();
        Ctrl('D');
        EXPECT_EQ(Heard(), Texts{refusal}) << row;
    }
    EXPECT_EQ(world().clipboardFileDrop, "");
    EXPECT_EQ(world().clipboard, "kept");
    SelectRow(4);
    Forget();
    Ctrl('D');
    EXPECT_EQ(Heard(), Texts{"Copying File " + folder + "data/README"});
    SelectRow(5);
    Forget();
    Ctrl('D');
    EXPECT_EQ(Heard(), Texts{"Copying File " + folder + "v1.2/.profile"});
}
